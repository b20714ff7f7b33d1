#pragma once
// Import/export of OrvCtrls.dll: the search and path controls, their result
// lists, the message panel and the toolbar.
#ifdef ORV_BUILDING_ORVCTRLS
#define ORVCTRLS_API __declspec(dllexport)
#else
#define ORVCTRLS_API __declspec(dllimport)
#endif
