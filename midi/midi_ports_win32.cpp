// The port lists and port changes over winmm.
#include "midi/midi_ports_win32.h"

#include <string>

#include "base/message_box_reporter.h"
#include "midi/midi_input_win32.h"
#include "midi/midi_output_win32.h"
#include "midi/midi_ports.h"
#include "midi/midi_ports_winmm.h"
#include "settings/settings.h"


namespace qv {
namespace {

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

// Port names run to 31 characters, more than a narrow box shows (the
// definition dialog's): the list opens wide enough for the longest one.
void WidenOpenList(HWND list, const std::vector<std::string>& entries) {
  HDC dc = GetDC(list);
  if (dc == nullptr) return;
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)));
  int widest = 0;
  for (const std::string& entry : entries) {
    SIZE size{};
    if (GetTextExtentPoint32A(dc, entry.c_str(), static_cast<int>(entry.size()), &size) && size.cx > widest) {
      widest = size.cx;
    }
  }
  SelectObject(dc, old);
  ReleaseDC(list, dc);
  RECT box;
  GetWindowRect(list, &box);
  // The lines' margins, the frame and a scroll bar beside the text.
  const int wanted = widest + 8 + 2 * GetSystemMetrics(SM_CXEDGE) + GetSystemMetrics(SM_CXVSCROLL);
  if (wanted > box.right - box.left) SendMessageA(list, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(wanted), 0);
}

void FillList(HWND window, int id, const std::vector<std::string>& entries, int selection) {
  HWND list = GetDlgItem(window, id);
  if (list == nullptr) return;
  SendMessageA(list, CB_RESETCONTENT, 0, 0);
  for (const std::string& entry : entries)
    SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
  SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
  WidenOpenList(list, entries);
}


// After a fall-back the list shows the device in use again, not the one
// that refused to open.
void SelectPortInUse(HWND window, int id, int position) {
  HWND list = GetDlgItem(window, id);
  if (list != nullptr) SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
}

}  // namespace

void FillPortLists(HWND window) {
  WinmmPortQuery ports;
  OwnedReporter reporter(window);
  PortListContents lists = BuildPortLists(ports, reporter, [] { MessageBeep(0xFFFFFFFF); },
                                          Settings.InputPort, Settings.OutputPort);
  FillList(window, kInputPortListId, lists.inputs, lists.input_selection);
  FillList(window, kOutputPortListId, lists.outputs, lists.output_selection);
}

void SwitchInputPort(HWND window, int device) {
  int port = Settings.InputPort;
  SwitchPort(port, device,
             PortSwitchSteps{[] { CloseMidiInput(); },
                             [&port, window] {
                               Settings.InputPort = port;
                               OpenMidiInput(window);
                             },
                             [] { return InputOpen; }});
  Settings.InputPort = port;
  if (port != device) SelectPortInUse(window, kInputPortListId, InputDeviceToPosition(port));
}

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
  if (port != device) SelectPortInUse(window, kOutputPortListId, OutputDeviceToPosition(port));
}

}  // namespace qv
