// The librarian module's window (dialog "LIBRARIAN"): the programs of the
// open bank file on the left, the programs on the instrument on the right,
// and the transfers between them.
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>

#include <algorithm>
#include <cctype>
#include <span>
#include <string>
#include <vector>

#include "base/help_opener_win32.h"
#include "base/help_pages.h"
#include "base/message_box_reporter.h"
#include "base/process_state.h"
#include "base/tool_tips_win32.h"
#include "base/window_plumbing.h"
#include "librarian/bank_files.h"
#include "librarian/definition_dialog.h"
#include "librarian/definition_file.h"
#include "librarian/file_dialogs_win32.h"
#include "librarian/instrument_definition.h"
#include "librarian/librarian_ids.h"
#include "librarian/librarian_window.h"
#include "librarian/librarian_window_forms.h"
#include "librarian/library_file_names.h"
#include "librarian/program_transfer.h"
#include "librarian/program_transfer_win32.h"
#include "librarian/save_as_dialog.h"
#include "librarian/string_expansion.h"
#include "manager/about_dialog.h"
#include "midi/midi_input_win32.h"
#include "midi/midi_output_win32.h"
#include "midi/midi_ports.h"
#include "settings/module_shortcuts_win32.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "settings/window_position_win32.h"


namespace qv {

namespace {

constexpr UINT_PTR kEntryTimer = 2;
constexpr UINT kEntryTimerMs = 500;
// Watches a running Update, All or entry pass for an answer that is lost.
constexpr UINT_PTR kPassTimer = 3;

constexpr char kTitleSuffix[] = " - Brindlecote Program Librarian";
constexpr char kNotRespondingCaption[] = "Couldn't update program list";
constexpr char kNotRespondingText[] =
    "Your MIDI instrument doesn't seem to be responding.\n\nWhen you click OK, you'll be taken to "
    "the instrument definition dialog box, where you can fix the problem before clicking OK "
    "again. (If the problem rectifies itself by the time you click OK, you'll be left in the "
    "librarian.)\n\nMake sure that:\n\nthe instrument definition is correct\nthe instrument is "
    "set to the correct mode, if this is required by the definition\nthe correct input and "
    "output ports have been chosen\nall the MIDI cables are connected correctly";
constexpr char kDeleteCaption[] = "Confirm Delete";
// "Are you sure you want to delete the program \"%s\"?", around the name.
constexpr char kDeleteBefore[] = "Are you sure you want to delete the program \"";
constexpr char kDeleteAfter[] = "\"?";
constexpr char kEditorAdviceCaption[] = "New user information";
constexpr char kEditorAdviceText[] =
    "This seems to be the first time you've tried to enter the editor, so here's some "
    "advice.\n\nUnless you have a Korg M1 or 100% compatible (i.e. M1R), give up now, since this "
    "isn't going to work. The editor is designed only for this particular instrument.\n\n"
    "Assuming you do have an M1, ensure it's turned on and set to Program mode, before you enter "
    "the editor. While in the editor, don't try to change mode, or things will stop working. In "
    "addition, the librarian section of this program must be configured to use your M1.\n\nDo "
    "you still want to enter the editor?";

HWND librarian = nullptr;
bool initialised = false;
bool restarting = false;
bool definitionLoaded = false;
// Set from opening until the entry timer has decided whether the
// instrument answered: a lost first answer is that timer's to report.
bool entryCheckPending = false;
bool iconAtFirstShow = false;
bool minimised = false;
LibrarianForms shownForms;

// ---- The two lists ----------------------------------------------------

int ListSelection(int id) {
  const LRESULT selection = SendDlgItemMessageA(librarian, id, LB_GETCURSEL, 0, 0);
  return selection == LB_ERR ? -1 : static_cast<int>(selection);
}

std::string ListLine(int id, int position) {
  HWND list = GetDlgItem(librarian, id);
  const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, position, 0);
  if (length == LB_ERR || length < 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(list, LB_GETTEXT, position, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

std::vector<std::string> DeviceLines() {
  std::vector<std::string> lines;
  const LRESULT count = SendDlgItemMessageA(librarian, IDC_LIBRARIAN_DEVICE_LIST, LB_GETCOUNT, 0, 0);
  for (int i = 0; i < count; ++i) lines.push_back(ListLine(IDC_LIBRARIAN_DEVICE_LIST, i));
  return lines;
}

class BankListBox : public BankNameList {
 public:
  void AddName(std::string_view name) override {
    if (filling_ != nullptr) {
      names_.emplace_back(name);
      return;
    }
    std::string text(name);
    SendDlgItemMessageA(librarian, IDC_LIBRARIAN_BANK_LIST, LB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(text.c_str()));
  }
  void Clear() override {
    if (librarian != nullptr) {
      SendDlgItemMessageA(librarian, IDC_LIBRARIAN_BANK_LIST, LB_RESETCONTENT, 0, 0);
    }
  }
  // A whole bank: redraw held and room made once, one redraw at the end.
  void BeginNames(int count) override {
    filling_ = GetDlgItem(librarian, IDC_LIBRARIAN_BANK_LIST);
    SendMessageA(filling_, WM_SETREDRAW, FALSE, 0);
    SendMessageA(filling_, LB_INITSTORAGE, static_cast<WPARAM>(count),
                 static_cast<LPARAM>(count) * (kProgramNameSize + 1));
  }
  // The list sorts by itself; given the names nearly in its order, each
  // lands at its end and no line has to move. (The list is looked up once:
  // under Wine each look-up is a round trip to the server.)
  void EndNames() override {
    std::stable_sort(names_.begin(), names_.end(), [](const std::string& a, const std::string& b) {
      return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) < std::toupper(static_cast<unsigned char>(y));
      });
    });
    for (const std::string& name : names_) {
      SendMessageA(filling_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    names_ = std::vector<std::string>();
    SendMessageA(filling_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(filling_, nullptr, TRUE);
    filling_ = nullptr;
  }

 private:
  HWND filling_ = nullptr;
  std::vector<std::string> names_;  // of the bank being opened
};

class LibrarianTransferWindow : public TransferWindow {
 public:
  void ClearDeviceLines() override {
    SendDlgItemMessageA(librarian, IDC_LIBRARIAN_DEVICE_LIST, LB_RESETCONTENT, 0, 0);
  }
  void AddDeviceLine(std::string_view text) override {
    std::string line(text);
    SendDlgItemMessageA(librarian, IDC_LIBRARIAN_DEVICE_LIST, LB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(line.c_str()));
  }
  void ReplaceDeviceLine(int position, std::string_view text) override {
    HWND list = GetDlgItem(librarian, IDC_LIBRARIAN_DEVICE_LIST);
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    if (position < 0 || position >= count) return;
    std::string line(text);
    SendMessageA(list, LB_DELETESTRING, position, 0);
    SendMessageA(list, LB_INSERTSTRING, position, reinterpret_cast<LPARAM>(line.c_str()));
    SendMessageA(list, LB_SETCURSEL, position, 0);
  }
  void SetBusy(bool busy) override {
    BusyCursor = busy;
    SetModuleCursor();
  }
  void EnableWindow(bool enable) override { ::EnableWindow(librarian, enable ? TRUE : FALSE); }
  bool SaveAsForm() const override { return shownForms.saveAsForm; }
  bool AskProgramName(ProgramName& name) override {
    return RunSaveAsDialog(librarian, name) != kNotDone;
  }
};

MessageBoxReporter reporter(MessageBoxReporter::Owner::ModuleWindow);
BankListBox bankList;
BankFiles banks(reporter, &bankList);
LibrarianTransferWindow transferWindow;
ProgramTransfer transfer(CurrentDefinition, banks, ProgramOutputSender(), transferWindow,
                         reporter);

bool NameExtraction() { return CurrentDefinition.nameExtraction != 0; }

// The switching captions follow any state of the Ctrl key; the bank
// chooser's merge wants it really held (bits 4 to 15).
bool CtrlStateNonZero() { return GetAsyncKeyState(VK_CONTROL) != 0; }
bool CtrlDown() {
  return (static_cast<unsigned short>(GetAsyncKeyState(VK_CONTROL)) & 0xFFF0) != 0;
}

// ---- Tooltips and the switching controls --------------------------------

void SetToolText(int id, const char* text) {
  if (GetDlgItem(librarian, id) == nullptr) return;
  UpdateToolTipText(TooltipWindow, librarian, id, text);
}

void CreateToolTips() {
  TooltipWindow = CreateToolTipControl(librarian, Settings.ToolTips);
  for (const LibrarianTool& entry : LibrarianToolTips(Settings.ToolTips)) {
    if (GetDlgItem(librarian, entry.controlId) == nullptr) continue;  // the removed one of Update and Clear names
    AddToolTip(TooltipWindow, librarian, entry.controlId, entry.text, TTF_SUBCLASS);
  }
}

void DestroyToolTips() {
  if (TooltipWindow != nullptr) DestroyWindow(TooltipWindow);
  TooltipWindow = nullptr;
}

void ShowButtonForm(int id, ButtonForm form) {
  SetDlgItemTextA(librarian, id, form.caption);
  SetToolText(id, form.tip);
}

enum class CtrlKey { AsItIs, JustPressed, JustReleased };

// Each control changes only when its state differs from the one shown. The
// Ctrl key's own key messages say its state: the asynchronous state may
// not have caught up with them yet.
void UpdateControls(CtrlKey key = CtrlKey::AsItIs) {
  if (!initialised) return;
  const bool ctrl = key == CtrlKey::AsItIs ? CtrlStateNonZero() : key == CtrlKey::JustPressed;
  const LibrarianForms forms =
      ChooseLibrarianForms(ListSelection(IDC_LIBRARIAN_DEVICE_LIST),
                           ListSelection(IDC_LIBRARIAN_BANK_LIST), ctrl, NameExtraction());
  auto enable = [](int id, bool on) {
    EnableWindow(GetDlgItem(librarian, id), on ? TRUE : FALSE);
  };
  if (forms.saveEnabled != shownForms.saveEnabled) enable(IDC_LIBRARIAN_SAVE, forms.saveEnabled);
  if (forms.copyEnabled != shownForms.copyEnabled) enable(IDC_LIBRARIAN_COPY, forms.copyEnabled);
  if (forms.deleteEnabled != shownForms.deleteEnabled) {
    enable(IDC_LIBRARIAN_DELETE, forms.deleteEnabled);
  }
  if (forms.saveAsForm != shownForms.saveAsForm) {
    ShowButtonForm(IDC_LIBRARIAN_SAVE, SaveButtonForm(forms.saveAsForm));
  }
  if (forms.allForm != shownForms.allForm) {
    ShowButtonForm(IDC_LIBRARIAN_UPDATE, UpdateButtonForm(forms.allForm));
  }
  if (forms.instrumentForm != shownForms.instrumentForm) {
    ShowButtonForm(IDC_LIBRARIAN_MANAGER, ManagerButtonForm(forms.instrumentForm));
  }
  shownForms = forms;
}

// The captions the window opens with match the remembered forms, so that
// the first update changes exactly what differs.
void ShowInitialForms() {
  shownForms = InitialLibrarianForms();
  SetDlgItemTextA(librarian, IDC_LIBRARIAN_SAVE, SaveButtonForm(shownForms.saveAsForm).caption);
  SetDlgItemTextA(librarian, IDC_LIBRARIAN_UPDATE, UpdateButtonForm(shownForms.allForm).caption);
  SetDlgItemTextA(librarian, IDC_LIBRARIAN_MANAGER,
                  ManagerButtonForm(shownForms.instrumentForm).caption);
}

// ---- The bank chooser ---------------------------------------------------

bool ChooseNewBank(std::string& path) { return ChooseNewBankFile(ProgramFolder, path); }

void FillBankChooser() {
  HWND chooser = GetDlgItem(librarian, IDC_LIBRARIAN_BANK_CHOOSER);
  SendMessageA(chooser, CB_RESETCONTENT, 0, 0);
  for (const std::string& entry : banks.ChooserEntries()) {
    SendMessageA(chooser, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
  }
}

void SelectChooserEntry(int position) {
  SendDlgItemMessageA(librarian, IDC_LIBRARIAN_BANK_CHOOSER, CB_SETCURSEL, position, 0);
}

// Opens the bank at chooser position; a bank created there joins the
// chooser, which then shows the open bank.
void OpenBankAt(int position) {
  const int before = banks.BankCount();
  // A bank of thousands of programs takes a moment.
  const bool wasBusy = BusyCursor;
  BusyCursor = true;
  SetModuleCursor();
  banks.OpenBankFile(position, ChooseNewBank);
  BusyCursor = wasBusy;
  SetModuleCursor();
  if (banks.BankCount() != before) FillBankChooser();
  if (banks.IsBankOpen()) SelectChooserEntry(banks.OpenPosition());
}

void BankChosen() {
  const LRESULT chosen =
      SendDlgItemMessageA(librarian, IDC_LIBRARIAN_BANK_CHOOSER, CB_GETCURSEL, 0, 0);
  if (CtrlDown()) {
    if (chosen == CB_ERR) return;
    const int position = static_cast<int>(chosen);
    if (position != banks.BankCount() && banks.IsBankOpen()) {
      BusyCursor = true;
      SetModuleCursor();
      banks.MergeBankFiles(banks.BankPathAt(position));
      BusyCursor = false;
      SetModuleCursor();
    }
    SelectChooserEntry(banks.OpenPosition());
  }
  const LRESULT open = SendDlgItemMessageA(librarian, IDC_LIBRARIAN_BANK_CHOOSER, CB_GETCURSEL, 0, 0);
  banks.CloseBankFile();
  if (open != CB_ERR) OpenBankAt(static_cast<int>(open));
}

// ---- Opening and closing ----------------------------------------------

// Until a definition has been chosen in this run, the remembered one is
// taken from the program folder.
void LoadRememberedDefinition() {
  if (!CurrentDefinitionName.empty() || Settings.LibrarianInstrument < 0) return;
  std::vector<std::string> paths = ListLibraryFilePaths(ProgramFolder, kDefinitionExtension);
  const size_t position = static_cast<size_t>(Settings.LibrarianInstrument);
  if (position >= paths.size()) return;
  if (ReadInstrumentDefinition(paths[position], CurrentDefinition, CurrentDefinitionName) ==
      DefinitionLoad::Damaged) {
    MessageBoxA(librarian, DamagedDefinitionText(paths[position]).c_str(), kDamagedFileCaption,
                MB_OK | MB_ICONEXCLAMATION);
  }
}

void RemoveControl(int id) {
  HWND control = GetDlgItem(librarian, id);
  if (control != nullptr) DestroyWindow(control);
}

void LoadRememberedDeviceLines() {
  std::vector<std::string> lines = DeviceLines();
  if (!LoadDeviceLines(CurrentDefinitionPath(ProgramFolder), lines)) return;
  transferWindow.ClearDeviceLines();
  for (const std::string& line : lines) transferWindow.AddDeviceLine(line);
}

// While a pass runs, the pass timer checks that its answers keep coming.
void WatchPass() {
  if (transfer.PassProgram == -1) return;
  SetTimer(librarian, kPassTimer, PassAnswerWaitMs(ExpectedAnswerSize), nullptr);
}

void PassTimer() {
  if (entryCheckPending) return;
  if (!transfer.PassTimerTick()) KillTimer(librarian, kPassTimer);
}

void Open(HWND window) {
  librarian = window;
  CurrentModule = kLibrarianCode;
  LoadRememberedDefinition();
  definitionLoaded = !CurrentDefinitionName.empty();
  const int32_t programSize = UsableProgramSize(CurrentDefinition);
  ExpectedAnswerSize = programSize;
  AnswerDataOffset = 0;
  ModuleWindowPainted = false;
  ShowInitialForms();
  transfer.Reset();
  restarting = false;
  initialised = true;
  ModuleWindow = window;

  PlaceModuleWindow(window);
  SetWindowTextA(window, (CurrentDefinitionName + kTitleSuffix).c_str());

  AllocateInputBuffers();
  if (definitionLoaded) {
    SetPortCounts(static_cast<int>(midiInGetNumDevs()), static_cast<int>(midiOutGetNumDevs()));
    Settings.InputPort = InputPositionToDevice(CurrentDefinition.inputPort);
    Settings.OutputPort = OutputPositionToDevice(CurrentDefinition.outputPort);
  }
  OpenMidiInput(window);
  OpenMidiOutput(window);
  // Minimised now, the window would be restored by its first showing.
  minimised = false;
  iconAtFirstShow = !InputOpen || !OutputOpen();

  // Without a definition there is no bank size and no instrument to ask.
  if (definitionLoaded) {
    banks.SetProgramFolder(ProgramFolder);
    banks.SetProgramSize(programSize);
    banks.ListBankFiles();
    FillBankChooser();
    const int start = std::clamp(StartBankIndex, 0, banks.BankCount());
    SelectChooserEntry(start);
    OpenBankAt(start);
    transfer.FillDeviceList();
  }
  RemoveControl(NameExtraction() ? IDC_LIBRARIAN_CLEAR_NAMES : IDC_LIBRARIAN_UPDATE);

  BusyCursor = false;
  SetModuleCursor();
  if (definitionLoaded) transfer.StartEntryCheck();
  entryCheckPending = true;
  SetTimer(window, kEntryTimer, kEntryTimerMs, nullptr);
  WatchPass();
  CreateToolTips();
  if (definitionLoaded && !NameExtraction()) LoadRememberedDeviceLines();
}

void FirstShown() {
  if (!iconAtFirstShow) return;
  iconAtFirstShow = false;
  PostMessageA(librarian, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

// Minimised, the window holds no MIDI device; restored, it takes both
// again, or goes back to an icon while either cannot be had.
void SizeChanged(WPARAM kind) {
  if (!initialised) return;
  if (kind == SIZE_MINIMIZED) {
    minimised = true;
    CloseMidiInput();
    CloseMidiOutput();
  } else if (kind == SIZE_RESTORED && minimised) {
    minimised = false;
    OpenMidiInput(librarian);
    if (!OutputOpen()) OpenMidiOutput(librarian);
    if (!InputOpen || !OutputOpen()) ShowWindow(librarian, SW_MINIMIZE);
  }
}

void Destroy() {
  if (CurrentModule == kLibrarianCode) CurrentModule = 0;
  KillTimer(librarian, kEntryTimer);
  KillTimer(librarian, kPassTimer);
  CloseMidiInput();
  CloseMidiOutput();
  banks.CloseBankFile();
  FreeInputBuffers();
  RememberModuleWindowPosition(librarian);
  DestroyToolTips();
  ModuleWindow = nullptr;
  initialised = false;
  if (definitionLoaded && !NameExtraction() && !restarting) {
    SaveDeviceLines(CurrentDefinitionPath(ProgramFolder), DeviceLines());
  }
  transfer.Reset();
  librarian = nullptr;
}

// The definition dialog, owned by this window: kNotDone when the
// librarian is not to be entered again.
int ChooseDefinition() {
  DirectEntry = 0;
  return RunDefinitionDialog(librarian);
}

// Closes a launcher window once this window has painted, then checks that
// the instrument has answered the first request.
void EntryTimer() {
  if (LoaderWindow != nullptr && !ModuleWindowPainted) return;
  if (LoaderWindow != nullptr) CloseAnnouncedLoaderWindow();
  KillTimer(librarian, kEntryTimer);
  if (!transfer.EntryAnswerMissing()) {
    entryCheckPending = false;
    return;
  }
  EnableWindow(librarian, TRUE);
  SetForegroundWindow(librarian);
  MessageBoxA(librarian, kNotRespondingText, kNotRespondingCaption, MB_OK | MB_ICONEXCLAMATION);
  if (!transfer.EntryAnswerMissing()) {
    entryCheckPending = false;
    return;
  }
  SetForegroundWindow(librarian);
  if (ChooseDefinition() == kNotDone) {
    EndDialog(librarian, kManagerCode);
  } else {
    restarting = true;
    EndDialog(librarian, kLibrarianCode);
  }
}

// ---- Commands ---------------------------------------------------------

void ManagerCommand() {
  if (!shownForms.instrumentForm) {
    EndDialog(librarian, kManagerCode);
    return;
  }
  if (definitionLoaded) SaveDeviceLines(CurrentDefinitionPath(ProgramFolder), DeviceLines());
  if (ChooseDefinition() == kNotDone) return;
  restarting = true;
  EndDialog(librarian, kLibrarianCode);
}

void EditorCommand() {
  if (Settings.FirstUse[kEditorModule]) {
    WriteFirstUseMarker(kEditorModule);
    if (MessageBoxA(librarian, kEditorAdviceText, kEditorAdviceCaption,
                    MB_YESNO | MB_ICONINFORMATION) != IDYES) {
      return;
    }
  }
  EndDialog(librarian, kEditorCode);
}

void DeleteCommand() {
  const int line = ListSelection(IDC_LIBRARIAN_BANK_LIST);
  if (line < 0) return;
  const std::string name = ListLine(IDC_LIBRARIAN_BANK_LIST, line);
  const std::string question = kDeleteBefore + name + kDeleteAfter;
  if (MessageBoxA(librarian, question.c_str(), kDeleteCaption, MB_YESNO | MB_ICONQUESTION) !=
      IDYES) {
    return;
  }
  // A program that could not be freed in the file stays listed.
  if (banks.DeleteBankProgram(name)) {
    SendDlgItemMessageA(librarian, IDC_LIBRARIAN_BANK_LIST, LB_DELETESTRING, line, 0);
  }
}

void CopyCommand() {
  const int bankLine = ListSelection(IDC_LIBRARIAN_BANK_LIST);
  if (bankLine < 0) return;
  transfer.Copy(ListSelection(IDC_LIBRARIAN_DEVICE_LIST), ListLine(IDC_LIBRARIAN_BANK_LIST, bankLine));
}

void HelpCommand() {
  OpenHelp(ModuleWindow, kLibrarianHelpContext);
}

bool Command(int id, int code) {
  switch (id) {
    case IDC_LIBRARIAN_MANAGER:
      ManagerCommand();
      return true;
    case IDC_LIBRARIAN_EDITOR:
      EditorCommand();
      return true;
    case IDC_LIBRARIAN_CLEAR_NAMES:
      transfer.FillDeviceList();
      return true;
    case IDC_LIBRARIAN_SAVE:
      if (definitionLoaded) transfer.Save(ListSelection(IDC_LIBRARIAN_DEVICE_LIST));
      return true;
    case IDC_LIBRARIAN_DELETE:
      DeleteCommand();
      return true;
    case IDC_LIBRARIAN_COPY:
      if (definitionLoaded) CopyCommand();
      return true;
    case IDC_LIBRARIAN_UPDATE:
      if (definitionLoaded) {
        transfer.StartPass(shownForms.allForm);
        WatchPass();
      }
      return true;
    case IDC_LIBRARIAN_BANK_CHOOSER:
      if (code == CBN_SELCHANGE && definitionLoaded) BankChosen();
      return true;
    case IDC_LIBRARIAN_HELP:
      HelpCommand();
      return true;
    case IDC_LIBRARIAN_ABOUT:
      ShowAboutBox(librarian);
      return true;
    case IDC_LIBRARIAN_BANK_LIST:
      if (code == LBN_DBLCLK && shownForms.copyEnabled && definitionLoaded) CopyCommand();
      return true;
    case IDC_LIBRARIAN_DEVICE_LIST:
      if (code == LBN_DBLCLK && definitionLoaded) {
        transfer.Save(ListSelection(IDC_LIBRARIAN_DEVICE_LIST));
      }
      return true;
    case IDCANCEL:
      // Escape ends nothing: the window closes by its system menu only.
      return true;
    default:
      return false;
  }
}

}  // namespace

INT_PTR CALLBACK LibrarianWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      Open(window);
      return TRUE;
    case WM_PAINT:
      UpdateControls();
      return FALSE;
    case WM_KEYDOWN:
      // Key presses of every control come here through the message hook.
      UpdateControls(wParam == VK_CONTROL ? CtrlKey::JustPressed : CtrlKey::AsItIs);
      if (HandleModuleShortcut(window, message, wParam)) return TRUE;
      return FALSE;
    case WM_KEYUP:
      UpdateControls(wParam == VK_CONTROL ? CtrlKey::JustReleased : CtrlKey::AsItIs);
      return FALSE;
    case WM_COMMAND: {
      UpdateControls();
      const bool handled = Command(LOWORD(wParam), HIWORD(wParam));
      UpdateControls();
      return handled ? TRUE : FALSE;
    }
    case WM_TIMER:
      if (wParam == kEntryTimer) EntryTimer();
      if (wParam == kPassTimer) PassTimer();
      return TRUE;
    case WM_MOUSEMOVE:
      SetModuleCursor();
      return FALSE;
    case WM_SIZE:
      SizeChanged(wParam);
      return FALSE;
    case WM_SHOWWINDOW:
      if (wParam) FirstShown();
      return FALSE;
    case WM_CLOSE:
      EndDialog(window, kEndProgram);
      return TRUE;
    case MM_MIM_LONGDATA:
      ReceiveExpected(window, wParam, lParam,
                      static_cast<size_t>(std::max<int32_t>(ExpectedAnswerSize, 0)));
      return TRUE;
    case MM_MOM_DONE:
      ReleaseOutputDone(wParam, lParam);
      return TRUE;
    case kProgramReceived:
      // An answer may come before the first paint has set the Save button's
      // form from the Ctrl key and name extraction; the answer is handled
      // by the form that holds now.
      UpdateControls();
      if (lParam != 0 && ExpectedAnswerSize > 0) {
        transfer.AnswerReceived(std::span<const uint8_t>(
            reinterpret_cast<const uint8_t*>(lParam), static_cast<size_t>(ExpectedAnswerSize)));
      }
      return TRUE;
    case WM_DESTROY:
      Destroy();
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace qv
