// TARNUCSH.DLL for tests: records each CSHInitialize call and its arguments.
#include "CallLog.h"
#include "ContextHelp.h"

#include <string>

extern "C" BOOL WINAPI CSHInitialize(LPCSTR helpFile, int flag) {
  calllog::Append(calllog::kContextHelp, std::string("CSHInitialize|") +
                                             (helpFile ? helpFile : "(null)") + "|" +
                                             std::to_string(flag));
  return TRUE;
}
