#pragma once
// Import/export of locale.dll, the texts of the user interface by key.
#ifdef ORV_BUILDING_LOCALE
#define LOCALE_API __declspec(dllexport)
#else
#define LOCALE_API __declspec(dllimport)
#endif
