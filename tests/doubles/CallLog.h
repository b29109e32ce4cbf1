// The call log that the recording doubles of TARNUCSH.DLL and TARNUCFG.CPL write and the
// tests read: one registry value per call under HKCU in the test prefix, so it survives
// the process that made the call.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace calllog {

// Key of one module's log, below HKEY_CURRENT_USER.
const char kRoot[] = "Software\\TARNU Tests\\Calls";
const char kContextHelp[] = "TARNUCSH";
const char kConfigure[] = "TARNUCFG";

// Events the recording Configure looks for. While a test holds kConfigureHold (a
// manual-reset event it created unsignalled), Configure keeps its window open and the
// caller's messages flowing until the test signals it; on entry Configure signals
// kConfigureEntered if a test created it.
const char kConfigureHold[] = "TarnuTests.Configure.Hold";
const char kConfigureEntered[] = "TarnuTests.Configure.Entered";

// Appends one line to a module's log; returns false if the registry refused it.
bool Append(const char *module, const std::string &line);

// The lines of a module's log, oldest first.
std::vector<std::string> Read(const char *module);

// Empties a module's log.
void Clear(const char *module);

} // namespace calllog
