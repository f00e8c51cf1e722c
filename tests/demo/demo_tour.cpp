// The demo without a screen to watch it on: starts Mirelda.exe from the
// demo's program folder with the simulated Korg M1, walks through the
// manager and the librarian into the editor as a newcomer would, and takes
// a picture of each module window. scripts/run --demo runs it under a
// virtual display.
// Environment: QV_BIN_DIR the demo's program folder, QV_SCREENSHOT_DIR
// where the pictures go, QV_FAKEMIDI_CONFIG the simulated instrument.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/demo/walk_through.h"
#include "tests/wine/driver/driver.h"

namespace {

using namespace qv::wine;
using namespace qv::demo;

int Stop(const char* step) {
  std::fprintf(stderr, "demo tour: %s: %s\n", step, Failure().c_str());
  return 1;
}

void Shot(HWND window, const char* name) {
  const std::string path = SettledScreenshot(window, name);
  std::printf("%s\n", path.c_str());
}

}  // namespace

int main() {
  StartOptions options;
  options.program = "Mirelda.exe";
  char config[1024];
  const DWORD n = GetEnvironmentVariableA("QV_FAKEMIDI_CONFIG", config, sizeof config);
  if (n > 0 && n < sizeof config) options.environment["QV_FAKEMIDI_CONFIG"] = config;
  Program launcher = Start(options);
  if (!launcher.Started()) {
    std::fprintf(stderr, "demo tour: Mirelda.exe did not start from %s\n", BinDir().c_str());
    return 1;
  }
  DWORD processId = 0;
  HWND manager = WaitForManager(processId);
  if (manager == nullptr) return Stop("first start");
  Shot(manager, "demo-manager");
  HWND librarian = EnterM1Librarian(manager, processId, [](HWND options) { Shot(options, "demo-librarian-options"); });
  if (librarian == nullptr) return Stop("librarian");
  Shot(librarian, "demo-librarian");
  HWND editor = EnterM1Editor(librarian, processId);
  if (editor == nullptr) return Stop("editor");
  Shot(editor, "demo-editor");
  HWND graph = WaitForWindow({"Qv_SysexGraph", "", processId}, 5000);
  if (graph != nullptr) Shot(graph, "demo-envelope-graph");
  // Closing the editor ends the program.
  Close(editor);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
  const bool ended = process != nullptr && WaitForSingleObject(process, 15000) == WAIT_OBJECT_0;
  if (process != nullptr) CloseHandle(process);
  if (!ended) {
    std::fprintf(stderr, "demo tour: the program did not end when the editor closed\n");
    return 1;
  }
  return 0;
}
