#pragma once
// Import/export of controls.dll, the skinned control library.
#ifdef ORV_BUILDING_CONTROLS
#define CTL_API __declspec(dllexport)
#else
#define CTL_API __declspec(dllimport)
#endif
