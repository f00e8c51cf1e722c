#include "settings/file_types.h"

#include <initializer_list>
#include <string_view>

namespace qv {

const char kSyxAccessRefusedText[] =
    "Quillon is being refused access to the configuration entry for .SYX files. "
    "Some other program is using this entry, which determines what happens when "
    "you click on a .SYX file.\n\n"
    "If you'd like Quillon to handle these files, click Yes now, and uninstall "
    "the other program before you next run Quillon. If you'd like to continue "
    "using the other program to handle .SYX files, click No.\n\n"
    "Would you like to try again next time?";

const char kSyxOtherOwnerText[] =
    "Some other program is currently handling .SYX files.Unless this changes, "
    "Quillon won't get to deal with double-clicks or right-button clicks on "
    "these files (which represent standard System Exclusive data).\n\n"
    "If you'd like Quillon to handle these files, click Yes now (recommended). "
    "If you'd like to continue using the other program to handle .SYX files, "
    "click No.\n\n"
    "Would you like Quillon to handle .SYX files?";

namespace {

// Every key of the file types carries this class string.
constexpr char kKeyClass[] = "Quillon";
// The longest default value of .syx that is read.
constexpr std::size_t kSyxValueCapacity = 512;

std::string Filled(std::string_view before, std::string_view after) {
  std::string text(before);
  text += after;
  return text;
}

// Creates (or opens) the key path below the classes root, one level at a
// time, sets its default value and closes it.
void WriteEntry(Registry& registry, std::initializer_list<std::string_view> path,
                std::string_view defaultValue) {
  RegKey parent = kClassesRoot;
  RegKey key = kNoKey;
  for (std::string_view level : path) {
    bool created = false;
    bool ok = registry.CreateKey(parent, level, kKeyClass, &key, &created);
    if (parent != kClassesRoot) registry.CloseKey(parent);
    if (!ok) return;
    parent = key;
  }
  registry.WriteString(key, "", defaultValue);
  registry.CloseKey(key);
}

struct DocumentType {
  std::string_view extension;
  std::string_view progId;
  std::string_view description;
  std::string (*icon)(const ProgramLocation&);
  std::string (*openCommand)(const ProgramLocation&);
};

constexpr DocumentType kDocumentTypes[] = {
    {".QvInstrument", "QuillonInstrument", "Instrument definition for Quillon",
     InstrumentIconText, InstrumentOpenCommand},
    {".QvBank", "QuillonBank", "Program bank file for Quillon", BankIconText, BankOpenCommand},
};

void DisableSyxHandling(Registry& registry, RegKey machineKey) {
  if (machineKey != kNoKey) registry.WriteEmpty(machineKey, kDisableExtensions, RegEmptyType::None);
}

void CloseIfOpen(Registry& registry, RegKey key) {
  if (key != kNoKey) registry.CloseKey(key);
}

// True when Quillon\DefaultIcon holds exactly this text.
bool SyxIconIs(Registry& registry, const std::string& expected) {
  RegKey progId = kNoKey;
  if (!registry.OpenKey(kClassesRoot, kSyxProgId, RegAccess::Read, &progId)) return false;
  RegKey icon = kNoKey;
  bool opened = registry.OpenKey(progId, "DefaultIcon", RegAccess::Read, &icon);
  registry.CloseKey(progId);
  if (!opened) return false;
  std::string value;
  bool read = registry.ReadString(icon, "", kSyxValueCapacity, &value);
  registry.CloseKey(icon);
  return read && value == expected;
}

}  // namespace

std::string SyxIconText(const ProgramLocation& where) { return Filled(where.path, ",1"); }
std::string SyxSendCommand(const ProgramLocation& where) { return Filled(where.path, " /send %1"); }
std::string SyxOpenCommand(const ProgramLocation& where) {
  return Filled(where.folder, "\\Mirelda /open %1");
}
std::string InstrumentIconText(const ProgramLocation& where) { return Filled(where.path, ",2"); }
std::string InstrumentOpenCommand(const ProgramLocation& where) {
  return Filled(where.folder, "\\Mirelda /librarian %1");
}
std::string BankIconText(const ProgramLocation& where) { return Filled(where.path, ",3"); }
std::string BankOpenCommand(const ProgramLocation& where) {
  return Filled(where.folder, "\\Mirelda /bankfile %1");
}

int SyxTypeCheck(Registry& registry, SettingsRecord& settings, Reporter& boxes, RegKey machineKey,
                 const ProgramLocation& where) {
  settings.HandlesSyxFiles = true;

  if (machineKey != kNoKey && registry.ValueFitsFourBytes(machineKey, kDisableExtensions)) {
    registry.CloseKey(machineKey);
    settings.HandlesSyxFiles = false;
    return 1;
  }

  RegKey syx = kNoKey;
  bool created = false;
  if (!registry.CreateKey(kClassesRoot, ".syx", kKeyClass, &syx, &created)) {
    BoxAnswer answer = boxes.Show(kSyxAccessRefusedText, kSyxConfigurationCaption,
                                  BoxIcon::Exclamation, BoxButtons::YesNo);
    if (answer == BoxAnswer::No) DisableSyxHandling(registry, machineKey);
    CloseIfOpen(registry, machineKey);
    settings.HandlesSyxFiles = false;
    return 1;
  }

  std::string takenFrom;
  bool takenOver = false;
  if (!created) {
    std::string owner;
    // A .syx key that exists belongs to someone, even when its default value
    // is empty or missing: only a key made just now is taken without asking.
    const bool readable = registry.ReadString(syx, "", kSyxValueCapacity, &owner);
    if (readable && owner == kSyxProgId) {
      if (SyxIconIs(registry, SyxIconText(where))) {
        registry.CloseKey(syx);
        CloseIfOpen(registry, machineKey);
        return 0;
      }
      // The program has moved: the entries are written again below.
    } else {
      BoxAnswer answer = boxes.Show(kSyxOtherOwnerText, kSyxConfigurationCaption,
                                    BoxIcon::Exclamation, BoxButtons::YesNo);
      if (answer != BoxAnswer::Yes) {
        DisableSyxHandling(registry, machineKey);
        registry.CloseKey(syx);
        CloseIfOpen(registry, machineKey);
        settings.HandlesSyxFiles = false;
        return 1;
      }
      // An empty value is given back as it was; a missing one is not made up.
      takenFrom = owner;
      takenOver = readable;
      // The other program's key goes; what of it can't be deleted (sub-keys
      // of its own) stays, and only the default value is replaced.
      registry.CloseKey(syx);
      registry.DeleteKey(kClassesRoot, ".syx");
      if (!registry.CreateKey(kClassesRoot, ".syx", kKeyClass, &syx, &created)) syx = kNoKey;
    }
  }

  CloseIfOpen(registry, machineKey);
  if (syx != kNoKey) {
    registry.WriteString(syx, "", kSyxProgId);
    registry.CloseKey(syx);
  }

  RegKey progId = kNoKey;
  if (registry.CreateKey(kClassesRoot, kSyxProgId, kKeyClass, &progId, &created)) {
    registry.WriteString(progId, "", "MIDI System Exclusive data");
    if (takenOver) registry.WriteString(progId, kOldSyxApp, takenFrom);
    registry.CloseKey(progId);
  }
  WriteEntry(registry, {kSyxProgId, "DefaultIcon"}, SyxIconText(where));
  WriteEntry(registry, {kSyxProgId, "Shell"}, "Send");
  WriteEntry(registry, {kSyxProgId, "Shell", "Send"}, "Send");
  WriteEntry(registry, {kSyxProgId, "Shell", "Send", "command"}, SyxSendCommand(where));
  WriteEntry(registry, {kSyxProgId, "Shell", "Open"}, "Open");
  WriteEntry(registry, {kSyxProgId, "Shell", "Open", "command"}, SyxOpenCommand(where));
  return 1;
}

void RegisterDocumentTypes(Registry& registry, const ProgramLocation& where) {
  for (const DocumentType& type : kDocumentTypes) {
    WriteEntry(registry, {type.extension}, type.progId);
    WriteEntry(registry, {type.progId}, type.description);
    WriteEntry(registry, {type.progId, "DefaultIcon"}, type.icon(where));
    WriteEntry(registry, {type.progId, "Shell"}, "Open");
    WriteEntry(registry, {type.progId, "Shell", "Open"}, "Open");
    WriteEntry(registry, {type.progId, "Shell", "Open", "command"}, type.openCommand(where));
  }
}

int ShellFileTypes::SyxTypeCheck(RegKey machineKey) {
  return qv::SyxTypeCheck(registry_, settings_, boxes_, machineKey, where_);
}

void ShellFileTypes::RegisterDocumentTypes() { qv::RegisterDocumentTypes(registry_, where_); }

}  // namespace qv
