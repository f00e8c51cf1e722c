#include "settings/settings_store.h"

#include <cstdint>
#include <string>

namespace qv {

const char kWelcomeText[] =
    "Welcome to Brindlecote Quillon 97! To get you up to speed right away, "
    "here's some advice.\n\n"
    "Be sure to use the help file - from the button in the top right of all "
    "main screens - any time if you're not sure how to do something, or why "
    "something is happening.\n\n"
    "The program is equipped with tooltips - small yellow rectangles that pop "
    "up to explain the purpose of a control that the mouse has paused over. If "
    "these annoy you, you can turn them off using the preferences dialog box, "
    "which is accessed by pressing CTRL+P from any main screen. This is also "
    "how you turn off the startup sound.\n\n"
    "If you really don't like the program, pressing CTRL+U to uninstall will "
    "automatically remove most parts of it from your system. This is explained "
    "in more detail when you press CTRL+U.\n\n"
    "In case you haven't got the idea yet - I like the CTRL key. When you hold "
    "it down, some buttons do different things. (The tooltips will explain, "
    "and indicate which controls this applies to.) This also works while the "
    "program is loading...\n\n"
    "Don't be alarmed if the program seems to disappear when switching between "
    "modules; it will be back shortly!";

const char kToolTipsReducedText[] =
    "Since you've now used this program a number of times, the tooltips "
    "(yellow pop-up information boxes) have been reduced in number and "
    "frequency.\n\n"
    "They are now set to the normal level. If you'd like to put them back the "
    "way they were before, or turn them off altogether, you can do so using "
    "the Preferences box (accessed by typing CTRL+P from any main screen).";

namespace {

struct DwordSetting {
  const char* name;
  std::int32_t SettingsRecord::*field;
};

// The values written on a first run, in their order, with their values.
struct FirstRunValue {
  const char* name;
  std::int32_t value;
};

constexpr FirstRunValue kFirstRunValues[] = {
    {"InputPort", 0},    {"OutputPort", 0},   {"AcknowledgeReceipt", 0},
    {"ReceiptLength", 0}, {"WindowX", 30},     {"WindowY", 30},
    {"NumBuffers", 30},  {"GraphX", 200},     {"GraphY", 200},
    {"GraphW", 200},     {"GraphH", 200},     {"GraphAmp1", 0},
    {"GraphAmp2", 0},    {"GraphPitch1", 0},  {"GraphPitch2", 0},
    {"GraphCutoff1", 0}, {"GraphCutoff2", 0}, {"BlocksPause", 20},
    {"ToolTips", 2},
};

// The values read at start, in their order (LibrarianInstrument is read
// after them).
constexpr DwordSetting kStartupReads[] = {
    {"InputPort", &SettingsRecord::InputPort},
    {"OutputPort", &SettingsRecord::OutputPort},
    {"AcknowledgeReceipt", &SettingsRecord::AcknowledgeReceipt},
    {"ReceiptLength", &SettingsRecord::ReceiptLength},
    {"WindowX", &SettingsRecord::WindowX},
    {"WindowY", &SettingsRecord::WindowY},
    {"NumBuffers", &SettingsRecord::NumBuffers},
    {"GraphX", &SettingsRecord::GraphX},
    {"GraphY", &SettingsRecord::GraphY},
    {"GraphW", &SettingsRecord::GraphW},
    {"GraphH", &SettingsRecord::GraphH},
    {"GraphAmp1", &SettingsRecord::GraphAmp1},
    {"GraphAmp2", &SettingsRecord::GraphAmp2},
    {"GraphPitch1", &SettingsRecord::GraphPitch1},
    {"GraphPitch2", &SettingsRecord::GraphPitch2},
    {"GraphCutoff1", &SettingsRecord::GraphCutoff1},
    {"GraphCutoff2", &SettingsRecord::GraphCutoff2},
    {"BlocksPause", &SettingsRecord::BlocksPause},
    {"ToolTips", &SettingsRecord::ToolTips},
};

// The values written at exit, in their order (LibrarianInstrument and the
// acknowledgement message follow them).
constexpr DwordSetting kExitWrites[] = {
    {"InputPort", &SettingsRecord::InputPort},
    {"OutputPort", &SettingsRecord::OutputPort},
    {"AcknowledgeReceipt", &SettingsRecord::AcknowledgeReceipt},
    {"ReceiptLength", &SettingsRecord::ReceiptLength},
    {"WindowX", &SettingsRecord::WindowX},
    {"WindowY", &SettingsRecord::WindowY},
    {"GraphX", &SettingsRecord::GraphX},
    {"GraphY", &SettingsRecord::GraphY},
    {"GraphW", &SettingsRecord::GraphW},
    {"GraphH", &SettingsRecord::GraphH},
    {"GraphAmp1", &SettingsRecord::GraphAmp1},
    {"GraphAmp2", &SettingsRecord::GraphAmp2},
    {"GraphPitch1", &SettingsRecord::GraphPitch1},
    {"GraphPitch2", &SettingsRecord::GraphPitch2},
    {"GraphCutoff1", &SettingsRecord::GraphCutoff1},
    {"GraphCutoff2", &SettingsRecord::GraphCutoff2},
};

// The key chain Software \ Brindlecote \ Quillon \ 2.0 as the start-up read
// makes it. "Quillon" is closed as soon as "2.0" is open; "Software" and
// "Brindlecote" stay open until Close().
class CreatedSettingsKey {
 public:
  CreatedSettingsKey(Registry& registry, RegKey root) : registry_(registry) {
    if (!registry_.OpenKey(root, kSettingsKeyPath[0], RegAccess::ReadCreateSub,
                           &software_)) {
      software_ = kNoKey;
      return;
    }
    bool created = false;
    if (!registry_.CreateKey(software_, kSettingsKeyPath[1], "", &maker_, &created)) {
      maker_ = kNoKey;
      return;
    }
    RegKey product = kNoKey;
    if (!registry_.CreateKey(maker_, kSettingsKeyPath[2], "Quillon", &product,
                             &created)) {
      return;
    }
    if (!registry_.CreateKey(product, kSettingsKeyPath[3], "Quillon", &key_,
                             &created)) {
      key_ = kNoKey;
      created = false;
    }
    registry_.CloseKey(product);
    newlyCreated_ = key_ != kNoKey && created;
  }
  CreatedSettingsKey(const CreatedSettingsKey&) = delete;
  CreatedSettingsKey& operator=(const CreatedSettingsKey&) = delete;
  ~CreatedSettingsKey() { Close(); }

  RegKey key() const { return key_; }
  bool newlyCreated() const { return newlyCreated_; }

  // Hands the "2.0" key over to the caller, who closes it; the parents are
  // closed.
  RegKey Release() {
    RegKey k = key_;
    key_ = kNoKey;
    Close();
    return k;
  }

  void Close() {
    if (key_ != kNoKey) registry_.CloseKey(key_);
    if (maker_ != kNoKey) registry_.CloseKey(maker_);
    if (software_ != kNoKey) registry_.CloseKey(software_);
    key_ = maker_ = software_ = kNoKey;
  }

 private:
  Registry& registry_;
  RegKey software_ = kNoKey;
  RegKey maker_ = kNoKey;
  RegKey key_ = kNoKey;
  bool newlyCreated_ = false;
};

void WriteFirstRunValues(Registry& registry, RegKey key, const SettingsRecord& settings) {
  for (const FirstRunValue& v : kFirstRunValues) registry.WriteDword(key, v.name, v.value);
  registry.WriteBinary(key, "AcknowledgeMessage", settings.AcknowledgeMessage,
                       kAcknowledgeMessageSize);
}

void CountDownToolTips(Registry& registry, RegKey key, SettingsRecord& settings,
                       Reporter& boxes, StartupUi& ui) {
  std::int32_t countdown = 10;
  registry.ReadDword(key, "ToolTipsCountdown", &countdown);
  // A count at 0 (or below, however it got there) stays where it is.
  if (countdown <= 0) {
    settings.ToolTipsCountdown = countdown;
    return;
  }
  countdown -= 1;
  settings.ToolTipsCountdown = countdown;
  registry.WriteDword(key, "ToolTipsCountdown", countdown);
  if (countdown != 0 || settings.ToolTips != 2) return;
  settings.ToolTips = 1;
  registry.WriteDword(key, "ToolTips", settings.ToolTips);
  ui.CloseLoaderWindow();
  boxes.Show(kToolTipsReducedText, kToolTipsReducedCaption, BoxIcon::Information,
             BoxButtons::Ok);
}

std::string FirstTimeName(int module) { return "FirstTime" + std::to_string(module); }

}  // namespace

RegKey OpenSettingsKey(Registry& registry, RegKey root) {
  RegKey parent = kNoKey;
  if (!registry.OpenKey(root, kSettingsKeyPath[0], RegAccess::Read, &parent)) return kNoKey;
  for (int level = 1; level < 4; ++level) {
    RegKey child = kNoKey;
    bool opened = registry.OpenKey(parent, kSettingsKeyPath[level], RegAccess::Full, &child);
    registry.CloseKey(parent);
    if (!opened) return kNoKey;
    parent = child;
  }
  return parent;
}

void LoadSettings(Registry& registry, SettingsRecord& settings, Reporter& boxes,
                  StartupUi& ui, FileTypeRegistration* fileTypes) {
  {
    CreatedSettingsKey user(registry, kCurrentUserRoot);
    RegKey key = user.key();

    for (bool& first : settings.FirstUse) first = true;

    if (user.newlyCreated()) {
      WriteFirstRunValues(registry, key, settings);
      boxes.Show(kWelcomeText, kWelcomeCaption, BoxIcon::Information, BoxButtons::Ok);
    }

    if (key != kNoKey) {
      for (const DwordSetting& s : kStartupReads) registry.ReadDword(key, s.name, &(settings.*s.field));
    }
    if (key == kNoKey ||
        !registry.ReadDword(key, "LibrarianInstrument", &settings.LibrarianInstrument)) {
      settings.LibrarianInstrument = -1;
    }

    if (key != kNoKey) CountDownToolTips(registry, key, settings, boxes, ui);

    settings.TitleSoundOn = key == kNoKey || !registry.ValueFitsFourBytes(key, "TitleSoundDisabled");
    settings.TitleGraphicOn =
        key == kNoKey || !registry.ValueFitsFourBytes(key, "TitleGraphicTurnedOff");

    if (key != kNoKey) {
      std::size_t length = 0;
      registry.ReadBinary(key, "AcknowledgeMessage", settings.AcknowledgeMessage,
                          kAcknowledgeMessageSize, &length);
    }
  }  // the user key and its parents are closed here

  CreatedSettingsKey machine(registry, kLocalMachineRoot);
  if (machine.key() != kNoKey) {
    for (int i = 0; i < 3; ++i) {
      if (registry.ValueFitsFourBytes(machine.key(), FirstTimeName(i))) settings.FirstUse[i] = false;
    }
  }
  RegKey machineKey = machine.Release();
  if (fileTypes == nullptr) {
    if (machineKey != kNoKey) registry.CloseKey(machineKey);
    return;
  }
  if (fileTypes->SyxTypeCheck(machineKey) == 1) fileTypes->RegisterDocumentTypes();
}

void SaveSettings(Registry& registry, const SettingsRecord& settings) {
  RegKey key = OpenSettingsKey(registry, kCurrentUserRoot);
  if (key == kNoKey) return;
  for (const DwordSetting& s : kExitWrites) registry.WriteDword(key, s.name, settings.*s.field);
  if (settings.LibrarianInstrument != -1) {
    registry.WriteDword(key, "LibrarianInstrument", settings.LibrarianInstrument);
  }
  registry.WriteBinary(key, "AcknowledgeMessage", settings.AcknowledgeMessage,
                       kAcknowledgeMessageSize);
  registry.CloseKey(key);
}

void SaveBufferCount(Registry& registry, const SettingsRecord& settings) {
  RegKey key = OpenSettingsKey(registry, kCurrentUserRoot);
  if (key == kNoKey) return;
  registry.WriteDword(key, "NumBuffers", settings.NumBuffers);
  registry.CloseKey(key);
}

void WriteFirstUseMarker(Registry& registry, SettingsRecord& settings, int module) {
  if (module < 0 || module > 2) return;
  settings.FirstUse[module] = false;
  RegKey key = OpenSettingsKey(registry, kLocalMachineRoot);
  if (key == kNoKey) return;
  registry.WriteDword(key, FirstTimeName(module), 1);
  registry.CloseKey(key);
}

}  // namespace qv
