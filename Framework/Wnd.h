// CWnd: the object behind one window. At most one CWnd is attached to a window; it
// receives the window's messages through its message map and passes everything that
// the map does not handle to the window's own procedure.
#pragma once

#include <windows.h>

#include "CmdTarget.h"
#include "String.h"

class CDataExchange;

class CWnd : public CCmdTarget {
public:
  CWnd();
  // Gives the window back its own procedure if it is still attached.
  ~CWnd() override;

  HWND m_hWnd;
  operator HWND() const { return m_hWnd; }
  HWND GetSafeHwnd() const { return m_hWnd; }

  // The CWnd attached to hWnd, or null.
  static CWnd *FromHandlePermanent(HWND hWnd);

  // Attaches this object to an existing window and routes its messages through this
  // object's map; FALSE if the window is missing or already attached.
  BOOL SubclassWindow(HWND hWnd);
  // The same for control nID of pParent.
  BOOL SubclassDlgItem(UINT nID, CWnd *pParent);

  // Dialog data exchange: runs DoDataExchange to load the controls (FALSE) or save and
  // validate them (TRUE); FALSE when a routine failed.
  BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
  virtual void DoDataExchange(CDataExchange *pDX);

  UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse) {
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, nullptr);
  }
  BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }
  BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
  BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
  BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
  void SetWindowText(LPCSTR pszText) { ::SetWindowTextA(m_hWnd, pszText); }
  void GetWindowText(CString &rString) const;
  HICON SetIcon(HICON hIcon, BOOL bBigIcon) {
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
  }
  HWND SetFocus() { return ::SetFocus(m_hWnd); }
  HWND GetDlgItem(int nID) const { return ::GetDlgItem(m_hWnd, nID); }
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
  }
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
  }

protected:
  // Every message of an attached window arrives here first: the map, then for an
  // unhandled command the application's map, then DefWindowProc.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The window's own processing of the message being handled now.
  LRESULT Default();
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  // Handlers with the default processing, for derived classes to call.
  void OnTimer(UINT_PTR nIDEvent);
  void OnActivate(UINT nState, CWnd *pWndOther, BOOL bMinimized);
  void OnShowWindow(BOOL bShow, UINT nStatus);
  void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);

  // The procedure that had the window before this object; null when it is ours.
  WNDPROC m_pfnSuper;

private:
  static LRESULT CALLBACK WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
  void Attach(HWND hWnd);
  void Detach();

  struct CurrentMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  } m_current;

  CWnd(const CWnd &) = delete;
  CWnd &operator=(const CWnd &) = delete;
};

namespace afx_detail {
template <auto pfn> LRESULT TimerHandler(CCmdTarget *pTarget, WPARAM wParam, LPARAM) {
  typedef typename MemberClass<decltype(pfn)>::Class Class;
  (static_cast<Class *>(pTarget)->*pfn)(static_cast<UINT_PTR>(wParam));
  return 0;
}
template <auto pfn> LRESULT ActivateHandler(CCmdTarget *pTarget, WPARAM wParam, LPARAM lParam) {
  typedef typename MemberClass<decltype(pfn)>::Class Class;
  (static_cast<Class *>(pTarget)->*pfn)(LOWORD(wParam),
                                        CWnd::FromHandlePermanent(reinterpret_cast<HWND>(lParam)),
                                        HIWORD(wParam));
  return 0;
}
template <auto pfn> LRESULT ShowWindowHandler(CCmdTarget *pTarget, WPARAM wParam, LPARAM lParam) {
  typedef typename MemberClass<decltype(pfn)>::Class Class;
  (static_cast<Class *>(pTarget)->*pfn)(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
  return 0;
}
template <auto pfn> LRESULT CharHandler(CCmdTarget *pTarget, WPARAM wParam, LPARAM lParam) {
  typedef typename MemberClass<decltype(pfn)>::Class Class;
  (static_cast<Class *>(pTarget)->*pfn)(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
  return 0;
}
} // namespace afx_detail

// void OnTimer(UINT_PTR nIDEvent)
#define ON_WM_TIMER()                                                                      \
  {WM_TIMER, 0, 0, 0, nullptr, &afx_detail::TimerHandler<&ThisClass::OnTimer>},
// void OnActivate(UINT nState, CWnd *pWndOther, BOOL bMinimized); pWndOther is null
// when the other window has no CWnd.
#define ON_WM_ACTIVATE()                                                                   \
  {WM_ACTIVATE, 0, 0, 0, nullptr, &afx_detail::ActivateHandler<&ThisClass::OnActivate>},
// void OnShowWindow(BOOL bShow, UINT nStatus)
#define ON_WM_SHOWWINDOW()                                                                 \
  {WM_SHOWWINDOW, 0, 0, 0, nullptr, &afx_detail::ShowWindowHandler<&ThisClass::OnShowWindow>},
// void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
#define ON_WM_CHAR()                                                                       \
  {WM_CHAR, 0, 0, 0, nullptr, &afx_detail::CharHandler<&ThisClass::OnChar>},
