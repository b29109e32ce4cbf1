// The modules' entry points and version information, and the configuration applet's
// window, run for real under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "Configure.h"
#include "ConfigureDialog.h"
#include "ContextHelp.h"
#include "LoadedModule.h"
#include "TestSupport.h"

namespace {

TEST(ModuleEntryTest, EntriesAreExportedByName) {
  const struct {
    const char *path;
    const char *entry;
  } cases[] = {
      {"TARNUCSH.DLL", CSH_INITIALIZE_ENTRY},
      {"TARNUCFG.CPL", CONFIGURE_ENTRY},
      {"doubles\\recording\\TARNUCSH.DLL", CSH_INITIALIZE_ENTRY},
      {"doubles\\recording\\TARNUCFG.CPL", CONFIGURE_ENTRY},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.path);
    LoadedModule module(c.path);
    ASSERT_TRUE(module.Handle() != NULL);
    EXPECT_TRUE(GetProcAddress(module.Handle(), c.entry) != NULL);
  }
}

std::string VersionString(const std::vector<char> &block, const char *name) {
  char *value = NULL;
  UINT length = 0;
  std::string path = std::string("\\StringFileInfo\\040904E4\\") + name;
  if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void **>(&value), &length) ||
      !value)
    return "";
  return value;
}

TEST(ModuleEntryTest, EveryModuleCarriesItsVersionInformation) {
  for (const char *fileName : {"TARNURES.DLL", "TARNUCSH.DLL", "TARNUCFG.CPL"}) {
    SCOPED_TRACE(fileName);
    std::string path = testsupport::PathBesideProgram(fileName);
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    ASSERT_NE(0u, size);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO *fixed = NULL;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void **>(&fixed), &length));
    EXPECT_EQ(VS_FFI_SIGNATURE, fixed->dwSignature);
    EXPECT_EQ(static_cast<DWORD>(VFT_DLL), fixed->dwFileType);
    EXPECT_NE(0u, fixed->dwFileVersionMS | fixed->dwFileVersionLS);
    EXPECT_EQ(fileName, VersionString(block, "OriginalFilename"));
    EXPECT_FALSE(VersionString(block, "FileDescription").empty());
    EXPECT_FALSE(VersionString(block, "FileVersion").empty());
    EXPECT_FALSE(VersionString(block, "ProductName").empty());
  }
}

TEST(ContextHelpTest, TakesAUsableHelpFileOnly) {
  LoadedModule module("TARNUCSH.DLL");
  CSHINITIALIZEPROC initialize = module.Entry<CSHINITIALIZEPROC>(CSH_INITIALIZE_ENTRY);
  ASSERT_TRUE(initialize != NULL);
  const std::string tooLong(MAX_PATH, 'h');
  const struct {
    const char *helpFile;
    BOOL taken;
  } cases[] = {
      {"TARNUSTA.hlp", TRUE},
      {"C:\\Program Files\\TARNU\\TARNUSTA.hlp", TRUE},
      {"", FALSE},
      {NULL, FALSE},
      {tooLong.c_str(), FALSE},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.helpFile ? c.helpFile : "(null)");
    EXPECT_EQ(c.taken, initialize(c.helpFile, 1));
  }
}

// ---------------------------------------------------------------------------------------
// The configuration applet's window. Its modal loop runs on this thread, so the test's
// script runs from a thread timer that the loop dispatches.

struct WindowScript {
  HWND otherWindow = NULL;
  HWND dialog = NULL;
  std::string mode, action, adapter;
  bool otherWasInFront = false;
  bool cameToFront = false;
  int ticks = 0;
};
WindowScript *g_script;

BOOL CALLBACK FindConfigureWindow(HWND window, LPARAM found) {
  char caption[128] = "";
  GetWindowTextA(window, caption, sizeof caption);
  if (IsWindowVisible(window) && GetDlgItem(window, IDC_MODE_VALUE)) {
    *reinterpret_cast<HWND *>(found) = window;
    return FALSE;
  }
  return TRUE;
}

std::string ItemText(HWND dialog, int id) {
  char text[256] = "";
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

VOID CALLBACK RunScript(HWND, UINT, UINT_PTR, DWORD) {
  WindowScript &script = *g_script;
  if (++script.ticks > 100) { // five seconds without the window: give up
    PostQuitMessage(1);
    return;
  }
  if (!script.dialog) {
    EnumThreadWindows(GetCurrentThreadId(), FindConfigureWindow,
                      reinterpret_cast<LPARAM>(&script.dialog));
    if (!script.dialog)
      return;
    script.mode = ItemText(script.dialog, IDC_MODE_VALUE);
    script.action = ItemText(script.dialog, IDC_ACTION_VALUE);
    script.adapter = ItemText(script.dialog, IDC_ADAPTER_VALUE);
    SetForegroundWindow(script.otherWindow);
    script.otherWasInFront = GetForegroundWindow() == script.otherWindow;
    DWORD_PTR ignored;
    SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA(CONFIGURE_POPUP_MESSAGE), 0, 0,
                        SMTO_ABORTIFHUNG, 500, &ignored);
    script.cameToFront = GetForegroundWindow() == script.dialog;
    PostMessageA(script.dialog, WM_COMMAND, IDOK, 0);
  }
}

TEST(ConfigureTest, WindowNamesItsRequestComesForwardAndReturnsWhenClosed) {
  LoadedModule module("TARNUCFG.CPL");
  CONFIGUREPROC configure = module.Entry<CONFIGUREPROC>(CONFIGURE_ENTRY);
  ASSERT_TRUE(configure != NULL);
  // In the plain mode the applet leaves parameter and action unset: never to be read.
  const LPCSTR unset = reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(0x1));
  CONFIGURE_BLOCK about = {"Wireless LAN & PCI Card", "", "ABOUT"};
  CONFIGURE_BLOCK plain = {"", unset, unset};
  const struct {
    LONG mode;
    CONFIGURE_BLOCK *block;
    const char *mode_text, *action, *adapter;
  } cases[] = {
      {CONFIGURE_MODE_ACTION, &about, "3 (action)", "ABOUT", "Wireless LAN & PCI Card"},
      {CONFIGURE_MODE_PLAIN, &plain, "1 (as last used)", "none", "first adapter"},
      {CONFIGURE_MODE_ACTION, NULL, "3 (action)", "none", "first adapter"},
  };
  HWND other = CreateWindowA("STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, NULL, NULL,
                             NULL, NULL);
  for (const auto &c : cases) {
    SCOPED_TRACE(c.mode_text);
    WindowScript script;
    script.otherWindow = other;
    g_script = &script;
    UINT_PTR timer = SetTimer(NULL, 0, 50, RunScript);
    DWORD reserved = 0;
    LONG result = configure(c.mode, c.block, &reserved);
    KillTimer(NULL, timer);
    g_script = NULL;
    ASSERT_TRUE(script.dialog != NULL) << "no window appeared";
    EXPECT_EQ(1, result);
    EXPECT_FALSE(IsWindow(script.dialog)) << "returned before its window closed";
    EXPECT_EQ(c.mode_text, script.mode);
    EXPECT_EQ(c.action, script.action);
    EXPECT_EQ(c.adapter, script.adapter);
    EXPECT_TRUE(script.otherWasInFront);
    EXPECT_TRUE(script.cameToFront);
    EXPECT_EQ(0u, reserved);
  }
  DestroyWindow(other);
}

} // namespace
