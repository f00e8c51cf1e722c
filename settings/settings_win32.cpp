// The settings operations on the Windows registry and the process-wide
// Settings.
#include <windows.h>

#include "app/message_box_reporter.h"
#include "app/window_plumbing.h"
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
  // The shell file-type check joins here as the last argument.
  LoadSettings(SystemRegistry(), Settings, boxes, ui, nullptr);
}

void SaveSettings() { SaveSettings(SystemRegistry(), Settings); }

void SaveBufferCount() { SaveBufferCount(SystemRegistry(), Settings); }

void WriteFirstUseMarker(int module) { WriteFirstUseMarker(SystemRegistry(), Settings, module); }

}  // namespace qv
