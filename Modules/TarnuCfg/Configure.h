// Entry of the configuration applet TARNUCFG.CPL, as the tray applet binds it by name.
#pragma once

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// Mode values of "Configure".
#define CONFIGURE_MODE_PLAIN 1  // open as the user left it; parameter and action unset
#define CONFIGURE_MODE_ACTION 3 // open for the action word in the parameter block

// The parameter block: three zero-terminated ANSI strings, in this order. The applet
// always sets pszAdapter; pszParameter and pszAction only in CONFIGURE_MODE_ACTION, so
// in any other mode they are not to be read.
typedef struct CONFIGURE_BLOCK {
  LPCSTR pszAdapter;   // adapter description filter; empty means the first adapter
  LPCSTR pszParameter; // argument of the action; empty for every action the applet asks
  LPCSTR pszAction;    // "INSTALL", "CONFIGURE", "STATUS", "ABOUT" or "WEP"
} CONFIGURE_BLOCK;

// "Configure": shows the configuration applet on the calling thread and returns when it
// has closed. pReserved points to a 32-bit word holding 0; it is neither read nor written.
// Returns 1 when the window was shown and closed, 0 when it could not be shown.
// __stdcall, exported without decoration on i686.
typedef LONG(WINAPI *CONFIGUREPROC)(LONG mode, CONFIGURE_BLOCK *block, DWORD *pReserved);

#define CONFIGURE_ENTRY "Configure"

// Broadcast (both parameters 0) by a caller that wants the open applet in front.
#define CONFIGURE_POPUP_MESSAGE "TARNUCFG.CPL POPUP"

#ifdef __cplusplus
}
#endif
