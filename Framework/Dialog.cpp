#include "Dialog.h"

#include "WinApp.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd *pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

INT_PTR CDialog::DoModal() {
  HINSTANCE hResource = AfxGetResourceHandle();
  LPCSTR pszTemplate = MAKEINTRESOURCEA(m_nIDTemplate);
  if (FindResourceA(hResource, pszTemplate, RT_DIALOG) == nullptr)
    return -1;
  HWND hWndParent = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr;
  return DialogBoxParamA(hResource, pszTemplate, hWndParent, DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

// The dialog manager's own procedure stays the window's default processing: this one
// only attaches the dialog object at WM_INITDIALOG and puts CWnd's procedure in front,
// so that every later message goes through the message map first.
INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_INITDIALOG)
    return FALSE;
  CDialog *pDialog = reinterpret_cast<CDialog *>(lParam);
  if (!pDialog->SubclassWindow(hWnd))
    return FALSE;
  return pDialog->OnInitDialog();
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (UpdateData(TRUE))
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }
