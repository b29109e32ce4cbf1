// Identifiers of the resources in TARNURES.DLL that the tray applet loads by number.
// Shared by the resource script and the applet; plain #defines so windres reads it too.
#pragma once

// Dialog templates.
#define IDD_STATUS 256          // the hidden status window
#define IDD_REMOVE_ICON 258
#define IDD_ADHOC_NETWORK 259
#define IDD_OTHER_NETWORK 260
#define IDD_ADD_PROFILE 261
#define IDD_RENAME_PROFILE 262
#define IDD_DELETE_PROFILE 263

// Controls.
#define IDC_SSID 1024
#define IDC_PROFILE_NAME 1025
#define IDC_REMOVE_AUTOSTART 1026
#define IDC_KEY 1032

// The program icon and the tray menu, whose submenus 0, 1 and 2 are the popup variants.
#define IDR_MAINFRAME 128
#define IDR_TRAY_MENU 129

// State icons: the signal level in bars, the rate tier by colour and mark.
#define IDI_FAST_STRONG 0x200 // 11 or 5 Mbit/s
#define IDI_FAST_FAIR 0x201
#define IDI_FAST_WEAK 0x202
#define IDI_FAST_NONE 0x203
#define IDI_FAST_STRONG_HELD 0x204 // the same while a mouse button is held on the icon
#define IDI_FAST_FAIR_HELD 0x205
#define IDI_FAST_WEAK_HELD 0x206
#define IDI_FAST_NONE_HELD 0x207
#define IDI_WAITING 0x89 // linked, waiting for network access
#define IDI_WAITING_HELD 0x88
#define IDI_2M_STRONG 0x91 // 2 Mbit/s
#define IDI_2M_FAIR 0x92
#define IDI_2M_WEAK 0x93
#define IDI_1M_STRONG 0x94 // 1 Mbit/s
#define IDI_1M_FAIR 0x95
#define IDI_1M_WEAK 0x96
#define IDI_UNKNOWN_RATE_STRONG 0x97 // a rate the driver did not name
#define IDI_UNKNOWN_RATE_FAIR 0x98
#define IDI_NO_LINK 0x99 // radio off or no signal

// Commands of the tray menu.
#define ID_CONFIGURE 0x8000
#define ID_EXIT 0x8001
#define ID_ADHOC_NETWORK 0x8002
#define ID_OTHER_NETWORK 0x8003
#define ID_REMOVE_ICON 0x8004
#define ID_STATUS 0x8005
#define ID_ABOUT 0x8006
#define ID_ADD_PROFILE 0x8007
#define ID_DELETE_PROFILE 0x8008
#define ID_RENAME_PROFILE 0x8009
#define ID_RADIO_ON 0x800A
#define ID_RADIO_OFF 0x800B
#define ID_WEP 0x800E

// Tooltips: formatted with the signal level in percent whenever a level is known, shown
// as they are otherwise. Those that can be chosen without a level hold no conversion.
#define IDS_TIP_NO_CONNECTION 0x4000
#define IDS_TIP_WEAK 0x4001
#define IDS_TIP_GOOD 0x4002
#define IDS_TIP_FAIR 0x4003
#define IDS_TIP_EXCELLENT 0x4004
#define IDS_TIP_RADIO_OFF 0x4039
#define IDS_TIP_WAITING 0x4044

// Window titles for a portrait and a landscape screen.
#define IDS_TITLE_PORTRAIT 0x4005
#define IDS_TITLE_LANDSCAPE 0x4008

// Key validation messages: the first two take one integer each.
#define IDS_KEY_LENGTH_IS 16435
#define IDS_KEY_LENGTH_NEEDED 16436
#define IDS_KEY_NOT_HEX 16437
#define IDS_KEY_NOT_HEX_HINT 16438

// The framework's data-exchange prompt for a text over its limit; %1 is the limit.
#define AFX_IDP_PARSE_STRING_SIZE 61716
