#pragma once
// Bitmap resources of the notification cloud, in the program's resources.
#define IDB_CLOUD_MARK 189
#define IDB_CLOUD_ONLINE 202
