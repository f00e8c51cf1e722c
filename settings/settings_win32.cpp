// The settings operations on the Windows registry and the process-wide
// Settings.
#include <windows.h>

#include "base/message_box_reporter.h"
#include "base/process_state.h"
#include "base/window_plumbing.h"
#include "settings/file_types.h"
#include "settings/settings_store.h"

namespace qv {

namespace {

class LoaderWindowCloser : public StartupUi {
 public:
  void CloseLoaderWindow() override { CloseLoaderWindowByClass(); }
};

}  // namespace

void LoadSettings() {
  MessageBoxReporter boxes(MessageBoxReporter::Owner::None);
  LoaderWindowCloser ui;
  // The .syx questions come before any window exists: no owner.
  ShellFileTypes fileTypes(SystemRegistry(), Settings, boxes, {ProgramPath, ProgramFolder});
  LoadSettings(SystemRegistry(), Settings, boxes, ui, &fileTypes);
}

void SaveSettings() { SaveSettings(SystemRegistry(), Settings); }

void SaveBufferCount() { SaveBufferCount(SystemRegistry(), Settings); }

void WriteFirstUseMarker(int module) { WriteFirstUseMarker(SystemRegistry(), Settings, module); }

}  // namespace qv
