#pragma once
// String ids of the string tests, in the program and in the resource module.
#define IDS_WHERE_FROM 300
#define IDS_LONG_TEXT 301
#define IDS_NOWHERE 399
