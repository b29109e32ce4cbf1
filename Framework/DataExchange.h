// Dialog data exchange: the DDX routines move a member's value into its control or
// back; the DDV routines check the value on the way back and stop the save with Fail.
#pragma once

#include <windows.h>

#include "String.h"

class CWnd;

// The framework's message for a text longer than its limit; %1 stands for the limit.
const UINT AFX_IDP_PARSE_STRING_SIZE = 61716;

class CDataExchange {
public:
  CDataExchange(CWnd *pDlgWnd, BOOL bSaveAndValidate);

  // The control nIDC of the dialog, now the last control of the exchange; Fail without
  // a focus change when the dialog has no such control.
  HWND PrepareCtrl(int nIDC);
  // The same, and marks it as an edit control: Fail selects its text.
  HWND PrepareEditCtrl(int nIDC);
  // Gives the last control the focus (selecting all its text when it is an edit
  // control) and abandons the rest of the exchange: this call does not return, and
  // UpdateData answers FALSE. Only for routines that DoDataExchange calls.
  [[noreturn]] void Fail();

  BOOL m_bSaveAndValidate;
  CWnd *m_pDlgWnd;
  int m_idLastControl;
  BOOL m_bEditLastControl;

  // What Fail throws; only UpdateData catches it.
  struct Failure {};
};

void DDX_Text(CDataExchange *pDX, int nIDC, CString &value);
// 0 clear, 1 ticked, 2 the third state of a three-state box.
void DDX_Check(CDataExchange *pDX, int nIDC, int &value);
// On save, a text longer than nChars shows AFX_IDP_PARSE_STRING_SIZE and fails;
// otherwise the last edit control is limited to nChars characters.
void DDV_MaxChars(CDataExchange *pDX, const CString &value, int nChars);
