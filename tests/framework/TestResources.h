// Identifiers of the test resource module and of the test program's own resources.
#pragma once

#define IDD_DATA 100
#define IDD_BROKEN 101
#define IDD_NAME_ONLY 102
#define IDD_MISSING 199
#define IDC_NAME 1024
#define IDC_BOX 1026
#define IDM_TRAY 200
#define ID_FIRST 300
#define ID_SECOND 301
#define IDS_WHERE 500
#define IDS_MISSING 501
#define IDI_TEST 600
