#include "settings/preferences.h"

#include "settings/file_types.h"
#include "settings/settings_store.h"

namespace qv {

const char kHandleSyxText[] =
    "Next time you load Quillon, the program will attempt to gain control of "
    "those files with a .SYX extension.\n\n"
    "If you enter the preferences box again before that, the appropriate "
    "checkbox will still not be checked, since the program has not yet "
    "acquired control over these files. You don't need to check it again.";

namespace {

// A presence flag: written without data when the option is off, deleted
// when it is on.
void WriteOffFlag(Registry& registry, RegKey key, const char* name, bool on) {
  if (key == kNoKey) return;
  if (on)
    registry.DeleteValue(key, name);
  else
    registry.WriteEmpty(key, name, RegEmptyType::Dword);
}

}  // namespace

PreferencesChoice PreferencesAtOpening(const SettingsRecord& settings) {
  PreferencesChoice choice;
  choice.handleSyxChecked = settings.HandlesSyxFiles;
  choice.handleSyxEnabled = !settings.HandlesSyxFiles;
  choice.titlePicture = settings.TitleGraphicOn;
  choice.welcomeSound = settings.TitleSoundOn;
  if (settings.ToolTips >= 0 && settings.ToolTips <= 2) choice.toolTipsLevel[settings.ToolTips] = true;
  choice.blocksPause = std::to_string(static_cast<std::uint32_t>(settings.BlocksPause));
  return choice;
}

bool ParseBlocksPause(std::string_view text, std::uint32_t* value) {
  if (text.empty()) return false;
  std::uint64_t number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + static_cast<std::uint64_t>(c - '0');
    // The send waits with a timer, which takes at most 2,147,483,647 ms,
    // and the setting is read back as a signed number.
    if (number > 0x7FFFFFFFu) return false;
  }
  *value = static_cast<std::uint32_t>(number);
  return true;
}

PreferencesResult ApplyPreferences(Registry& registry, SettingsRecord& settings, Reporter& boxes,
                                   const PreferencesChoice& choice) {
  std::uint32_t pause = 0;
  if (!ParseBlocksPause(choice.blocksPause, &pause)) {
    boxes.Show(kBlocksPauseErrorText, kBlocksPauseErrorCaption, BoxIcon::Stop, BoxButtons::Ok);
    return PreferencesResult::InvalidPause;
  }
  settings.BlocksPause = static_cast<std::int32_t>(pause);
  RegKey user = OpenSettingsKey(registry, kCurrentUserRoot);
  if (user != kNoKey) registry.WriteDword(user, "BlocksPause", settings.BlocksPause);

  if (choice.titlePicture != settings.TitleGraphicOn) {
    settings.TitleGraphicOn = !settings.TitleGraphicOn;
    WriteOffFlag(registry, user, "TitleGraphicTurnedOff", settings.TitleGraphicOn);
  }
  if (choice.welcomeSound != settings.TitleSoundOn) {
    settings.TitleSoundOn = !settings.TitleSoundOn;
    WriteOffFlag(registry, user, "TitleSoundDisabled", settings.TitleSoundOn);
  }

  std::int32_t level = settings.ToolTips;
  for (int i = 0; i < 3; ++i)
    if (choice.toolTipsLevel[i]) level = i;
  if (level != settings.ToolTips) {
    settings.ToolTips = level;
    if (user != kNoKey) registry.WriteDword(user, "ToolTips", level);
  }

  if (user != kNoKey) registry.CloseKey(user);

  if (choice.handleSyxChecked && choice.handleSyxEnabled) {
    RegKey machine = OpenSettingsKey(registry, kLocalMachineRoot);
    if (machine != kNoKey) {
      registry.DeleteValue(machine, kDisableExtensions);
      registry.CloseKey(machine);
    }
    boxes.Show(kHandleSyxText, kHandleSyxCaption, BoxIcon::Information, BoxButtons::Ok);
  }
  return PreferencesResult::Stored;
}

}  // namespace qv
