#pragma once
// Menu resources of controls_menu_tests (MenuTests.rc).

// A main menu shaped like the program's own.
#define IDM_TEST_MAIN 141
#define ID_FILE_OPEN 32800
#define ID_FILE_SAVE 32801
#define ID_FILE_EXIT 32802
#define ID_EDIT_CUT 32810
#define ID_EDIT_COPY 32811
#define ID_EDIT_PASTE 32812
#define ID_INSERT_PICTURE 32813
#define ID_INSERT_TABLE 32814
#define ID_INSERT_LINK 32815
#define ID_VIEW_STATUSBAR 32820
#define ID_VIEW_TOOLBAR 32821
#define ID_TOOLS_STARTUP 32807
#define ID_TOOLS_MOTD 32818
#define ID_HELP_ABOUT 32830

// The contact-tree's popup menu.
#define IDM_TEST_POPUP 2000
#define ID_NAV_CHAT 32777
#define ID_NAV_SEARCHPATH 32780
#define ID_NAV_MAP 32781
#define ID_NAV_EMAIL 32772
#define ID_NAV_FAVORITES 32773
#define ID_NAV_PATHFROM 32774
#define ID_NAV_PATHTO 32775

// A popup resource whose first sub-menu is empty, and one without sub-menus.
#define IDM_TEST_EMPTY_POPUP 2001
#define IDM_TEST_FLAT 2002
#define ID_FLAT_ONE 40001
