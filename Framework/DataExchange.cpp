#include "DataExchange.h"

#include "WinApp.h"
#include "Wnd.h"

CDataExchange::CDataExchange(CWnd *pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd), m_idLastControl(0),
      m_bEditLastControl(FALSE) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
  HWND hWndCtrl = m_pDlgWnd->GetDlgItem(nIDC);
  if (hWndCtrl == nullptr) {
    m_idLastControl = 0;
    Fail();
  }
  m_idLastControl = nIDC;
  m_bEditLastControl = FALSE;
  return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
  HWND hWndCtrl = PrepareCtrl(nIDC);
  m_bEditLastControl = TRUE;
  return hWndCtrl;
}

void CDataExchange::Fail() {
  HWND hWndCtrl = m_idLastControl != 0 ? m_pDlgWnd->GetDlgItem(m_idLastControl) : nullptr;
  if (m_bSaveAndValidate && hWndCtrl != nullptr) {
    ::SetFocus(hWndCtrl);
    if (m_bEditLastControl)
      ::SendMessageA(hWndCtrl, EM_SETSEL, 0, -1);
  }
  throw Failure();
}

void DDX_Text(CDataExchange *pDX, int nIDC, CString &value) {
  HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    int nLength = GetWindowTextLengthA(hWndCtrl);
    LPSTR buffer = value.GetBuffer(nLength);
    buffer[0] = '\0';
    GetWindowTextA(hWndCtrl, buffer, nLength + 1);
    value.ReleaseBuffer();
  } else {
    SetWindowTextA(hWndCtrl, value);
  }
}

void DDX_Check(CDataExchange *pDX, int nIDC, int &value) {
  HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    value = static_cast<int>(SendMessageA(hWndCtrl, BM_GETCHECK, 0, 0));
  else
    SendMessageA(hWndCtrl, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

// The message with every %1 replaced by the number.
static CString FormatWithNumber(LPCSTR pszMessage, int nNumber) {
  CString number;
  number.Format("%d", nNumber);
  CString result;
  for (LPCSTR p = pszMessage; *p != '\0'; ++p) {
    if (p[0] == '%' && p[1] == '1') {
      result += number;
      ++p;
    } else {
      char single[2] = {*p, '\0'};
      result += single;
    }
  }
  return result;
}

void DDV_MaxChars(CDataExchange *pDX, const CString &value, int nChars) {
  if (pDX->m_bSaveAndValidate && value.GetLength() > nChars) {
    CString message;
    message.LoadString(AFX_IDP_PARSE_STRING_SIZE);
    AfxMessageBox(FormatWithNumber(message, nChars), MB_OK, AFX_IDP_PARSE_STRING_SIZE);
    pDX->Fail();
  }
  if (pDX->m_idLastControl != 0 && pDX->m_bEditLastControl)
    ::SendMessageA(pDX->m_pDlgWnd->GetDlgItem(pDX->m_idLastControl), EM_LIMITTEXT,
                   static_cast<WPARAM>(nChars), 0);
}
