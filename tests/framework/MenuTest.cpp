// Menus from the resource module: submenus, item states and popup tracking.
#include "FrameworkFixture.h"

namespace {

class MenuOwnerDialog : public ScriptedDialog {
public:
  std::string m_log;
  std::function<void()> m_duringMenu;

protected:
  void OnTimer(UINT_PTR nIDEvent) {
    KillTimer(nIDEvent);
    if (m_duringMenu)
      m_duringMenu();
  }
  void OnFirst() { m_log += "first;"; }
  void OnSecond() { m_log += "second;"; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MenuOwnerDialog, ScriptedDialog)
ON_WM_TIMER()
ON_COMMAND(ID_FIRST, OnFirst)
ON_COMMAND(ID_SECOND, OnSecond)
END_MESSAGE_MAP()

HWND VisiblePopupMenu() {
  HWND hWndMenu = FindWindowA("#32768", nullptr);
  return hWndMenu != nullptr && IsWindowVisible(hWndMenu) ? hWndMenu : nullptr;
}

using MenuTest = FrameworkTest;

TEST_F(MenuTest, ItemsAreGrayedAndRadioCheckedByCommand) {
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(IDM_TRAY));
  EXPECT_FALSE(menu.LoadMenu(IDM_TRAY)); // one menu per object
  EXPECT_TRUE(menu.GetSubMenu(1) == nullptr);
  CMenu *pPopup = menu.GetSubMenu(0);
  ASSERT_TRUE(pPopup != nullptr);
  EXPECT_EQ(pPopup, menu.GetSubMenu(0));

  EXPECT_EQ(static_cast<UINT>(MF_ENABLED), pPopup->EnableMenuItem(ID_SECOND, MF_BYCOMMAND | MF_GRAYED));
  EXPECT_TRUE(GetMenuState(*pPopup, ID_SECOND, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_EQ(static_cast<UINT>(-1), pPopup->EnableMenuItem(999, MF_BYCOMMAND | MF_ENABLED));

  EXPECT_TRUE(pPopup->CheckMenuRadioItem(ID_FIRST, ID_SECOND, ID_SECOND, MF_BYCOMMAND));
  EXPECT_TRUE(GetMenuState(*pPopup, ID_SECOND, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_TRUE(pPopup->CheckMenuRadioItem(ID_FIRST, ID_SECOND, ID_FIRST, MF_BYCOMMAND));
  EXPECT_FALSE(GetMenuState(*pPopup, ID_SECOND, MF_BYCOMMAND) & MF_CHECKED);

  EXPECT_TRUE(menu.DestroyMenu());
  EXPECT_TRUE(menu.GetSafeHmenu() == nullptr);
  EXPECT_TRUE(menu.GetSubMenu(0) == nullptr);
}

TEST_F(MenuTest, PopupIsTrackedAndEitherDismissedOrChosenFrom) {
  static const struct {
    const char *what;
    bool bChoose;
    const char *log;
  } cases[] = {
      {"dismissed", false, ""},
      {"second item chosen", true, "second;"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDM_TRAY));
    MenuOwnerDialog dialog;
    bool bMenuShown = false;
    BOOL bTracked = FALSE;
    dialog.m_duringMenu = [&]() {
      HWND hWndMenu = VisiblePopupMenu();
      bMenuShown = hWndMenu != nullptr;
      if (c.bChoose && hWndMenu != nullptr) {
        for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN})
          PostMessageA(hWndMenu, WM_KEYDOWN, key, 0);
      } else {
        EndMenu();
      }
    };
    dialog.m_steps = [&](ScriptedDialog &dlg) {
      dlg.SetForegroundWindow();
      dlg.SetTimer(1, 200);
      bTracked = menu.GetSubMenu(0)->TrackPopupMenu(TPM_LEFTALIGN | TPM_LEFTBUTTON, 50, 50, &dlg);
      dlg.PostMessage(WM_COMMAND, IDCANCEL);
    };
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_TRUE(bMenuShown);
    EXPECT_TRUE(bTracked); // tracking succeeds whether or not an item was chosen
    EXPECT_EQ(c.log, dialog.m_log);
    EXPECT_TRUE(VisiblePopupMenu() == nullptr);
  }
}

} // namespace
