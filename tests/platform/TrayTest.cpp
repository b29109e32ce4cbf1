// A window of ours can put an icon into the notification area, change it and take it
// away again, with the first, smallest form of NOTIFYICONDATA.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>
#include <cstring>

#include "TestSupport.h"

namespace {

const UINT kCallbackMessage = WM_USER + 100;

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

class TrayTest : public ::testing::Test {
protected:
  void SetUp() override {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = TestWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "TarnuTrayTest";
    RegisterClassA(&windowClass);
    m_window = CreateWindowA("TarnuTrayTest", "tray test", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                             100, nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_TRUE(m_window != nullptr);
  }
  void TearDown() override { DestroyWindow(m_window); }

  NOTIFYICONDATAA IconData(HICON icon, const char *tip) {
    NOTIFYICONDATAA data;
    memset(&data, 0, sizeof(data));
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = m_window;
    data.uID = 512;
    data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    data.uCallbackMessage = kCallbackMessage;
    data.hIcon = icon;
    lstrcpynA(data.szTip, tip, 64);
    return data;
  }

  HWND m_window = nullptr;
};

} // namespace

TEST_F(TrayTest, IconIsAddedModifiedAndDeleted) {
  HICON first = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  HICON second = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_WARNING));
  NOTIFYICONDATAA data = IconData(first, "Signal 100%");
  ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
  data = IconData(second, "Signal 40%");
  EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &data));
  EXPECT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
  // Once deleted, the icon is gone: changing it fails.
  EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &data));
}
