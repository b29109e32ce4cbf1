#include "FrameworkFixture.h"

#include <cstring>

#include "TestSupport.h"

namespace {
const UINT WM_RUN_STEPS = WM_APP + 1;
// Identifiers that Wine's message box template gives its icon and its text.
const int kMessageBoxIconId = 0x0440;
const int kMessageBoxTextId = 0xFFFF;
} // namespace

void FrameworkTest::SetUp() {
  m_hResources = LoadLibraryA(testsupport::PathBesideProgram("framework_test_res.dll").c_str());
  ASSERT_TRUE(m_hResources != nullptr);
  AfxSetResourceHandle(m_hResources);
}

void FrameworkTest::TearDown() {
  AfxSetResourceHandle(nullptr);
  if (m_hResources != nullptr)
    FreeLibrary(m_hResources);
  EXPECT_TRUE(testsupport::HeapsAreValid());
}

BEGIN_MESSAGE_MAP(ScriptedDialog, CDialog)
ON_MESSAGE(WM_RUN_STEPS, OnRunSteps)
END_MESSAGE_MAP()

BOOL ScriptedDialog::OnInitDialog() {
  m_bInitialised = true;
  BOOL bResult = CDialog::OnInitDialog();
  PostMessage(WM_RUN_STEPS);
  return bResult;
}

void ScriptedDialog::DoDataExchange(CDataExchange *pDX) {
  DDX_Text(pDX, IDC_NAME, m_strName);
  DDV_MaxChars(pDX, m_strName, m_nMaxChars);
  DDX_Check(pDX, IDC_BOX, m_nBox);
}

LRESULT ScriptedDialog::OnRunSteps(WPARAM, LPARAM) {
  // The dialog manager shows the dialog only once its queue is empty; the steps act as
  // a user would, on a dialog in front of them.
  ShowWindow(SW_SHOW);
  if (m_steps)
    m_steps(*this);
  return 0;
}

std::string TextOf(HWND hWnd) {
  char text[512] = "";
  GetWindowTextA(hWnd, text, sizeof(text));
  return text;
}

MessageBoxWatcher::MessageBoxWatcher(HWND hWndOwner) : m_hWndOwner(hWndOwner) {
  m_hThread = CreateThread(nullptr, 0, Watch, this, 0, nullptr);
}

MessageBoxWatcher::~MessageBoxWatcher() { Wait(); }

MessageBoxSeen MessageBoxWatcher::Wait() {
  if (m_hThread != nullptr) {
    WaitForSingleObject(m_hThread, INFINITE);
    CloseHandle(m_hThread);
    m_hThread = nullptr;
  }
  return m_seen;
}

DWORD WINAPI MessageBoxWatcher::Watch(LPVOID pParameter) {
  MessageBoxWatcher *pWatcher = static_cast<MessageBoxWatcher *>(pParameter);
  DWORD threadId = GetWindowThreadProcessId(pWatcher->m_hWndOwner, nullptr);
  for (int attempt = 0; attempt < 250; ++attempt) {
    struct Search {
      HWND hWndOwner;
      HWND hWndBox;
    } search = {pWatcher->m_hWndOwner, nullptr};
    EnumThreadWindows(
        threadId,
        [](HWND hWnd, LPARAM lParam) -> BOOL {
          Search *pSearch = reinterpret_cast<Search *>(lParam);
          char className[32] = "";
          GetClassNameA(hWnd, className, sizeof(className));
          if (strcmp(className, "#32770") == 0 && IsWindowVisible(hWnd) &&
              GetWindow(hWnd, GW_OWNER) == pSearch->hWndOwner) {
            pSearch->hWndBox = hWnd;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (search.hWndBox != nullptr) {
      MessageBoxSeen &seen = pWatcher->m_seen;
      seen.bFound = true;
      seen.title = TextOf(search.hWndBox);
      seen.text = TextOf(GetDlgItem(search.hWndBox, kMessageBoxTextId));
      HICON hIcon = reinterpret_cast<HICON>(
          SendDlgItemMessageA(search.hWndBox, kMessageBoxIconId, STM_GETICON, 0, 0));
      seen.bExclamationIcon =
          hIcon != nullptr && hIcon == LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_EXCLAMATION));
      PostMessageA(search.hWndBox, WM_COMMAND, IDOK, 0);
      return 0;
    }
    Sleep(20);
  }
  return 0;
}
