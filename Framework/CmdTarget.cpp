#include "CmdTarget.h"

const AFX_MSGMAP *CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const AFX_MSGMAP *CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
  static const AFX_MSGMAP messageMap = {nullptr, entries};
  return &messageMap;
}

static bool RowMatches(const AFX_MSGMAP_ENTRY &row, UINT message, WPARAM wParam,
                       LPARAM lParam) {
  if (row.pnRegistered != nullptr)
    return *row.pnRegistered != 0 && *row.pnRegistered == message;
  if (row.nMessage != message)
    return false;
  if (message != WM_COMMAND)
    return true;
  UINT nID = LOWORD(wParam);
  UINT nCode = HIWORD(wParam);
  // An accelerator sends code 1 without a control: it counts as the command itself.
  if (lParam == 0 && nCode == 1)
    nCode = 0;
  return nCode == row.nCode && nID >= row.nID && nID <= row.nLastID;
}

BOOL CCmdTarget::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *pResult) {
  for (const AFX_MSGMAP *map = GetMessageMap(); map != nullptr;
       map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY *row = map->lpEntries; row->pfnHandler != nullptr; ++row) {
      if (RowMatches(*row, message, wParam, lParam)) {
        *pResult = row->pfnHandler(this, wParam, lParam);
        return TRUE;
      }
    }
  }
  return FALSE;
}
