// Identifiers of the configuration applet's own window.
#pragma once

#define IDD_CONFIGURE 100
#define IDC_MODE_VALUE 1001
#define IDC_ACTION_VALUE 1002
#define IDC_ADAPTER_VALUE 1003
