#include "Menu.h"

#include "WinApp.h"
#include "Wnd.h"

CMenu::CMenu() : m_hMenu(nullptr), m_bOwner(FALSE), m_pFirstSubMenu(nullptr), m_pNextSibling(nullptr) {}

CMenu::~CMenu() { DestroyMenu(); }

BOOL CMenu::LoadMenu(UINT nIDResource) {
  if (m_hMenu != nullptr)
    return FALSE;
  m_hMenu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
  m_bOwner = m_hMenu != nullptr;
  return m_bOwner;
}

BOOL CMenu::DestroyMenu() {
  ForgetSubMenus();
  BOOL bDestroyed = m_bOwner && ::DestroyMenu(m_hMenu);
  m_hMenu = nullptr;
  m_bOwner = FALSE;
  return bDestroyed;
}

CMenu *CMenu::GetSubMenu(int nPos) {
  HMENU hSubMenu = m_hMenu != nullptr ? ::GetSubMenu(m_hMenu, nPos) : nullptr;
  if (hSubMenu == nullptr)
    return nullptr;
  for (CMenu *pSubMenu = m_pFirstSubMenu; pSubMenu != nullptr; pSubMenu = pSubMenu->m_pNextSibling) {
    if (pSubMenu->m_hMenu == hSubMenu)
      return pSubMenu;
  }
  CMenu *pSubMenu = new CMenu;
  pSubMenu->m_hMenu = hSubMenu;
  pSubMenu->m_pNextSibling = m_pFirstSubMenu;
  m_pFirstSubMenu = pSubMenu;
  return pSubMenu;
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd *pWnd) {
  return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd != nullptr ? pWnd->m_hWnd : nullptr,
                          nullptr);
}

// Submenus are destroyed with the menu that holds them: their objects only go away.
void CMenu::ForgetSubMenus() {
  while (m_pFirstSubMenu != nullptr) {
    CMenu *pSubMenu = m_pFirstSubMenu;
    m_pFirstSubMenu = pSubMenu->m_pNextSibling;
    delete pSubMenu;
  }
}
