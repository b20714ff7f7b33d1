#pragma once
// Import/export of skins.dll, the skin reader.
#ifdef ORV_BUILDING_SKINS
#define SKINS_API __declspec(dllexport)
#else
#define SKINS_API __declspec(dllimport)
#endif
