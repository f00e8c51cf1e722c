// Whether the launcher shows its title picture: only when the user's
// settings key exists and holds no TitleGraphicTurnedOff.
#include "launcher/launcher_win32.h"

namespace qv {

namespace {

// Opens Software\Brindlecote\Quillon\2.0 of the current user level by level,
// closing each parent once its child is open. The launcher only reads, so
// it asks for read access. Nothing is created; a missing level gives none.
HKEY OpenUserSettingsKey() {
  static const char* const kLevels[] = {"Software", "Brindlecote", "Quillon", "2.0"};
  HKEY key = HKEY_CURRENT_USER;
  for (const char* level : kLevels) {
    HKEY child = nullptr;
    LONG result = RegOpenKeyExA(key, level, 0, KEY_READ, &child);
    if (key != HKEY_CURRENT_USER) RegCloseKey(key);
    if (result != ERROR_SUCCESS) return nullptr;
    key = child;
  }
  return key;
}

}  // namespace

bool TitlePictureWanted() {
  HKEY key = OpenUserSettingsKey();
  if (key == nullptr) return false;
  // Only the value's presence counts; one that holds more than 4 bytes does
  // not fit and counts as absent.
  BYTE data[4] = {};
  DWORD size = sizeof data;
  DWORD type = 0;
  LONG result = RegQueryValueExA(key, "TitleGraphicTurnedOff", nullptr, &type, data, &size);
  RegCloseKey(key);
  return result != ERROR_SUCCESS;
}

}  // namespace qv
