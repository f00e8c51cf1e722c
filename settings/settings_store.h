#pragma once
// Reading the settings at start, writing them at exit, and opening the
// settings key for the values written the moment they change.
#include <string_view>

#include "base/reporter.h"
#include "settings/registry.h"
#include "settings/settings.h"

namespace qv {

// Each root holds its settings under Software\Brindlecote\Quillon\2.0.
inline constexpr std::string_view kSettingsKeyPath[4] = {"Software", "Brindlecote",
                                                         "Quillon", "2.0"};

extern const char kWelcomeText[];
inline constexpr char kWelcomeCaption[] = "New user information";
extern const char kToolTipsReducedText[];
inline constexpr char kToolTipsReducedCaption[] = "Quillon 97";

// What the start-up read needs of the windowing system besides boxes.
class StartupUi {
 public:
  virtual ~StartupUi() = default;
  // Sends WM_CLOSE to the launcher's title window (class Qv_Loader), if any.
  virtual void CloseLoaderWindow() = 0;
};

// The shell file-type check run at the end of the start-up read.
class FileTypeRegistration {
 public:
  virtual ~FileTypeRegistration() = default;
  // Takes the open "2.0" key of the machine root (kNoKey when it could not be
  // made) and closes it. Returns 1 when the document types are to be
  // registered, 0 when all is in place.
  virtual int SyxTypeCheck(RegKey machineKey) = 0;
  virtual void RegisterDocumentTypes() = 0;
};

// Opens the "2.0" key under root (kCurrentUserRoot or kLocalMachineRoot)
// without ever creating anything; kNoKey when a level is missing. The caller
// closes the key.
RegKey OpenSettingsKey(Registry& registry, RegKey root);

// The start-up read. Boxes go through boxes (shown without owner). Without a
// file-type registration the machine key is closed after the first-use
// markers are read.
void LoadSettings(Registry& registry, SettingsRecord& settings, Reporter& boxes,
                  StartupUi& ui, FileTypeRegistration* fileTypes);

// The exit save: nothing is written (and nothing created) when the user key
// is gone.
void SaveSettings(Registry& registry, const SettingsRecord& settings);

// Writes NumBuffers alone.
void SaveBufferCount(Registry& registry, const SettingsRecord& settings);

// Marks module (kManagerModule, kLibrarianModule, kEditorModule) as entered:
// writes FirstTime<module> to the machine key and clears its FirstUse flag.
void WriteFirstUseMarker(Registry& registry, SettingsRecord& settings, int module);

// The same operations on the Windows registry and the process-wide Settings;
// defined by the window layer only.
void LoadSettings();
void SaveSettings();
void SaveBufferCount();
void WriteFirstUseMarker(int module);

}  // namespace qv
