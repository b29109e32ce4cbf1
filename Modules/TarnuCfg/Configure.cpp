// The configuration applet: a small modal window on the caller's thread that names the
// mode, action and adapter it was opened for.
#include "Configure.h"
#include "ConfigureDialog.h"

namespace {

HINSTANCE g_module;
UINT g_popupMessage;
// The open window, so that a second call brings it forward instead of opening another.
HWND g_openDialog;

struct ConfigureRequest {
  LONG mode;
  const CONFIGURE_BLOCK *block;
};

const char *ModeName(LONG mode) {
  switch (mode) {
  case CONFIGURE_MODE_PLAIN:
    return "1 (as last used)";
  case CONFIGURE_MODE_ACTION:
    return "3 (action)";
  default:
    return "unknown";
  }
}

void ShowRequest(HWND dialog, const ConfigureRequest &request) {
  SetDlgItemTextA(dialog, IDC_MODE_VALUE, ModeName(request.mode));
  const CONFIGURE_BLOCK *block = request.block;
  // The action is set only in the action mode; in any other its pointer is left unset.
  const char *action = "none";
  if (request.mode == CONFIGURE_MODE_ACTION && block && block->pszAction &&
      block->pszAction[0] != '\0')
    action = block->pszAction;
  SetDlgItemTextA(dialog, IDC_ACTION_VALUE, action);
  const char *adapter = "first adapter";
  if (block && block->pszAdapter && block->pszAdapter[0] != '\0')
    adapter = block->pszAdapter;
  SetDlgItemTextA(dialog, IDC_ADAPTER_VALUE, adapter);
}

void BringToFront(HWND dialog) {
  if (IsIconic(dialog))
    ShowWindow(dialog, SW_RESTORE);
  SetForegroundWindow(dialog);
}

INT_PTR CALLBACK ConfigureDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == g_popupMessage && g_popupMessage != 0) {
    BringToFront(dialog);
    return TRUE;
  }
  switch (message) {
  case WM_INITDIALOG:
    g_openDialog = dialog;
    ShowRequest(dialog, *reinterpret_cast<const ConfigureRequest *>(lParam));
    return TRUE;
  case WM_COMMAND:
    if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
      EndDialog(dialog, LOWORD(wParam));
      return TRUE;
    }
    return FALSE;
  case WM_DESTROY:
    g_openDialog = NULL;
    return FALSE;
  default:
    return FALSE;
  }
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH)
    g_module = module;
  return TRUE;
}

extern "C" LONG WINAPI Configure(LONG mode, CONFIGURE_BLOCK *block, DWORD * /*pReserved*/) {
  g_popupMessage = RegisterWindowMessageA(CONFIGURE_POPUP_MESSAGE);
  if (g_openDialog) {
    BringToFront(g_openDialog);
    return 0;
  }
  ConfigureRequest request = {mode, block};
  INT_PTR result = DialogBoxParamA(g_module, MAKEINTRESOURCEA(IDD_CONFIGURE), NULL,
                                   ConfigureDialogProc, reinterpret_cast<LPARAM>(&request));
  return result > 0 ? 1 : 0;
}
