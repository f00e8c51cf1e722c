// Ctrl+P and Ctrl+U in the module windows, and the boxes of their dialogs.
#include "settings/module_shortcuts_win32.h"

#include <string>

#include "settings/preferences_dialog.h"
#include "settings/uninstall_dialog.h"

namespace qv {

namespace {

// Ctrl counts as down when any of bits 4 to 15 of its asynchronous state is
// set.
bool CtrlDown() { return (static_cast<unsigned short>(GetAsyncKeyState(VK_CONTROL)) & 0xFFF0) != 0; }

// Set while one of the two dialogs is open: the hook relays the keys typed
// in it to the module window too.
bool shortcutDialogOpen = false;

}  // namespace

bool HandleModuleShortcut(HWND moduleWindow, unsigned message, WPARAM key) {
  if (message != WM_KEYDOWN || (key != 'P' && key != 'U')) return false;
  if (!CtrlDown() || shortcutDialogOpen || moduleWindow == nullptr) return false;
  // A module window that is disabled has a dialog or box of its own open;
  // the shortcuts wait until it is closed.
  if (!IsWindowEnabled(moduleWindow)) return false;

  shortcutDialogOpen = true;
  if (key == 'P') {
    RunPreferencesDialog(moduleWindow);
  } else if (RunUninstallDialog(moduleWindow) == 0) {
    EndDialog(moduleWindow, 0);
  }
  shortcutDialogOpen = false;
  return true;
}

BoxAnswer OwnedBoxReporter::Show(std::string_view text, std::string_view caption, BoxIcon icon,
                                 BoxButtons buttons) {
  UINT style = MB_OK;
  switch (buttons) {
    case BoxButtons::OkCancel: style = MB_OKCANCEL; break;
    case BoxButtons::YesNo: style = MB_YESNO; break;
    case BoxButtons::YesNoCancel: style = MB_YESNOCANCEL; break;
    case BoxButtons::RetryCancel: style = MB_RETRYCANCEL; break;
    case BoxButtons::Ok: break;
  }
  switch (icon) {
    case BoxIcon::Information: style |= MB_ICONINFORMATION; break;
    case BoxIcon::Exclamation: style |= MB_ICONEXCLAMATION; break;
    case BoxIcon::Stop: style |= MB_ICONSTOP; break;
    case BoxIcon::Question: style |= MB_ICONQUESTION; break;
    case BoxIcon::None: break;
  }
  std::string t(text), c(caption);
  switch (MessageBoxA(owner_, t.c_str(), c.c_str(), style)) {
    case IDCANCEL: return BoxAnswer::Cancel;
    case IDRETRY: return BoxAnswer::Retry;
    case IDYES: return BoxAnswer::Yes;
    case IDNO: return BoxAnswer::No;
    default: return BoxAnswer::Ok;
  }
}

}  // namespace qv
