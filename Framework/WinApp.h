// CWinApp: the application object. The program defines exactly one global instance of a
// class derived from it; the framework's WinMain runs it.
#pragma once

#include <windows.h>

#include "CmdTarget.h"
#include "String.h"

class CWnd;

// The title string that names the application when its object is given no name.
const UINT AFX_IDS_APP_TITLE = 0xE000;
// The help command, for an application's map to route to OnHelp.
const UINT ID_HELP = 0xE146;

class CWinApp : public CCmdTarget {
public:
  // With no name, the name is the resource string AFX_IDS_APP_TITLE of the program
  // file or else the program's file name without its extension.
  explicit CWinApp(LPCSTR pszAppName = nullptr);
  ~CWinApp() override;

  // The start sequence: InitApplication, then InitInstance. FALSE from InitApplication
  // ends the run at once; FALSE from InitInstance ends it through ExitInstance; TRUE
  // from both runs the message loop until WM_QUIT, then ExitInstance.
  virtual BOOL InitApplication();
  virtual BOOL InitInstance();
  virtual int ExitInstance();
  // Asks WinHelp for m_pszHelpFilePath about the main window; nothing without a file.
  virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);

  // The help command: the help file's contents.
  void OnHelp();
  // Icon nIDResource of the resource module, at the system's standard size.
  HICON LoadIcon(UINT nIDResource) const;

  LPCSTR m_pszAppName;
  HINSTANCE m_hInstance;
  // The command line after the program name, in a buffer the application may shorten.
  LPSTR m_lpCmdLine;
  int m_nCmdShow;
  // Allocated with malloc: whoever replaces it frees the old one with free.
  LPSTR m_pszHelpFilePath;
  CWnd *m_pMainWnd;

private:
  friend int AfxWinMain(HINSTANCE hInstance, LPCSTR pszCmdLine, int nCmdShow);
  void SetUp(HINSTANCE hInstance, LPCSTR pszCmdLine, int nCmdShow);
  int Run();

  CString m_strAppName;
  CString m_strCmdLine;
  int m_nQuitCode;
};

CWinApp *AfxGetApp();
HINSTANCE AfxGetInstanceHandle();

// The module that dialogs, menus, strings and icons are loaded from: the program file
// until AfxSetResourceHandle names another.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hResource);

// A message box with the application's name as its title, owned by the active window;
// without an icon in nType it shows the exclamation icon. The help context is accepted
// for callers' sake: no help is attached to message boxes.
int AfxMessageBox(LPCSTR pszText, UINT nType = MB_OK, UINT nIDHelp = 0);

// Runs the application object; WinMain is nothing more than a call of this.
int AfxWinMain(HINSTANCE hInstance, LPCSTR pszCmdLine, int nCmdShow);
