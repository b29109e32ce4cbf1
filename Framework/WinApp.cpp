#include "WinApp.h"

#include <cstdlib>

#include "Wnd.h"

static CWinApp *g_pApp;
static HINSTANCE g_hResource;

CWinApp::CWinApp(LPCSTR pszAppName)
    : m_pszAppName(nullptr), m_hInstance(nullptr), m_lpCmdLine(nullptr), m_nCmdShow(0),
      m_pszHelpFilePath(nullptr), m_pMainWnd(nullptr), m_nQuitCode(0) {
  if (pszAppName != nullptr) {
    m_strAppName = pszAppName;
    m_pszAppName = m_strAppName;
  }
  g_pApp = this;
}

CWinApp::~CWinApp() {
  free(m_pszHelpFilePath);
  if (g_pApp == this)
    g_pApp = nullptr;
}

BOOL CWinApp::InitApplication() { return TRUE; }

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return m_nQuitCode; }

void CWinApp::WinHelp(DWORD_PTR dwData, UINT nCmd) {
  if (m_pszHelpFilePath == nullptr)
    return;
  HWND hWndMain = m_pMainWnd != nullptr ? m_pMainWnd->GetSafeHwnd() : nullptr;
  ::WinHelpA(hWndMain, m_pszHelpFilePath, nCmd, dwData);
}

void CWinApp::OnHelp() { WinHelp(0, HELP_FINDER); }

HICON CWinApp::LoadIcon(UINT nIDResource) const {
  return ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
}

void CWinApp::SetUp(HINSTANCE hInstance, LPCSTR pszCmdLine, int nCmdShow) {
  m_hInstance = hInstance;
  m_nCmdShow = nCmdShow;
  m_strCmdLine = pszCmdLine;
  m_lpCmdLine = m_strCmdLine.GetBuffer(m_strCmdLine.GetLength());
  if (m_pszAppName != nullptr)
    return;
  if (!m_strAppName.LoadString(AFX_IDS_APP_TITLE)) {
    char szPath[MAX_PATH];
    DWORD nLength = GetModuleFileNameA(hInstance, szPath, MAX_PATH);
    szPath[nLength < MAX_PATH ? nLength : MAX_PATH - 1] = '\0';
    LPSTR pszName = szPath;
    for (LPSTR p = szPath; *p != '\0'; p = CharNextA(p)) {
      if (*p == '\\' || *p == '/' || *p == ':')
        pszName = p + 1;
    }
    LPSTR pszDot = nullptr;
    for (LPSTR p = pszName; *p != '\0'; p = CharNextA(p)) {
      if (*p == '.')
        pszDot = p;
    }
    if (pszDot != nullptr)
      *pszDot = '\0';
    m_strAppName = pszName;
  }
  m_pszAppName = m_strAppName;
}

int CWinApp::Run() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (msg.message == WM_QUIT)
    m_nQuitCode = static_cast<int>(msg.wParam);
  return ExitInstance();
}

CWinApp *AfxGetApp() { return g_pApp; }

HINSTANCE AfxGetInstanceHandle() {
  return g_pApp != nullptr && g_pApp->m_hInstance != nullptr ? g_pApp->m_hInstance
                                                             : GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle() {
  return g_hResource != nullptr ? g_hResource : GetModuleHandleA(nullptr);
}

void AfxSetResourceHandle(HINSTANCE hResource) { g_hResource = hResource; }

int AfxMessageBox(LPCSTR pszText, UINT nType, UINT) {
  if ((nType & MB_ICONMASK) == 0)
    nType |= MB_ICONEXCLAMATION;
  LPCSTR pszTitle = g_pApp != nullptr ? g_pApp->m_pszAppName : nullptr;
  return MessageBoxA(GetActiveWindow(), pszText, pszTitle, nType);
}

int AfxWinMain(HINSTANCE hInstance, LPCSTR pszCmdLine, int nCmdShow) {
  CWinApp *pApp = g_pApp;
  if (pApp == nullptr)
    return -1;
  pApp->SetUp(hInstance, pszCmdLine != nullptr ? pszCmdLine : "", nCmdShow);
  // Declining to start is no failure: a second copy that only forwards its request.
  if (!pApp->InitApplication())
    return 0;
  if (!pApp->InitInstance())
    return pApp->ExitInstance();
  return pApp->Run();
}

// Here rather than in a file of its own: a program that links the application object
// from this library then links its entry point too.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR pszCmdLine, int nCmdShow) {
  return AfxWinMain(hInstance, pszCmdLine, nCmdShow);
}

// A GUI program has no console for the C++ runtime's verbose report of an uncaught
// exception. Ending with a plain abort instead keeps that report and the name
// demangler it needs (most of the runtime's size in the program) out of the program.
namespace __gnu_cxx {
void __verbose_terminate_handler() { abort(); }
} // namespace __gnu_cxx
