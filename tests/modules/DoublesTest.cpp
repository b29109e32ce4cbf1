// The recording doubles of TARNUCSH.DLL and TARNUCFG.CPL: what later tests of the applet
// read from their call log, and the configuration double held open by a test.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "CallLog.h"
#include "Configure.h"
#include "ContextHelp.h"
#include "LoadedModule.h"

namespace {

using Lines = std::vector<std::string>;

class DoublesTest : public ::testing::Test {
protected:
  void SetUp() override {
    calllog::Clear(calllog::kContextHelp);
    calllog::Clear(calllog::kConfigure);
  }
  void TearDown() override { SetUp(); }

  LoadedModule m_contextHelp{"doubles\\recording\\TARNUCSH.DLL"};
  LoadedModule m_configure{"doubles\\recording\\TARNUCFG.CPL"};
};

TEST_F(DoublesTest, ContextHelpRecordsEachCall) {
  CSHINITIALIZEPROC initialize = m_contextHelp.Entry<CSHINITIALIZEPROC>(CSH_INITIALIZE_ENTRY);
  ASSERT_TRUE(initialize != NULL);
  initialize("TARNUSTA.hlp", 1);
  initialize(NULL, 0);
  EXPECT_EQ((Lines{"CSHInitialize|TARNUSTA.hlp|1", "CSHInitialize|(null)|0"}),
            calllog::Read(calllog::kContextHelp));
}

TEST_F(DoublesTest, ConfigureRecordsEachCallAndReturnsAtOnceUnlessHeld) {
  CONFIGUREPROC configure = m_configure.Entry<CONFIGUREPROC>(CONFIGURE_ENTRY);
  ASSERT_TRUE(configure != NULL);
  const LPCSTR unset = reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(0x1));
  CONFIGURE_BLOCK install = {"PCI Card", "", "INSTALL"};
  CONFIGURE_BLOCK plain = {"", unset, unset};
  DWORD reserved = 0;
  EXPECT_EQ(1, configure(CONFIGURE_MODE_ACTION, &install, &reserved));
  EXPECT_EQ(1, configure(CONFIGURE_MODE_PLAIN, &plain, &reserved));
  EXPECT_EQ((Lines{"Configure|3|PCI Card||INSTALL|0", "Returned", "Configure|1||-|-|0",
                   "Returned"}),
            calllog::Read(calllog::kConfigure));
}

struct HeldCall {
  HANDLE hold;
  HANDLE entered;
  Lines seenWhileOpen;
};

// Timer ticks of the calling thread, counted while Configure holds it.
volatile LONG g_callerTicks;
VOID CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { InterlockedIncrement(&g_callerTicks); }

DWORD WINAPI PopUpThenRelease(LPVOID parameter) {
  HeldCall &call = *static_cast<HeldCall *>(parameter);
  if (WaitForSingleObject(call.entered, 5000) == WAIT_OBJECT_0) {
    DWORD_PTR ignored;
    SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA(CONFIGURE_POPUP_MESSAGE), 0, 0,
                        SMTO_ABORTIFHUNG, 500, &ignored);
    call.seenWhileOpen = calllog::Read(calllog::kConfigure);
    for (int waited = 0; g_callerTicks < 3 && waited < 5000; waited += 10)
      Sleep(10);
  }
  SetEvent(call.hold);
  return 0;
}

TEST_F(DoublesTest, HeldConfigureKeepsTheCallersMessagesFlowingUntilReleased) {
  CONFIGUREPROC configure = m_configure.Entry<CONFIGUREPROC>(CONFIGURE_ENTRY);
  ASSERT_TRUE(configure != NULL);
  HeldCall call = {CreateEventA(NULL, TRUE, FALSE, calllog::kConfigureHold),
                   CreateEventA(NULL, TRUE, FALSE, calllog::kConfigureEntered), {}};
  HANDLE releaser = CreateThread(NULL, 0, PopUpThenRelease, &call, 0, NULL);
  g_callerTicks = 0;
  UINT_PTR timer = SetTimer(NULL, 0, 10, CountTick);
  CONFIGURE_BLOCK status = {"", "", "STATUS"};
  DWORD reserved = 0;
  EXPECT_EQ(1, configure(CONFIGURE_MODE_ACTION, &status, &reserved));
  KillTimer(NULL, timer);
  WaitForSingleObject(releaser, 5000);
  CloseHandle(releaser);
  CloseHandle(call.hold);
  CloseHandle(call.entered);

  EXPECT_GE(g_callerTicks, 3);
  EXPECT_EQ((Lines{"Configure|3|||STATUS|0", "Popup"}), call.seenWhileOpen);
  EXPECT_EQ((Lines{"Configure|3|||STATUS|0", "Popup", "Returned"}),
            calllog::Read(calllog::kConfigure));
}

} // namespace
