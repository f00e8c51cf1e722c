// Fixed control identifiers of the Preferences, About and Uninstall dialogs.
// Plain #defines so that windres can read them too.
#ifndef QV_SETTINGS_SETTINGS_IDS_H
#define QV_SETTINGS_SETTINGS_IDS_H

// PREFERENCES (OK is IDOK, Cancel is IDCANCEL)
#define IDC_PREFERENCES_TITLE_PICTURE    3000  // "Title picture"
#define IDC_PREFERENCES_WELCOME_SOUND    3001  // "Welcome sound"
#define IDC_PREFERENCES_BLOCKS_PAUSE     3003  // pause between blocks (ms)
#define IDC_PREFERENCES_HANDLE_SYX       3004  // "Handle .SYX files"
#define IDC_PREFERENCES_TOOLTIPS_OFF     3006  // "Off"      (level 0)
#define IDC_PREFERENCES_TOOLTIPS_NORMAL  3007  // "Normal"   (level 1)
#define IDC_PREFERENCES_TOOLTIPS_MAXIMUM 3008  // "Maximum"  (level 2)
// The radio button of tooltip level n is IDC_PREFERENCES_TOOLTIPS_OFF + n.

// ABOUT
#define IDC_ABOUT_OK                      300  // "OK"

// UNINSTALL uses IDOK ("OK") and IDCANCEL ("Cancel", the default button).

#endif
