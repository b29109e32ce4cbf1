// TARNUCFG.CPL for tests: records each Configure call with its arguments, every POPUP
// broadcast that reaches it while open, and its return. A test can hold it open.
#include "CallLog.h"
#include "Configure.h"

#include <string>

namespace {

const char kWindowClass[] = "TarnuTests.RecordingConfigure";
HINSTANCE g_module;
UINT g_popupMessage;

std::string Text(LPCSTR text) { return text ? text : "(null)"; }

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == g_popupMessage && g_popupMessage != 0) {
    calllog::Append(calllog::kConfigure, "Popup");
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// A hidden top-level window: broadcasts reach those, not message-only windows.
HWND CreateBroadcastWindow() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = g_module;
  windowClass.lpszClassName = kWindowClass;
  RegisterClassA(&windowClass);
  return CreateWindowA(kWindowClass, "Recording Configure", WS_POPUP, 0, 0, 0, 0, NULL, NULL,
                       g_module, NULL);
}

// Runs the caller's messages, as an open applet window would, until the test lets go.
void HoldWhileAsked() {
  HANDLE hold = OpenEventA(SYNCHRONIZE, FALSE, calllog::kConfigureHold);
  if (!hold)
    return;
  HANDLE entered = OpenEventA(EVENT_MODIFY_STATE, FALSE, calllog::kConfigureEntered);
  if (entered) {
    SetEvent(entered);
    CloseHandle(entered);
  }
  while (MsgWaitForMultipleObjects(1, &hold, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  CloseHandle(hold);
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH)
    g_module = module;
  return TRUE;
}

extern "C" LONG WINAPI Configure(LONG mode, CONFIGURE_BLOCK *block, DWORD *pReserved) {
  std::string line = "Configure|" + std::to_string(mode) + "|";
  line += block ? Text(block->pszAdapter) : "(no block)";
  // Parameter and action are set only in the action mode: elsewhere they are not read.
  if (block && mode == CONFIGURE_MODE_ACTION)
    line += "|" + Text(block->pszParameter) + "|" + Text(block->pszAction);
  else
    line += "|-|-";
  line += "|" + (pReserved ? std::to_string(*pReserved) : std::string("(null)"));
  calllog::Append(calllog::kConfigure, line);

  g_popupMessage = RegisterWindowMessageA(CONFIGURE_POPUP_MESSAGE);
  HWND window = CreateBroadcastWindow();
  HoldWhileAsked();
  if (window)
    DestroyWindow(window);
  calllog::Append(calllog::kConfigure, "Returned");
  return 1;
}
