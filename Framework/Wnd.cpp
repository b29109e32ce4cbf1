#include "Wnd.h"

#include "DataExchange.h"
#include "WinApp.h"

// The window property that leads from a window to its CWnd.
static const char kWndProperty[] = "TarnuFrameworkWnd";

CWnd::CWnd() : m_hWnd(nullptr), m_pfnSuper(nullptr), m_current{0, 0, 0} {}

CWnd::~CWnd() {
  if (m_hWnd != nullptr)
    Detach();
}

CWnd *CWnd::FromHandlePermanent(HWND hWnd) {
  return hWnd != nullptr ? static_cast<CWnd *>(GetPropA(hWnd, kWndProperty)) : nullptr;
}

void CWnd::Attach(HWND hWnd) {
  m_hWnd = hWnd;
  SetPropA(hWnd, kWndProperty, this);
}

void CWnd::Detach() {
  if (m_pfnSuper != nullptr &&
      GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(WndProc))
    SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  RemovePropA(m_hWnd, kWndProperty);
  m_hWnd = nullptr;
  m_pfnSuper = nullptr;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
  if (hWnd == nullptr || m_hWnd != nullptr || FromHandlePermanent(hWnd) != nullptr)
    return FALSE;
  Attach(hWnd);
  m_pfnSuper = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WndProc)));
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd *pParent) {
  return pParent != nullptr && SubclassWindow(::GetDlgItem(pParent->m_hWnd, nID));
}

LRESULT CALLBACK CWnd::WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd *pWnd = FromHandlePermanent(hWnd);
  if (pWnd == nullptr)
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
  // Handlers send messages to their own window: keep the outer message for Default.
  CurrentMessage outer = pWnd->m_current;
  pWnd->m_current = {message, wParam, lParam};
  LRESULT result = pWnd->WindowProc(message, wParam, lParam);
  if (message == WM_NCDESTROY)
    pWnd->Detach();
  else
    pWnd->m_current = outer;
  return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (OnWndMsg(message, wParam, lParam, &result))
    return result;
  CWinApp *pApp = AfxGetApp();
  if (message == WM_COMMAND && pApp != nullptr && pApp->OnWndMsg(message, wParam, lParam, &result))
    return result;
  return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::Default() {
  return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper != nullptr)
    return CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
  return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
  CDataExchange dx(this, bSaveAndValidate);
  try {
    DoDataExchange(&dx);
  } catch (const CDataExchange::Failure &) {
    return FALSE;
  }
  return TRUE;
}

void CWnd::DoDataExchange(CDataExchange *) {}

void CWnd::GetWindowText(CString &rString) const {
  int nLength = GetWindowTextLengthA(m_hWnd);
  LPSTR buffer = rString.GetBuffer(nLength);
  buffer[0] = '\0';
  ::GetWindowTextA(m_hWnd, buffer, nLength + 1);
  rString.ReleaseBuffer();
}

void CWnd::OnTimer(UINT_PTR) { Default(); }

void CWnd::OnActivate(UINT, CWnd *, BOOL) { Default(); }

void CWnd::OnShowWindow(BOOL, UINT) { Default(); }

void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
