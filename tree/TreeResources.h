#pragma once
// Resource numbers of tree.dll.

// The popup menu over a node; its first sub-menu holds the items.
#define IDR_TREE_POPUP 2000
#define ID_TREE_SEND_EMAIL 32772
#define ID_TREE_ADD_TO_FAVORITES 32773
#define ID_TREE_PATH_FROM 32774
#define ID_TREE_PATH_TO 32775
#define ID_TREE_EDIT_MY_CONTACTS 32776
#define ID_TREE_CHAT 32777
#define ID_TREE_EDIT_PERSONAL_INFO 32778
#define ID_TREE_SEARCH_PATH 32780
#define ID_TREE_VIEW_MAP 32781

// "email: (private)", shown for hidden addresses.
#define IDS_EMAIL_PRIVATE 1001

// Cursors while a node is dragged without the shell's drag image.
#define IDI_DRAG_COPY 2003
#define IDI_DRAG_MOVE 2004
#define IDI_DRAG_NONE 2005
