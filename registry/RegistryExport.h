#pragma once
// Import/export of registry.dll, the settings store.
#ifdef ORV_BUILDING_REGISTRY
#define ORVREG_API __declspec(dllexport)
#else
#define ORVREG_API __declspec(dllimport)
#endif
