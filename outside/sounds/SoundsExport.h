#pragma once
// Import/export of sounds.dll, the sound themes and the files of sound events.
#ifdef ORV_BUILDING_SOUNDS
#define SOUNDS_API __declspec(dllexport)
#else
#define SOUNDS_API __declspec(dllimport)
#endif
