#pragma once
// The keys every module window answers: Ctrl+P opens Preferences, Ctrl+U the
// uninstall dialog. Window layer only.
#include <windows.h>

#include "base/reporter.h"

namespace qv {

// Called by a module window for each WM_KEYDOWN it gets (the message hook
// relays those of its controls). Opens the dialog owned by the window and
// returns true when it handled the key; an uninstall that completes ends the
// window's dialog with 0, which ends the program.
bool HandleModuleShortcut(HWND moduleWindow, unsigned message, WPARAM key);

// Message boxes owned by a given window (the dialogs' own boxes).
class OwnedBoxReporter : public Reporter {
 public:
  explicit OwnedBoxReporter(HWND owner) : owner_(owner) {}
  BoxAnswer Show(std::string_view text, std::string_view caption, BoxIcon icon,
                 BoxButtons buttons) override;

 private:
  HWND owner_;
};

}  // namespace qv
