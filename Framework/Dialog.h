// CDialog: a modal dialog from a template of the resource module.
#pragma once

#include "Wnd.h"

class CDialog : public CWnd {
public:
  explicit CDialog(UINT nIDTemplate, CWnd *pParentWnd = nullptr);

  // Runs the dialog until EndDialog: its result (IDOK, IDCANCEL, ...), or -1 when the
  // template is missing or the dialog cannot be created.
  virtual INT_PTR DoModal();
  void EndDialog(int nResult) { ::EndDialog(m_hWnd, nResult); }

protected:
  // Loads the controls (UpdateData(FALSE)); TRUE lets the dialog manager set the focus.
  virtual BOOL OnInitDialog();
  // Saves and validates; ends the dialog with IDOK only if that passes.
  virtual void OnOK();
  virtual void OnCancel();

  UINT m_nIDTemplate;
  CWnd *m_pParentWnd;

  DECLARE_MESSAGE_MAP()

private:
  static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
};
