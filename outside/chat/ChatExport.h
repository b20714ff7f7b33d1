#pragma once
// Import/export of chat.dll. The engine's protocol core (chat_core, a
// static library in chat.dll and in its tests) is compiled with
// ORV_CHAT_CORE: it refers to the exported classes without dllimport, so
// the references are resolved inside chat.dll there and through chat.dll's
// import library in the tests.
#if defined(ORV_CHAT_CORE)
#define CHAT_API
#elif defined(ORV_BUILDING_CHAT)
#define CHAT_API __declspec(dllexport)
#else
#define CHAT_API __declspec(dllimport)
#endif
