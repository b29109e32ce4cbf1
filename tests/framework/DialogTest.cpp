// Modal dialogs from templates of the resource module, with data exchange both ways,
// validation that keeps the dialog open, and message maps.
#include "FrameworkFixture.h"

namespace {

using DialogTest = FrameworkTest;

TEST_F(DialogTest, LoadsMembersIntoControlsAndSavesThemBackOnOk) {
  // Every state of a three-state box goes both ways.
  for (int nBox = 0; nBox <= 2; ++nBox) {
    SCOPED_TRACE(nBox);
    ScriptedDialog dialog;
    dialog.m_strName = "abc";
    dialog.m_nBox = nBox;
    std::string shownName;
    LRESULT shownBox = -1, limit = 0;
    dialog.m_steps = [&](ScriptedDialog &dlg) {
      shownName = TextOf(dlg.GetDlgItem(IDC_NAME));
      shownBox = SendDlgItemMessageA(dlg, IDC_BOX, BM_GETCHECK, 0, 0);
      limit = SendDlgItemMessageA(dlg, IDC_NAME, EM_GETLIMITTEXT, 0, 0);
      SetDlgItemTextA(dlg, IDC_NAME, "xy");
      SendDlgItemMessageA(dlg, IDC_BOX, BM_SETCHECK, (nBox + 1) % 3, 0);
      dlg.PostMessage(WM_COMMAND, IDOK);
    };
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ("abc", shownName);
    EXPECT_EQ(nBox, shownBox);
    EXPECT_EQ(5, limit); // DDV_MaxChars limits the field when loading
    EXPECT_STREQ("xy", dialog.m_strName);
    EXPECT_EQ((nBox + 1) % 3, dialog.m_nBox);
    EXPECT_TRUE(dialog.m_hWnd == nullptr);
  }
}

TEST_F(DialogTest, CancelLeavesTheMembersAlone) {
  ScriptedDialog dialog;
  dialog.m_strName = "abc";
  dialog.m_steps = [](ScriptedDialog &dlg) {
    SetDlgItemTextA(dlg, IDC_NAME, "changed");
    dlg.PostMessage(WM_COMMAND, IDCANCEL);
  };
  EXPECT_EQ(IDCANCEL, dialog.DoModal());
  EXPECT_STREQ("abc", dialog.m_strName);
}

TEST_F(DialogTest, FailedValidationKeepsTheDialogOpenWithTheFieldSelected) {
  ScriptedDialog dialog;
  MessageBoxSeen seen;
  int nFocusId = 0;
  DWORD selStart = 99, selEnd = 99;
  BOOL bStillOpen = FALSE;
  dialog.m_steps = [&](ScriptedDialog &dlg) {
    // Text set directly passes the field's limit, as a paste past it would.
    SetDlgItemTextA(dlg, IDC_NAME, "abcdefgh");
    SendDlgItemMessageA(dlg, IDC_BOX, BM_SETCHECK, BST_CHECKED, 0);
    SetFocus(dlg.GetDlgItem(IDOK));
    MessageBoxWatcher watcher(dlg);
    dlg.SendMessage(WM_COMMAND, IDOK);
    seen = watcher.Wait();
    nFocusId = GetDlgCtrlID(GetFocus());
    SendDlgItemMessageA(dlg, IDC_NAME, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart),
                        reinterpret_cast<LPARAM>(&selEnd));
    bStillOpen = IsWindow(dlg) && IsWindowVisible(dlg);
    dlg.PostMessage(WM_COMMAND, IDCANCEL);
  };
  EXPECT_EQ(IDCANCEL, dialog.DoModal());
  ASSERT_TRUE(seen.bFound);
  EXPECT_EQ("Enter no more than 5 characters.", seen.text);
  EXPECT_EQ("Framework Test", seen.title);
  EXPECT_TRUE(seen.bExclamationIcon);
  EXPECT_TRUE(bStillOpen);
  EXPECT_EQ(IDC_NAME, nFocusId);
  EXPECT_EQ(0u, selStart);
  EXPECT_EQ(8u, selEnd);
  // The exchange stopped at the failure: the box after the name was not saved.
  EXPECT_EQ(0, dialog.m_nBox);
}

TEST_F(DialogTest, ExchangeWithAMissingControlDoesNotEndTheDialog) {
  ScriptedDialog dialog(IDD_NAME_ONLY);
  BOOL bOpenAfterOk = FALSE;
  dialog.m_steps = [&](ScriptedDialog &dlg) {
    SetDlgItemTextA(dlg, IDC_NAME, "xy");
    dlg.SendMessage(WM_COMMAND, IDOK);
    bOpenAfterOk = IsWindow(dlg);
    dlg.PostMessage(WM_COMMAND, IDCANCEL);
  };
  EXPECT_EQ(IDCANCEL, dialog.DoModal());
  EXPECT_TRUE(bOpenAfterOk);
}

TEST_F(DialogTest, TemplateThatCannotBeUsedGivesMinusOne) {
  static const struct {
    const char *what;
    UINT nIDTemplate;
  } cases[] = {
      {"missing template", IDD_MISSING},
      {"control of an unknown class", IDD_BROKEN},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    ScriptedDialog dialog(c.nIDTemplate);
    EXPECT_EQ(-1, dialog.DoModal());
    EXPECT_FALSE(dialog.m_bInitialised && c.nIDTemplate == IDD_MISSING);
    EXPECT_TRUE(dialog.m_hWnd == nullptr);
  }
}

// A dialog that records which of its map's rows ran; its timer ends it.
UINT g_nRegisteredMessage;
const UINT WM_PRIVATE = WM_APP + 7;
const UINT ID_MAPPED = 555;

class MappedDialog : public ScriptedDialog {
public:
  std::string m_log;

protected:
  void OnTimer(UINT_PTR nIDEvent) {
    m_log += "timer " + std::to_string(nIDEvent) + ";";
    KillTimer(nIDEvent);
    CDialog::OnTimer(nIDEvent);
    PostMessage(WM_COMMAND, IDOK);
  }
  void OnActivate(UINT nState, CWnd *pWndOther, BOOL bMinimized) {
    if (nState != WA_INACTIVE && m_log.find("activate;") == std::string::npos)
      m_log += "activate;";
    CDialog::OnActivate(nState, pWndOther, bMinimized);
  }
  void OnShowWindow(BOOL bShow, UINT nStatus) {
    CDialog::OnShowWindow(bShow, nStatus);
    if (bShow)
      m_log += "show;";
  }
  LRESULT OnRegistered(WPARAM wParam, LPARAM) {
    m_log += "registered;";
    return static_cast<LRESULT>(wParam) + 1;
  }
  LRESULT OnPrivate(WPARAM, LPARAM lParam) {
    m_log += "private;";
    return lParam * 2;
  }
  void OnMapped() { m_log += "command;"; }

  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MappedDialog, ScriptedDialog)
ON_WM_TIMER()
ON_WM_ACTIVATE()
ON_WM_SHOWWINDOW()
ON_REGISTERED_MESSAGE(g_nRegisteredMessage, OnRegistered)
ON_MESSAGE(WM_PRIVATE, OnPrivate)
ON_COMMAND(ID_MAPPED, OnMapped)
END_MESSAGE_MAP()

// Commands that no window handles reach the application's map: help goes to OnHelp.
class HelpApp : public CWinApp {
public:
  HelpApp() : CWinApp("Help App") {}
  void WinHelp(DWORD_PTR dwData, UINT nCmd) override {
    m_log += std::to_string(dwData) + "," + std::to_string(nCmd) + ";";
  }
  std::string m_log;

  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(HelpApp, CWinApp)
ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

TEST_F(DialogTest, MessageMapRowsRunTheirHandlersAndTheRestGetsDefaultProcessing) {
  HelpApp app;
  g_nRegisteredMessage = RegisterWindowMessageA("Tarnu framework test message");
  MappedDialog dialog;
  LRESULT registeredResult = 0, privateResult = 0;
  std::string title;
  dialog.m_steps = [&](ScriptedDialog &) {
    registeredResult = dialog.SendMessage(g_nRegisteredMessage, 41);
    privateResult = dialog.SendMessage(WM_PRIVATE, 0, 21);
    dialog.SendMessage(WM_COMMAND, ID_MAPPED);
    dialog.SendMessage(WM_COMMAND, ID_HELP);
    // A control's notification with the same identifier is no command.
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(ID_MAPPED, EN_CHANGE));
    title = TextOf(dialog);
    dialog.SetTimer(0x1234, 10);
  };
  EXPECT_EQ(IDOK, dialog.DoModal());
  EXPECT_EQ(42, registeredResult);
  EXPECT_EQ(42, privateResult);
  EXPECT_EQ("Data", title);
  EXPECT_EQ("0," + std::to_string(HELP_FINDER) + ";", app.m_log);
  EXPECT_NE(std::string::npos, dialog.m_log.find("show;"));
  EXPECT_NE(std::string::npos, dialog.m_log.find("activate;"));
  EXPECT_NE(std::string::npos, dialog.m_log.find("registered;private;command;")) << dialog.m_log;
  EXPECT_NE(std::string::npos, dialog.m_log.find("timer " + std::to_string(0x1234) + ";"))
      << dialog.m_log;
}

} // namespace
