#pragma once
// Import/export of tree.dll, the contact-tree control.
#ifdef ORV_BUILDING_TREE
#define TREE_API __declspec(dllexport)
#else
#define TREE_API __declspec(dllimport)
#endif
