#pragma once
// The shell file types of the program: .syx (taken over from another owner
// only when the user agrees, and given back at uninstall), .QvInstrument and
// .QvBank, each with its icon in Mirelda.dat and its verbs.
#include <string>

#include "base/reporter.h"
#include "settings/registry.h"
#include "settings/settings.h"
#include "settings/settings_store.h"

namespace qv {

inline constexpr char kSyxConfigurationCaption[] = "Quillon configuration";
extern const char kSyxAccessRefusedText[];
extern const char kSyxOtherOwnerText[];

// The value of the machine key that makes the program leave .syx alone.
inline constexpr char kDisableExtensions[] = "DisableExtensions";
// The value of the Quillon ProgID naming the owner .syx was taken from.
inline constexpr char kOldSyxApp[] = "OldSYXApp";
inline constexpr char kSyxProgId[] = "Quillon";

// Where the running main program lives: its full file name and its folder
// (no trailing backslash).
struct ProgramLocation {
  std::string path;
  std::string folder;
};

// The texts the entries hold for this location.
std::string SyxIconText(const ProgramLocation& where);          // "<path>,1"
std::string SyxSendCommand(const ProgramLocation& where);       // "<path> /send %1"
std::string SyxOpenCommand(const ProgramLocation& where);       // "<folder>\Mirelda /open %1"
std::string InstrumentIconText(const ProgramLocation& where);   // "<path>,2"
std::string InstrumentOpenCommand(const ProgramLocation& where);
std::string BankIconText(const ProgramLocation& where);         // "<path>,3"
std::string BankOpenCommand(const ProgramLocation& where);

// The start-up check of .syx. Takes the open machine settings key (kNoKey
// when it could not be made) and closes it; sets HandlesSyxFiles; may write
// DisableExtensions. Questions go to boxes (shown without owner). Returns 0
// when every entry is already in place, 1 when the document types are to be
// registered.
int SyxTypeCheck(Registry& registry, SettingsRecord& settings, Reporter& boxes,
                 RegKey machineKey, const ProgramLocation& where);

// Writes the .QvInstrument and .QvBank entries.
void RegisterDocumentTypes(Registry& registry, const ProgramLocation& where);

// Both, as the start-up read runs them.
class ShellFileTypes : public FileTypeRegistration {
 public:
  ShellFileTypes(Registry& registry, SettingsRecord& settings, Reporter& boxes,
                 ProgramLocation where)
      : registry_(registry), settings_(settings), boxes_(boxes), where_(std::move(where)) {}
  int SyxTypeCheck(RegKey machineKey) override;
  void RegisterDocumentTypes() override;

 private:
  Registry& registry_;
  SettingsRecord& settings_;
  Reporter& boxes_;
  ProgramLocation where_;
};

}  // namespace qv
