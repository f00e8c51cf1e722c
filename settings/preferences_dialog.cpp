// The Preferences dialog: reads its controls and leaves the rest to
// preferences.cpp.
#include "settings/preferences_dialog.h"

#include <string>

#include "base/process_state.h"
#include "settings/module_shortcuts_win32.h"
#include "settings/preferences.h"
#include "settings/settings_ids.h"

namespace qv {

namespace {

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void Show(HWND dialog, const PreferencesChoice& choice) {
  CheckDlgButton(dialog, IDC_PREFERENCES_HANDLE_SYX, choice.handleSyxChecked ? BST_CHECKED : BST_UNCHECKED);
  EnableWindow(GetDlgItem(dialog, IDC_PREFERENCES_HANDLE_SYX), choice.handleSyxEnabled);
  CheckDlgButton(dialog, IDC_PREFERENCES_TITLE_PICTURE, choice.titlePicture ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, IDC_PREFERENCES_WELCOME_SOUND, choice.welcomeSound ? BST_CHECKED : BST_UNCHECKED);
  for (int level = 0; level < 3; ++level) {
    CheckDlgButton(dialog, IDC_PREFERENCES_TOOLTIPS_OFF + level,
                   choice.toolTipsLevel[level] ? BST_CHECKED : BST_UNCHECKED);
  }
  SetDlgItemTextA(dialog, IDC_PREFERENCES_BLOCKS_PAUSE, choice.blocksPause.c_str());
}

PreferencesChoice Read(HWND dialog) {
  PreferencesChoice choice;
  choice.titlePicture = Checked(dialog, IDC_PREFERENCES_TITLE_PICTURE);
  choice.welcomeSound = Checked(dialog, IDC_PREFERENCES_WELCOME_SOUND);
  choice.handleSyxChecked = Checked(dialog, IDC_PREFERENCES_HANDLE_SYX);
  choice.handleSyxEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_PREFERENCES_HANDLE_SYX)) != FALSE;
  for (int level = 0; level < 3; ++level)
    choice.toolTipsLevel[level] = Checked(dialog, IDC_PREFERENCES_TOOLTIPS_OFF + level);
  HWND edit = GetDlgItem(dialog, IDC_PREFERENCES_BLOCKS_PAUSE);
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(edit)) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(edit, text.data(), static_cast<int>(text.size()))));
  choice.blocksPause = text;
  return choice;
}

INT_PTR CALLBACK PreferencesProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      Show(dialog, PreferencesAtOpening(Settings));
      return TRUE;  // the system gives the focus to the first control
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: {
          OwnedBoxReporter boxes(dialog);
          if (ApplyPreferences(SystemRegistry(), Settings, boxes, Read(dialog)) ==
              PreferencesResult::InvalidPause) {
            SetFocus(GetDlgItem(dialog, IDC_PREFERENCES_BLOCKS_PAUSE));
            return TRUE;
          }
          EndDialog(dialog, 0);
          return TRUE;
        }
        case IDCANCEL:
          EndDialog(dialog, kNotDone);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

}  // namespace

int RunPreferencesDialog(HWND owner) {
  return static_cast<int>(
      DialogBoxParamA(ProgramInstance, "PREFERENCES", owner, PreferencesProc, 0));
}

}  // namespace qv
