#pragma once
// The Preferences dialog's logic: what it shows when it opens, and what its
// OK stores and writes at once.
#include <cstdint>
#include <string>
#include <string_view>

#include "base/reporter.h"
#include "settings/registry.h"
#include "settings/settings.h"

namespace qv {

inline constexpr char kBlocksPauseErrorText[] =
    "The value to pause between blocks must be a positive number.";
inline constexpr char kBlocksPauseErrorCaption[] = "Incorrect data entry";
inline constexpr char kHandleSyxCaption[] = "Handle .SYX files";
extern const char kHandleSyxText[];

// The dialog's controls as plain values.
struct PreferencesChoice {
  bool titlePicture = false;
  bool welcomeSound = false;
  bool handleSyxChecked = false;
  bool handleSyxEnabled = true;      // greyed while the program owns .syx
  bool toolTipsLevel[3] = {};        // the radio buttons Off, Normal, Maximum
  std::string blocksPause;           // the edit box's text
};

// The controls as the dialog opens: a tooltip level outside 0..2 checks no
// radio button.
PreferencesChoice PreferencesAtOpening(const SettingsRecord& settings);

// A decimal number of digits only, from 0 to 2,147,483,647: the longest
// pause the send can honour.
bool ParseBlocksPause(std::string_view text, std::uint32_t* value);

enum class PreferencesResult {
  Stored,        // the dialog ends with 0
  InvalidPause,  // the box was shown; the dialog stays, focus on the pause
};

// OK: stores the choice in settings and writes the changed values to the
// user key (and takes DisableExtensions from the machine key when the user
// has just asked for .syx). Boxes are owned by the dialog. An invalid pause
// changes nothing at all.
PreferencesResult ApplyPreferences(Registry& registry, SettingsRecord& settings,
                                   Reporter& boxes, const PreferencesChoice& choice);

}  // namespace qv
