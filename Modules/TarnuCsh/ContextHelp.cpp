// The context-help module: it keeps the help file named by the applet so that help
// requests for its windows can be resolved against it.
#include "ContextHelp.h"

#include <string.h>

namespace {

// The longest path the ANSI file functions accept.
char g_helpFile[MAX_PATH];

} // namespace

extern "C" BOOL WINAPI CSHInitialize(LPCSTR helpFile, int /*flag*/) {
  // A name that does not fit is refused rather than cut, so no other file is meant.
  if (helpFile == NULL || helpFile[0] == '\0' || strlen(helpFile) >= sizeof g_helpFile)
    return FALSE;
  strcpy(g_helpFile, helpFile);
  return TRUE;
}
