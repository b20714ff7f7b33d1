#pragma once
// Import/export of connect.dll, the server command channel.
#ifdef ORV_BUILDING_CONNECT
#define CONNECT_API __declspec(dllexport)
#else
#define CONNECT_API __declspec(dllimport)
#endif
