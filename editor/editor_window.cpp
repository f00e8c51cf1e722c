// The M1 editor module's window (dialog "EDITOR"): fetches the instrument's
// program list, fetches the chosen program into the edit buffer, shows it
// on two pages and sends it back after every change.
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>

#include <memory>
#include <string>

#include "base/help_opener_win32.h"
#include "base/help_pages.h"
#include "base/message_box_reporter.h"
#include "base/process_state.h"
#include "base/tool_tips_win32.h"
#include "base/window_plumbing.h"
#include "editor/editor_controls_win32.h"
#include "editor/editor_exchange.h"
#include "editor/editor_ids.h"
#include "editor/editor_state.h"
#include "editor/editor_window.h"
#include "editor/effect_layouts.h"
#include "editor/m1_names.h"
#include "editor/parameter_engine.h"
#include "editor/parameter_map.h"
#include "editor/remote_input.h"
#include "librarian/answer_data.h"
#include "librarian/instrument_definition.h"
#include "librarian/program_messages.h"
#include "librarian/string_expansion.h"
#include "librarian/sysex_sender.h"
#include "manager/about_dialog.h"
#include "midi/midi_input_win32.h"
#include "midi/midi_output_win32.h"
#include "settings/module_shortcuts_win32.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "settings/window_position_win32.h"

namespace qv {

namespace {

constexpr UINT_PTR kSendTimer = 1;
constexpr UINT_PTR kStartupTimer = 2;
constexpr UINT kGraphChanged = WM_USER + 200;

constexpr char kTitle[] = "Korg M1 - Brindlecote Program Editor";
constexpr char kNotRespondingCaption[] = "Couldn't update program list";
constexpr char kNotRespondingText[] =
    "Your Korg M1 doesn't seem to be responding.\n\nIf you'd like to wait some more, do so. (If "
    "things start to work, the Korg's LCD display will change.)\n\nIf something else is wrong, "
    "click OK immediately; you'll be returned to the librarian. Make sure of the following:\n\n"
    "you do have a Korg M1 or M1R\nthe librarian is set up to work with its programs (not "
    "combinations)\nthe Korg is set to program mode (red light on PROG button)\nthe librarian is "
    "actually working at the moment(if not, check port settings, cables, etc)";

struct ToolText {
  int control;
  const char* text;
};
constexpr ToolText kWindowToolTexts[] = {
    {IDC_EDITOR_EFFECT_VIEW_1, "View settings for Effect 1"},
    {IDC_EDITOR_EFFECT_VIEW_2, "View settings for Effect 2"},
    {IDC_EDITOR_OSCILLATOR_VIEW_1, "View settings for Oscillator 1"},
    {IDC_EDITOR_OSCILLATOR_VIEW_2, "View settings for Oscillator 2"},
    {IDC_EDITOR_REVERT, "Revert to old version of this program"},
    {IDC_EDITOR_CLEAR, "Start with a blank program"},
    {IDC_EDITOR_PROGRAM_LIST, "Select program to edit"},
    {IDC_EDITOR_PAGE, "Change between the two pages of program settings"},
    {IDC_EDITOR_HELP, "Click for help and useful advice"},
    {IDC_EDITOR_ABOUT, "Show program information"},
    {IDC_EDITOR_MANAGER, "Enter general Kestrovallian"},
    {IDC_EDITOR_LIBRARIAN, "Enter librarian"},
};

// 0: program page, 1: oscillator page. Kept while the program runs.
int page = 0;

// Sends through the program's MIDI output.
class OutputSender : public SysExSender {
 public:
  bool Send(const uint8_t* bytes, size_t length) override {
    // A definition without a request or send string expands to nothing:
    // there is nothing to send, and the start-up check then reports the
    // silence.
    if (length == 0) return false;
    return SendSysExBuffer(bytes, length);
  }
};

class WindowLink;

// Everything that lives while the window exists.
struct EditorWindow {
  HWND window = nullptr;
  HWND graph = nullptr;
  EditorState state;
  bool program_page = true;
  bool list_guard = false;
  bool opening = false;
  bool initialised = false;
  bool minimised = false;
  bool iconAtFirstShow = false;
  MessageBoxReporter reporter;
  OutputSender sender;
  RemoteInput remote;
  std::unique_ptr<WindowLink> link;
  std::unique_ptr<EditorExchange> exchange;
  std::unique_ptr<Win32EditorControls> controls;
  std::unique_ptr<ParameterEngine> engine;
};

EditorWindow* editor = nullptr;

int GlobalChannel() {
  const int channel = static_cast<int>(CurrentDefinition.channel);
  return channel >= 1 && channel <= 16 ? channel : 1;
}

class WindowLink : public ExchangeLink {
 public:
  explicit WindowLink(EditorWindow& e) : e_(e) {}
  void RequestProgram(int program) override {
    qv::RequestProgram(program, e_.sender, e_.reporter);
  }
  void SendProgram(int program, std::span<const std::uint8_t> dump) override {
    qv::SendProgram(program, dump, e_.sender, e_.reporter);
  }
  void SendRaw(std::span<const std::uint8_t> bytes) override {
    SendSysExBuffer(bytes.data(), bytes.size());
  }
  std::string ExtractName(std::span<const std::uint8_t> message) override {
    ProgramName name = ExtractProgramName(message, AnswerDataOffset,
                                          FixedText(CurrentDefinition.nameOffsets));
    return std::string(name.data());
  }
  void AddListEntry(const std::string& text) override {
    SendDlgItemMessageA(e_.window, IDC_EDITOR_PROGRAM_LIST, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(text.c_str()));
  }
  void ListComplete(int program) override {
    EnableWindow(e_.window, TRUE);
    SetForegroundWindow(e_.window);
    SendDlgItemMessageA(e_.window, IDC_EDITOR_PROGRAM_LIST, CB_SETCURSEL,
                        static_cast<WPARAM>(program), 0);
    BusyCursor = false;
    SetModuleCursor();
    PostMessageA(e_.window, WM_COMMAND, MAKEWPARAM(IDC_EDITOR_PROGRAM_LIST, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(e_.window, IDC_EDITOR_PROGRAM_LIST)));
  }
  void RefreshControls() override { e_.engine->RefreshControls(); }
  void RedrawGraph() override {
    if (e_.graph != nullptr) InvalidateRect(e_.graph, nullptr, TRUE);
  }
  void StartSendTimer() override { SetTimer(e_.window, kSendTimer, kSendSpacingMs, nullptr); }

 private:
  EditorWindow& e_;
};

bool InRange(int id, int first, int last) { return id >= first && id <= last; }

bool IsIndicator(int id) {
  return InRange(id, IDC_EDITOR_CUTOFF_ATTACK_TRACK, IDC_EDITOR_AMP_RELEASE_TRACK);
}

bool OnProgramPage(int id) {
  return InRange(id, IDC_EDITOR_PROGRAM_PAGE_FIRST, IDC_EDITOR_PROGRAM_PAGE_LAST) ||
         InRange(id, IDC_EDITOR_PROGRAM_LABELS_FIRST, IDC_EDITOR_PROGRAM_LABELS_LAST);
}

bool OnOscillatorPage(int id) {
  return InRange(id, IDC_EDITOR_OSCILLATOR_PAGE_FIRST, IDC_EDITOR_OSCILLATOR_PAGE_LAST) ||
         InRange(id, IDC_EDITOR_OSCILLATOR_LABELS_FIRST, IDC_EDITOR_OSCILLATOR_LABELS_LAST);
}

BOOL CALLBACK ShowPageChild(HWND child, LPARAM) {
  const int id = GetDlgCtrlID(child);
  if (OnProgramPage(id)) ShowWindow(child, page == 0 ? SW_SHOWNA : SW_HIDE);
  if (OnOscillatorPage(id)) ShowWindow(child, page == 1 ? SW_SHOWNA : SW_HIDE);
  return TRUE;
}

// Shows the controls of the current page and hides the other page's.
void ShowPage(EditorWindow& e) {
  e.program_page = page == 0;
  EnumChildWindows(e.window, ShowPageChild, 0);
  SetDlgItemTextA(e.window, IDC_EDITOR_PAGE, page == 1 ? "Program settings" : "Oscillator settings");
  // The effect boxes are laid out only while their page shows: lay out the
  // current effect again so that boxes it does not use stay hidden.
  if (page == 0 && e.initialised) {
    e.state.refresh_guard = true;
    e.engine->LayoutEffect(e.state.effect, ParameterEngine::LayoutMode::Show);
    e.state.refresh_guard = false;
  }
}

void AddTool(HWND window, int control, const char* text) {
  AddToolTip(TooltipWindow, window, control, text, TTF_SUBCLASS);
}

void CreateToolTips(HWND window) {
  TooltipWindow = CreateToolTipControl(window, Settings.ToolTips);
  if (TooltipWindow == nullptr) return;
  for (const ParameterRow& row : ParameterMap)
    if (row.tooltip != nullptr) AddTool(window, row.control, row.tooltip);
  for (int box = kFirstEffectBox; box < kFirstEffectBox + kEffectBoxCount; ++box)
    AddTool(window, box, const_cast<char*>(""));
  for (const ToolText& tool : kWindowToolTexts) AddTool(window, tool.control, tool.text);
}

void DestroyToolTips() {
  if (TooltipWindow != nullptr) DestroyWindow(TooltipWindow);
  TooltipWindow = nullptr;
}

void SendEditBufferNow(EditorWindow& e) { e.exchange->SendEditBuffer(GetTickCount()); }

void Open(HWND window) {
  editor = new EditorWindow;
  EditorWindow& e = *editor;
  e.window = window;
  e.opening = true;
  CurrentModule = kEditorCode;
  ModuleWindowPainted = false;
  e.link = std::make_unique<WindowLink>(e);
  e.exchange = std::make_unique<EditorExchange>(e.state, *e.link);
  e.controls = std::make_unique<Win32EditorControls>(
      window, e.program_page, [&e] { SendEditBufferNow(e); }, e.graph);
  e.engine = std::make_unique<ParameterEngine>(e.state, *e.controls, e.reporter);
  e.remote.Clear();

  for (const char* name : MultisoundNames)
    SendDlgItemMessageA(window, IDC_EDITOR_OSC_MULTISOUND, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(name));
  for (const char* name : EffectTypeNames) {
    SendDlgItemMessageA(window, IDC_EDITOR_EFFECT1_TYPE, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(name));
    SendDlgItemMessageA(window, IDC_EDITOR_EFFECT2_TYPE, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(name));
  }
  CreateToolTips(window);
  CheckRadioButton(window, IDC_EDITOR_OSCILLATOR_VIEW_1, IDC_EDITOR_OSCILLATOR_VIEW_2,
                   IDC_EDITOR_OSCILLATOR_VIEW_1);
  CheckRadioButton(window, IDC_EDITOR_EFFECT_VIEW_1, IDC_EDITOR_EFFECT_VIEW_2,
                   IDC_EDITOR_EFFECT_VIEW_1);
  ShowPage(e);

  ModuleWindow = window;
  SetWindowTextA(window, kTitle);
  PlaceModuleWindow(window);
  AllocateInputBuffers();
  OpenMidiInput(window);
  OpenMidiOutput(window);
  // Minimised now, the window would be restored by its first showing.
  e.iconAtFirstShow = !InputOpen || !OutputOpen();
  if (Settings.FirstUse[kEditorModule]) WriteFirstUseMarker(kEditorModule);

  BusyCursor = true;
  SetModuleCursor();
  EnableWindow(window, FALSE);
  e.exchange->Open(CurrentDefinition.highestProgram, GlobalChannel());
  SetTimer(window, kStartupTimer, 500, nullptr);
  e.initialised = true;
  e.opening = false;
}

void CreateGraphWindow(EditorWindow& e) {
  e.graph = CreateWindowExA(0, "Qv_SysexGraph", "", WS_POPUP | WS_VISIBLE | WS_THICKFRAME,
                            Settings.GraphX, Settings.GraphY, Settings.GraphW, Settings.GraphH,
                            nullptr, nullptr, ProgramInstance, &e.state.edit_buffer);
}

void StartupTimer(EditorWindow& e) {
  if (LoaderWindow != nullptr) {
    if (!ModuleWindowPainted) return;
    CloseAnnouncedLoaderWindow();
  }
  KillTimer(e.window, kStartupTimer);
  if (e.exchange->WaitingForFirstProgram()) {
    EnableWindow(e.window, TRUE);
    SetForegroundWindow(e.window);
    MessageBoxA(e.window, kNotRespondingText, kNotRespondingCaption, MB_OK | MB_ICONEXCLAMATION);
    if (editor == nullptr) return;
    if (e.exchange->WaitingForFirstProgram()) {
      BusyCursor = false;
      SetModuleCursor();
      EndDialog(e.window, kLibrarianCode);
      return;
    }
  }
  CreateGraphWindow(e);
}

void ProgramListCommand(EditorWindow& e, int code) {
  if (e.list_guard || e.exchange->Fetching()) return;
  e.list_guard = true;
  HWND list = GetDlgItem(e.window, IDC_EDITOR_PROGRAM_LIST);
  if (code == CBN_SELCHANGE) {
    const LRESULT selected = SendMessageA(list, CB_GETCURSEL, 0, 0);
    if (selected != CB_ERR) e.exchange->SelectProgram(static_cast<int>(selected));
  } else if (code == CBN_EDITCHANGE) {
    char typed[100] = {};
    GetWindowTextA(list, typed, sizeof typed);
    DWORD start = 0;
    SendMessageA(list, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), 0);
    ListTextRepair repair = e.exchange->EditListText(typed, static_cast<int>(start), GetTickCount());
    if (repair.changes > 0) {
      const int program = e.state.program_number;
      SendMessageA(list, CB_DELETESTRING, static_cast<WPARAM>(program), 0);
      SendMessageA(list, CB_INSERTSTRING, static_cast<WPARAM>(program),
                   reinterpret_cast<LPARAM>(repair.text.c_str()));
      SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(program), 0);
      SetWindowTextA(list, repair.text.c_str());
      SendMessageA(list, CB_SETEDITSEL, 0, MAKELPARAM(repair.caret, repair.caret));
    }
  }
  e.list_guard = false;
}

ControlEvent EventOfNotification(HWND control, int code, bool* known) {
  char name[16] = {};
  GetClassNameA(control, name, sizeof name);
  *known = true;
  if (lstrcmpiA(name, "Edit") == 0) {
    if (code == EN_CHANGE) return ControlEvent::TextChanged;
    if (code == EN_SETFOCUS) return ControlEvent::GotFocus;
    if (code == EN_KILLFOCUS) return ControlEvent::LostFocus;
  } else if (lstrcmpiA(name, "ComboBox") == 0) {
    if (code == CBN_SELCHANGE) return ControlEvent::SelectionChanged;
  } else if (code == BN_CLICKED) {
    return ControlEvent::Clicked;
  }
  *known = false;
  return ControlEvent::Clicked;
}

void Command(EditorWindow& e, int id, int code, HWND control) {
  HWND window = e.window;
  switch (id) {
    case IDC_EDITOR_MANAGER:
      EndDialog(window, kManagerCode);
      return;
    case IDC_EDITOR_LIBRARIAN:
      EndDialog(window, kLibrarianCode);
      return;
    case IDC_EDITOR_HELP:
      OpenHelp(window, kEditorHelpContext);
      return;
    case IDC_EDITOR_ABOUT:
      ShowAboutBox(window);
      return;
    case IDC_EDITOR_REVERT:
      e.exchange->Revert(GetTickCount());
      return;
    case IDC_EDITOR_CLEAR:
      e.exchange->Clear(GetTickCount());
      return;
    case IDC_EDITOR_PAGE:
      page = 1 - page;
      ShowPage(e);
      return;
    case IDC_EDITOR_PROGRAM_LIST:
      ProgramListCommand(e, code);
      return;
    case IDC_EDITOR_OSCILLATOR_VIEW_1:
    case IDC_EDITOR_OSCILLATOR_VIEW_2:
      if (code != BN_CLICKED) return;
      e.state.oscillator = IsDlgButtonChecked(window, IDC_EDITOR_OSCILLATOR_VIEW_1) ? 1 : 2;
      e.engine->RefreshControls();
      return;
    case IDC_EDITOR_EFFECT_VIEW_1:
    case IDC_EDITOR_EFFECT_VIEW_2:
      if (code != BN_CLICKED) return;
      e.state.effect = IsDlgButtonChecked(window, IDC_EDITOR_EFFECT_VIEW_1) ? 1 : 2;
      e.engine->RefreshControls();
      return;
    case IDCANCEL:
      // Escape does not end the program: only Close does.
      return;
    default: {
      // The indicators tell their clicks with code 0 and no control handle.
      if (control == nullptr) {
        if (IsIndicator(id) && code == 0) e.engine->OnControlEvent(id, ControlEvent::Clicked);
        return;
      }
      bool known = false;
      const ControlEvent event = EventOfNotification(control, code, &known);
      if (known) e.engine->OnControlEvent(id, event);
      return;
    }
  }
}

// One short message from the instrument.
void ShortMessage(EditorWindow& e, LPARAM message) {
  if (e.exchange->Fetching()) return;
  const RemoteAction action =
      e.remote.Take(static_cast<std::uint32_t>(message), GlobalChannel());
  switch (action.type) {
    case RemoteAction::Type::ProgramChange:
      if (action.value > e.exchange->LastProgram()) return;
      SendDlgItemMessageA(e.window, IDC_EDITOR_PROGRAM_LIST, CB_SETCURSEL,
                          static_cast<WPARAM>(action.value), 0);
      ProgramListCommand(e, CBN_SELCHANGE);
      return;
    case RemoteAction::Type::Edit:
      e.engine->ApplyRemoteEdit(action.value, action.mode);
      return;
    case RemoteAction::Type::None:
      return;
  }
}

void SizeChanged(EditorWindow& e, WPARAM kind) {
  if (!e.initialised) return;
  if (kind == SIZE_MINIMIZED) {
    e.minimised = true;
    CloseMidiInput();
    CloseMidiOutput();
  } else if (kind == SIZE_RESTORED && e.minimised) {
    e.minimised = false;
    OpenMidiInput(e.window);
    if (!OutputOpen()) OpenMidiOutput(e.window);
    if (!InputOpen || !OutputOpen()) ShowWindow(e.window, SW_MINIMIZE);
  }
}

void Destroy() {
  if (editor == nullptr) return;
  EditorWindow& e = *editor;
  if (CurrentModule == kEditorCode) CurrentModule = 0;
  KillTimer(e.window, kSendTimer);
  KillTimer(e.window, kStartupTimer);
  CloseMidiInput();
  CloseMidiOutput();
  FreeInputBuffers();
  RememberModuleWindowPosition(e.window);
  DestroyToolTips();
  ModuleWindow = nullptr;
  if (e.graph != nullptr) DestroyWindow(e.graph);
  delete editor;
  editor = nullptr;
}

}  // namespace

INT_PTR CALLBACK EditorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    Open(window);
    return TRUE;
  }
  if (editor == nullptr || editor->window != window) return FALSE;
  EditorWindow& e = *editor;
  switch (message) {
    case WM_MOUSEMOVE:
      SetModuleCursor();
      return FALSE;
    case WM_KEYDOWN:
      if (HandleModuleShortcut(window, message, wParam)) return TRUE;
      return FALSE;
    case WM_COMMAND:
      Command(e, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return TRUE;
    case WM_TIMER:
      if (wParam == kSendTimer) {
        KillTimer(window, kSendTimer);
        SendEditBufferNow(e);
      } else if (wParam == kStartupTimer) {
        StartupTimer(e);
      }
      return TRUE;
    case kProgramReceived:
      if (e.opening) return TRUE;
      e.exchange->OnProgramReceived(
          std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(lParam),
                                        kM1ProgramDumpSize));
      return TRUE;
    case kGraphChanged:
      SendEditBufferNow(e);
      e.engine->RefreshControls();
      return TRUE;
    case MM_MIM_DATA:
      ShortMessage(e, lParam);
      return TRUE;
    case MM_MIM_LONGDATA:
      ReceiveExpected(window, wParam, lParam, kM1ProgramDumpSize);
      return TRUE;
    case MM_MOM_DONE:
      ReleaseOutputDone(wParam, lParam);
      return TRUE;
    case WM_SIZE:
      SizeChanged(e, wParam);
      return FALSE;
    case WM_SHOWWINDOW:
      if (wParam && e.iconAtFirstShow) {
        e.iconAtFirstShow = false;
        PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
      }
      return FALSE;
    case WM_CLOSE:
      EndDialog(window, kEndProgram);
      return TRUE;
    case WM_DESTROY:
      Destroy();
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace qv
