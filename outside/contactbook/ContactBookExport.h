#pragma once
// Import/export of contactbook.dll, the mail clients' address books.
#ifdef ORV_BUILDING_CONTACTBOOK
#define CONTACTBOOK_API __declspec(dllexport)
#else
#define CONTACTBOOK_API __declspec(dllimport)
#endif
