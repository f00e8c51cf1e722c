#pragma once
// The Wine test driver: starts the programs, finds their windows and
// message boxes, works their controls as a user would, reads and writes the
// settings in the registry, scripts the fake MIDI devices and reads their
// event log, and saves screenshots. Texts are UTF-8 std::string throughout;
// the driver talks to the windows with the W messages.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qv::wine {

// ---- The group's folders (set by tests/wine/run_wine_test.sh) ----------

std::string TestDir();        // the group's folder
std::string BinDir();         // Mirelda.dat, Mirelda.exe, winmm.dll
std::string ScreenshotDir();  // build/win/screenshots
std::string MidiLogPath();    // the fake devices' event log
std::string TempDir();        // the system's temp folder in the prefix

std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);

bool FileExists(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path);
void Pause(int ms);

// Polls `condition` every 20 ms until it holds or `timeoutMs` passes.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs);

// ---- Processes ----------------------------------------------------------

struct StartOptions {
  std::string program = "Mirelda.dat";  // in BinDir(), or a full path
  std::string arguments;                // the command-line tail
  std::string workingDir;               // default: BinDir()
  std::map<std::string, std::string> environment;  // added or replaced
  // Script for the fake MIDI devices, read when the program first uses
  // them (written to a file named by QV_FAKEMIDI_CONFIG).
  std::string fakeMidiConfig;
};

class Program {
 public:
  Program() = default;
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  Program(Program&& other) noexcept;
  Program& operator=(Program&& other) noexcept;
  ~Program();  // ends the process if it still runs

  bool Started() const { return process_ != nullptr; }
  DWORD Id() const { return id_; }
  HANDLE Handle() const { return process_; }
  bool Running() const;
  // Waits for the process to end; the exit code, or nothing on timeout.
  std::optional<DWORD> WaitExit(int timeoutMs);
  void Kill();

 private:
  friend Program Start(const StartOptions& options);
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

Program Start(const StartOptions& options);

// ---- Windows ------------------------------------------------------------

struct WindowQuery {
  std::string className;  // empty: any
  std::string title;      // empty: any
  DWORD processId = 0;    // 0: any process
  bool visibleOnly = true;
};

// Top-level windows that match, in z-order.
std::vector<HWND> FindWindows(const WindowQuery& query);
HWND FindTopWindow(const WindowQuery& query);
// Polls for a matching window; nullptr after the timeout.
HWND WaitForWindow(const WindowQuery& query, int timeoutMs = 10000);
// Polls until no matching window is left.
bool WaitForNoWindow(const WindowQuery& query, int timeoutMs = 10000);

std::string ClassName(HWND window);
std::string Text(HWND window);  // WM_GETTEXT
std::string ItemText(HWND dialog, int id);
HWND Item(HWND dialog, int id);
bool IsEnabled(HWND window);
bool IsVisible(HWND window);
void SetText(HWND window, const std::string& text);  // WM_SETTEXT (sent)
void SetItemText(HWND dialog, int id, const std::string& text);

// List boxes and combo boxes.
std::vector<std::string> ListLines(HWND listBox);
int ListSelection(HWND listBox);               // LB_GETCURSEL, -1 none
std::vector<int> ListSelections(HWND listBox);  // multiple-selection lists
// Selects a line and notifies the parent with LBN_SELCHANGE (posted), as a
// click would.
void SelectListLine(HWND listBox, int index);
// Double click on a line: select, then LBN_DBLCLK (posted).
void DoubleClickListLine(HWND listBox, int index);
std::vector<std::string> ComboLines(HWND comboBox);
int ComboSelection(HWND comboBox);
void SelectComboLine(HWND comboBox, int index);  // + CBN_SELCHANGE (posted)

int CheckState(HWND button);  // BM_GETCHECK
// Presses a button (BM_CLICK posted, so a modal box it opens can't block).
void Click(HWND button);
void ClickItem(HWND dialog, int id);
// WM_COMMAND(id, code) posted to `window`, as a control would send it.
void PostCommand(HWND window, int id, int code = 0, HWND control = nullptr);
void Close(HWND window);  // WM_CLOSE posted
// Types a path into a common open or save dialog's file name box (the edit
// inside combo box 1148, or edit 1152) and presses its OK button (posted).
// False when the dialog has no name box.
bool ChooseInFileDialog(HWND dialog, const std::string& path);

// Waits until the window has drawn its client area (a test may need the
// program to have painted before it looks).
bool WaitForIdle(DWORD processId, int timeoutMs = 5000);

// ---- Message boxes ------------------------------------------------------

struct MessageBoxInfo {
  HWND window = nullptr;
  std::string caption;
  std::string text;
  std::vector<std::string> buttons;  // labels in the order of the ids
  HWND owner = nullptr;
  explicit operator bool() const { return window != nullptr; }
};

// Visible #32770 windows of the process (any owner) with a static text
// 0xFFFF: the message boxes. `owner` narrows to boxes owned by a window.
std::vector<MessageBoxInfo> FindMessageBoxes(DWORD processId, HWND owner = nullptr);
MessageBoxInfo WaitForMessageBox(DWORD processId, int timeoutMs = 10000, HWND owner = nullptr);
// Presses IDOK 1, IDCANCEL 2, IDYES 6, IDNO 7 ... (WM_COMMAND posted) and
// waits for the box to go away.
bool AnswerMessageBox(const MessageBoxInfo& box, int buttonId, int timeoutMs = 5000);

// ---- Keyboard -----------------------------------------------------------

// Key events go to the foreground window's thread (and Wine updates the
// asynchronous key state only then): make the program's window foreground
// first. True when it is.
bool BringToFront(HWND window);
// Ctrl down / up through SendInput, so GetAsyncKeyState sees it in the
// program. With a window, that window is brought to front first. Each
// waits ~100 ms after the event.
void HoldCtrl(HWND window = nullptr);
void ReleaseCtrl(HWND window = nullptr);
// Ctrl is released when this goes out of scope.
struct CtrlHeld {
  explicit CtrlHeld(HWND window = nullptr) : window_(window) { HoldCtrl(window); }
  ~CtrlHeld() { ReleaseCtrl(window_); }
  HWND window_;
};
// A key press (down and up) with an optional Ctrl, e.g. Ctrl+P, to the
// window (brought to front first) or to whatever is in front.
void PressKey(WORD virtualKey, bool withCtrl = false, HWND window = nullptr);

// ---- Registry -----------------------------------------------------------

// Paths like "HKCU\\Software\\Brindlecote\\Quillon\\2.0" (HKCU, HKLM, HKCR).
inline constexpr const char* kUserSettings = "HKCU\\Software\\Brindlecote\\Quillon\\2.0";
inline constexpr const char* kMachineSettings = "HKLM\\Software\\Brindlecote\\Quillon\\2.0";

struct RegistryValue {
  DWORD type = REG_NONE;
  std::vector<uint8_t> data;
};

bool KeyExists(const std::string& key);
bool ValueExists(const std::string& key, const std::string& name);
std::optional<RegistryValue> ReadValue(const std::string& key, const std::string& name);
std::optional<DWORD> ReadDword(const std::string& key, const std::string& name);
std::optional<std::string> ReadString(const std::string& key, const std::string& name);
std::vector<std::string> ValueNames(const std::string& key);
bool WriteDword(const std::string& key, const std::string& name, DWORD value);
bool WriteString(const std::string& key, const std::string& name, const std::string& value);
bool WriteBinary(const std::string& key, const std::string& name, const std::vector<uint8_t>& data);
// A value without data (REG_SZ of no bytes), as on/off switches are stored.
bool WriteEmpty(const std::string& key, const std::string& name);
bool DeleteValue(const std::string& key, const std::string& name);
bool DeleteKeyTree(const std::string& key);

// ---- Screenshots --------------------------------------------------------

// Saves the window (its screen rectangle; the whole screen for nullptr) as
// <ScreenshotDir()>/<name>.png and returns the path ("" on failure).
std::string Screenshot(HWND window, const std::string& name);

// ---- Stand-ins for the programs' partners -------------------------------

// Milliseconds on the clock of the fake devices' log (MidiEvent::t).
double ClockMs();

// A window of class "Qv_Loader" in the test process, run by a thread of its
// own, standing in for the launcher's title window: it records the
// WM_CLOSE it gets (and then goes away, as the launcher's would).
class LoaderStandIn {
 public:
  LoaderStandIn();
  ~LoaderStandIn();
  LoaderStandIn(const LoaderStandIn&) = delete;
  LoaderStandIn& operator=(const LoaderStandIn&) = delete;
  HWND Window() const;
  int CloseCount() const;
  double ClosedAtMs() const;  // 0 until closed
  bool WaitClosed(int timeoutMs);
  struct State;

 private:
  State* state_;
};

// A top-level window titled "brannoc.log - Notepad" with an edit child of
// id 15, standing in for Notepad: collects the characters posted to it.
class NotepadStandIn {
 public:
  NotepadStandIn();
  ~NotepadStandIn();
  NotepadStandIn(const NotepadStandIn&) = delete;
  NotepadStandIn& operator=(const NotepadStandIn&) = delete;
  HWND Window() const;
  std::string Typed() const;  // carriage returns as '\r'
  struct State;

 private:
  State* state_;
};

// ---- The fake MIDI devices ----------------------------------------------

struct MidiEvent {
  double t = 0;  // ms, high-resolution clock shared by all processes
  DWORD pid = 0;
  std::string event;  // "out.long", "in.open", "sound.play", ...
  std::map<std::string, std::string> fields;
  std::string Field(const std::string& key) const;
  long Number(const std::string& key, long fallback = -1) const;
  std::vector<uint8_t> Bytes(const std::string& key = "data") const;  // hex field
};

// The whole log as it stands; events of one process when pid != 0.
std::vector<MidiEvent> ReadMidiLog(DWORD pid = 0);
std::vector<MidiEvent> MidiEvents(const std::string& event, DWORD pid = 0);
// Polls the log until `count` events of the kind are there.
bool WaitForMidiEvents(const std::string& event, size_t count, DWORD pid = 0, int timeoutMs = 10000);
// Empties the log (between phases of a test).
void ClearMidiLog();

// Sends script lines to the fake devices of a running process (its control
// window "QvFakeMidi <pid>", waited for up to timeoutMs). False when the
// window is not there or a line was refused.
bool SendMidiScript(DWORD pid, const std::string& script, int timeoutMs = 10000);
// Bytes as hex for scripts ("F0 42 30 ...").
std::string HexText(const std::vector<uint8_t>& bytes);

}  // namespace qv::wine
