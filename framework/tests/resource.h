#pragma once
// Resources of the framework's window tests.
#define IDD_TEST_DIALOG 101
#define IDB_TEST_BITMAP 201
#define IDC_TEST_EDIT 1001
