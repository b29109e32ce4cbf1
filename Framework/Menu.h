// CMenu: a menu handle loaded from the resource module, and its submenus.
#pragma once

#include <windows.h>

class CWnd;

class CMenu {
public:
  CMenu();
  // Destroys a menu that this object loaded and still holds.
  ~CMenu();

  HMENU m_hMenu;
  operator HMENU() const { return m_hMenu; }
  HMENU GetSafeHmenu() const { return m_hMenu; }

  // Menu nIDResource of the resource module; FALSE if it has none or one is held.
  BOOL LoadMenu(UINT nIDResource);
  BOOL DestroyMenu();

  // The popup submenu at nPos, or null. The object belongs to this menu and stays
  // valid until the menu is destroyed.
  CMenu *GetSubMenu(int nPos);

  // By command (MF_BYCOMMAND) or position; MF_ENABLED or MF_GRAYED. Answers the
  // previous state, or -1 when the item does not exist.
  UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
    return ::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable);
  }
  BOOL CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags) {
    return ::CheckMenuRadioItem(m_hMenu, nIDFirst, nIDLast, nIDItem, nFlags);
  }
  // Shows this menu as a popup at x, y; the chosen command goes to pWnd as WM_COMMAND.
  BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd *pWnd);

private:
  void ForgetSubMenus();

  BOOL m_bOwner;
  CMenu *m_pFirstSubMenu;
  CMenu *m_pNextSibling;

  CMenu(const CMenu &) = delete;
  CMenu &operator=(const CMenu &) = delete;
};
