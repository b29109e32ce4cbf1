// Entry of the context-help module TARNUCSH.DLL, as the tray applet binds it by name.
#pragma once

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// "CSHInitialize": hands the module the help file that later help requests refer to.
// helpFile is a zero-terminated ANSI path (a bare file name is fine); flag is 1 from the
// applet. Returns TRUE when the help file was taken; the applet ignores the result.
// __stdcall, exported without decoration on i686.
typedef BOOL(WINAPI *CSHINITIALIZEPROC)(LPCSTR helpFile, int flag);

#define CSH_INITIALIZE_ENTRY "CSHInitialize"

#ifdef __cplusplus
}
#endif
