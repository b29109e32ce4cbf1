// CEdit: an edit control. The object can exist without a window; attached to one (see
// SubclassDlgItem) it passes what its map does not handle to the control itself.
#pragma once

#include "Wnd.h"

class CEdit : public CWnd {
public:
  CEdit();
  ~CEdit() override;

  void LimitText(int nChars) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(nChars)); }
  // Selects characters nStart up to nEnd; 0 and -1 select everything.
  void SetSel(int nStart, int nEnd) { SendMessage(EM_SETSEL, nStart, nEnd); }
};
