#pragma once
// Import/export of chat.dll.
#ifdef ORV_BUILDING_CHAT
#define CHAT_API __declspec(dllexport)
#else
#define CHAT_API __declspec(dllimport)
#endif
