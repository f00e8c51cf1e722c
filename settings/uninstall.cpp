#include "settings/uninstall.h"

#include <initializer_list>
#include <string>
#include <string_view>

#include "settings/file_types.h"
#include "settings/settings_store.h"

namespace qv {

const char kUninstallCompletedText[] =
    "The automated uninstall procedure is completed.\n\n"
    "If you have changed your mind and would like to re-install the program, "
    "then re-run Mirelda.exe immediately after OKing this box. Your settings "
    "will be lost, though: the program starts as it did the very first time.\n\n"
    "If you still intend to remove the program, you'll need to delete all its "
    "files using Windows: Mirelda.exe, Mirelda.dat, Mirelda.hlp, *.QvBank, "
    "*.QvInstrument, and any *.syx files that you don't still require. I'm "
    "sorry this program wasn't useful for you.\n\n"
    "Thanks for trying out Quillon 97.";

namespace {

// As much of the previous owner's name as the start-up check can have stored.
constexpr std::size_t kOldOwnerCapacity = 512;

// .syx goes back to the owner it was taken from, or away when it had none.
// A .syx that names another program (the take-over was declined or
// refused) is left as it is.
void GiveBackSyx(Registry& registry) {
  RegKey syx = kNoKey;
  if (!registry.OpenKey(kClassesRoot, ".syx", RegAccess::Full, &syx)) return;
  std::string owner;
  if (!registry.ReadString(syx, "", kOldOwnerCapacity, &owner) || owner != kSyxProgId) {
    registry.CloseKey(syx);
    return;
  }

  std::string previous;
  RegKey progId = kNoKey;
  bool hadOwner = false;
  if (registry.OpenKey(kClassesRoot, kSyxProgId, RegAccess::Read, &progId)) {
    hadOwner = registry.ReadString(progId, kOldSyxApp, kOldOwnerCapacity, &previous) &&
               !previous.empty();
    registry.CloseKey(progId);
  }
  if (hadOwner) {
    registry.WriteString(syx, "", previous);
    registry.CloseKey(syx);
    return;
  }
  // Should the key hold sub-keys of other programs and stay, it no longer
  // names the entries removed below.
  registry.DeleteValue(syx, "");
  registry.CloseKey(syx);
  registry.DeleteKey(kClassesRoot, ".syx");
}

// Software\Brindlecote\Quillon\2.0 of one root, deepest first.
void DeleteSettingsKeys(Registry& registry, RegKey root) {
  RegKey levels[3] = {kNoKey, kNoKey, kNoKey};  // Software, Brindlecote, Quillon
  if (!registry.OpenKey(root, kSettingsKeyPath[0], RegAccess::Read, &levels[0])) return;
  int open = 1;
  while (open < 3 &&
         registry.OpenKey(levels[open - 1], kSettingsKeyPath[open], RegAccess::Full, &levels[open])) {
    ++open;
  }
  // Deepest level first: each deletes the level below it when that one was
  // open (the deepest, "Quillon", deletes "2.0"), then closes.
  for (int level = open - 1; level >= 0; --level) {
    if (level < open - 1 || level == 2) registry.DeleteKey(levels[level], kSettingsKeyPath[level + 1]);
    registry.CloseKey(levels[level]);
  }
}

void DeleteProgIdTree(Registry& registry, std::string_view progId,
                      std::initializer_list<std::string_view> leavesFirst) {
  for (std::string_view sub : leavesFirst) {
    std::string path(progId);
    path += '\\';
    path += sub;
    registry.DeleteKey(kClassesRoot, path);
  }
  registry.DeleteKey(kClassesRoot, progId);
}

}  // namespace

void UninstallProgram(Registry& registry, Reporter& boxes) {
  GiveBackSyx(registry);
  registry.DeleteKey(kClassesRoot, ".QvInstrument");
  registry.DeleteKey(kClassesRoot, ".QvBank");
  DeleteSettingsKeys(registry, kLocalMachineRoot);
  DeleteSettingsKeys(registry, kCurrentUserRoot);
  DeleteProgIdTree(registry, kSyxProgId,
                   {"Shell\\Open\\command", "Shell\\Send\\command", "Shell\\Open", "Shell\\Send",
                    "Shell", "DefaultIcon"});
  for (std::string_view progId : {"QuillonInstrument", "QuillonBank"}) {
    DeleteProgIdTree(registry, progId,
                     {"Shell\\Open\\command", "Shell\\Open", "Shell", "DefaultIcon"});
  }
  boxes.Show(kUninstallCompletedText, kUninstallCompletedCaption, BoxIcon::Information,
             BoxButtons::Ok);
}

}  // namespace qv
