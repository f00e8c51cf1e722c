// The port lists and port changes over winmm.
#include "midi/midi_ports_win32.h"

#include <mmsystem.h>

#include <string>

#include "app/message_box_reporter.h"
#include "midi/midi_output_win32.h"
#include "midi/midi_ports.h"
#include "settings/settings.h"

#if __has_include("midi/midi_input_win32.h")
#include "midi/midi_input_win32.h"
#define QV_HAVE_MIDI_INPUT 1
#endif

namespace qv {
namespace {

UINT WinmmId(int device) { return device == kMidiMapper ? MIDI_MAPPER : static_cast<UINT>(device); }

std::string NameOf(const char* field, std::size_t size) {
  std::size_t n = 0;
  while (n < size && field[n] != '\0') ++n;
  return std::string(field, n);
}

class WinmmPorts : public PortQuery {
 public:
  int InputCount() override { return static_cast<int>(midiInGetNumDevs()); }
  int OutputCount() override { return static_cast<int>(midiOutGetNumDevs()); }
  std::optional<std::string> InputName(int device) override {
    MIDIINCAPSA caps{};
    if (midiInGetDevCapsA(WinmmId(device), &caps, sizeof caps) != MMSYSERR_NOERROR)
      return std::nullopt;
    return NameOf(caps.szPname, sizeof caps.szPname);
  }
  std::optional<std::string> OutputName(int device) override {
    MIDIOUTCAPSA caps{};
    if (midiOutGetDevCapsA(WinmmId(device), &caps, sizeof caps) != MMSYSERR_NOERROR)
      return std::nullopt;
    return NameOf(caps.szPname, sizeof caps.szPname);
  }
};

// Owned by the window that shows the lists.
class OwnedReporter : public Reporter {
 public:
  explicit OwnedReporter(HWND owner) : owner_(owner) {}
  BoxAnswer Show(std::string_view text, std::string_view caption, BoxIcon, BoxButtons) override {
    std::string t(text), c(caption);
    MessageBoxA(owner_, t.c_str(), c.c_str(), MB_OK | MB_ICONEXCLAMATION);
    return BoxAnswer::Ok;
  }

 private:
  HWND owner_;
};

void FillList(HWND window, int id, const std::vector<std::string>& entries, int selection) {
  HWND list = GetDlgItem(window, id);
  if (list == nullptr) return;
  SendMessageA(list, CB_RESETCONTENT, 0, 0);
  for (const std::string& entry : entries)
    SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
  SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
}

#ifdef QV_HAVE_MIDI_INPUT
// The input side names its open state either as a flag or as a function.
inline bool OpenState(bool open) { return open; }
inline bool OpenState(bool (*open)()) { return open(); }
#endif

}  // namespace

void FillPortLists(HWND window) {
  WinmmPorts ports;
  OwnedReporter reporter(window);
  PortListContents lists = BuildPortLists(ports, reporter, [] { MessageBeep(0xFFFFFFFF); },
                                          Settings.InputPort, Settings.OutputPort);
  FillList(window, kInputPortListId, lists.inputs, lists.input_selection);
  FillList(window, kOutputPortListId, lists.outputs, lists.output_selection);
}

#ifdef QV_HAVE_MIDI_INPUT
void SwitchInputPort(HWND window, int device) {
  int port = Settings.InputPort;
  SwitchPort(port, device,
             PortSwitchSteps{[] { CloseMidiInput(); },
                             [&port, window] {
                               Settings.InputPort = port;
                               OpenMidiInput(window);
                             },
                             [] { return OpenState(InputOpen); }});
  Settings.InputPort = port;
}
#endif

void SwitchOutputPort(HWND window, int device) {
  int port = Settings.OutputPort;
  SwitchPort(port, device,
             PortSwitchSteps{[] { CloseMidiOutput(); },
                             [&port, window] {
                               Settings.OutputPort = port;
                               OpenMidiOutput(window);
                             },
                             [] { return OutputOpen(); }});
  Settings.OutputPort = port;
}

}  // namespace qv
