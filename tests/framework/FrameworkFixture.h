// What the framework tests share: an application object, the test resource module as
// resource handle, a dialog that runs a test's steps from inside its modal loop, and a
// watcher that finds a message box, reads it and closes it.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "Framework/Afx.h"
#include "TestResources.h"

class FrameworkTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;

  CWinApp m_app{"Framework Test"};
  HMODULE m_hResources = nullptr;
};

// Runs its steps once the dialog is up (posted from OnInitDialog, so the modal loop
// runs them, on the dialog shown in front). Exchanges IDC_NAME (at most m_nMaxChars) and the box IDC_BOX.
class ScriptedDialog : public CDialog {
public:
  explicit ScriptedDialog(UINT nIDTemplate = IDD_DATA) : CDialog(nIDTemplate) {}

  std::function<void(ScriptedDialog &)> m_steps;
  CString m_strName;
  int m_nBox = 0;
  int m_nMaxChars = 5;
  bool m_bInitialised = false;

protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange *pDX) override;
  LRESULT OnRunSteps(WPARAM, LPARAM);

  DECLARE_MESSAGE_MAP()
};

// Text of an edit control or any window.
std::string TextOf(HWND hWnd);

struct MessageBoxSeen {
  bool bFound = false;
  std::string title;
  std::string text;
  bool bExclamationIcon = false;
};

// Watches, from a thread of its own, for a message box owned by hWndOwner; reads it
// and closes it with OK. Wait answers what it saw (bFound false after 5 seconds).
class MessageBoxWatcher {
public:
  explicit MessageBoxWatcher(HWND hWndOwner);
  ~MessageBoxWatcher();
  MessageBoxSeen Wait();

private:
  static DWORD WINAPI Watch(LPVOID pParameter);

  HWND m_hWndOwner;
  HANDLE m_hThread = nullptr;
  MessageBoxSeen m_seen;
};
