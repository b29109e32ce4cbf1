// An edit control subclassed by a CEdit with a map of its own: its WM_CHAR handler sees
// every character and decides which reach the control.
#include "FrameworkFixture.h"

namespace {

class FilterEdit : public CEdit {
public:
  std::string m_seen;

protected:
  void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
    m_seen += static_cast<char>(nChar);
    if (nChar != 'x')
      CEdit::OnChar(nChar, nRepCnt, nFlags);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(FilterEdit, CEdit)
ON_WM_CHAR()
END_MESSAGE_MAP()

using EditTest = FrameworkTest;

TEST_F(EditTest, SubclassedEditFiltersCharactersThroughItsMap) {
  FilterEdit edit; // an edit object lives before and after its window
  ScriptedDialog dialog;
  BOOL bEarlier = FALSE, bSubclassed = FALSE, bSecondTime = TRUE, bMissing = TRUE;
  std::string text;
  dialog.m_steps = [&](ScriptedDialog &dlg) {
    {
      // An object that goes before its window lets go of it and restores its procedure.
      FilterEdit shortLived;
      bEarlier = shortLived.SubclassDlgItem(IDC_NAME, &dlg);
    }
    bSubclassed = edit.SubclassDlgItem(IDC_NAME, &dlg);
    bSecondTime = FilterEdit().SubclassDlgItem(IDC_NAME, &dlg);
    bMissing = FilterEdit().SubclassDlgItem(9999, &dlg);
    for (char ch : std::string("axb\b9"))
      edit.SendMessage(WM_CHAR, static_cast<unsigned char>(ch), 1);
    text = TextOf(edit);
    dlg.PostMessage(WM_COMMAND, IDCANCEL);
  };
  EXPECT_EQ(IDCANCEL, dialog.DoModal());
  EXPECT_TRUE(bEarlier);
  EXPECT_TRUE(bSubclassed);
  EXPECT_FALSE(bSecondTime); // one object per window
  EXPECT_FALSE(bMissing);
  EXPECT_EQ("axb\b9", edit.m_seen);
  EXPECT_EQ("a9", text); // x refused; backspace took the b
  EXPECT_TRUE(edit.m_hWnd == nullptr); // let go when its window went
}

} // namespace
