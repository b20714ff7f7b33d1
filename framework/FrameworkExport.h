#pragma once
// Import/export of the framework DLL. The framework is one shared library so
// that its process-wide state (window handle map, application object) exists once.
#ifdef ORV_BUILDING_FRAMEWORK
#define FW_API __declspec(dllexport)
#else
#define FW_API __declspec(dllimport)
#endif
