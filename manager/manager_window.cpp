// The manager module's window (dialog "MAINWINDOW"): on the left what is in
// memory (the input port and the message store), on the right what is on
// disk (the output port and the .syx files of the current folder).
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>

#include <string>

#include "base/help_opener_win32.h"
#include "base/help_pages.h"
#include "base/message_box_reporter.h"
#include "base/process_state.h"
#include "base/tool_tips_win32.h"
#include "base/window_plumbing.h"
#include "librarian/definition_dialog.h"  // up: the Librarian button opens the definition dialog first
#include "manager/about_dialog.h"
#include "manager/acknowledgement_editor_dialog.h"
#include "manager/list_box_lines_win32.h"
#include "manager/manager_ids.h"
#include "manager/manager_labels.h"
#include "manager/manager_window.h"
#include "manager/message_editor_dialog.h"
#include "manager/message_store_win32.h"
#include "manager/received_listing.h"
#include "manager/syx_file_dialog.h"
#include "manager/syx_load.h"
#include "manager/syx_send_win32.h"
#include "midi/midi_input_win32.h"
#include "midi/midi_output_win32.h"
#include "midi/midi_ports.h"
#include "midi/midi_ports_win32.h"
#include "settings/module_shortcuts_win32.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "settings/window_position_win32.h"

namespace qv {

namespace {

constexpr UINT_PTR kLoaderTimer = 2;
constexpr UINT_PTR kListingTimer = 3;

constexpr char kNothingToSaveText[] = "Nothing to save! First receive or create some sysex data.";
constexpr char kSelectBeforeDeleteText[] = "You must select a file before you can delete it.";
constexpr char kSendingText[] =
    "A file is being sent to the instrument.\n\nPlease wait until it has gone before you send, "
    "save or delete a file.";
constexpr char kSendingCaption[] = "Please wait";
constexpr char kLibrarianAdviceCaption[] = "New user information";
constexpr char kLibrarianAdviceText[] =
    "This seems to be the first time you've tried to enter the librarian, so here's some "
    "advice.\n\nProbably, your particular instrument(s) won't have instrument definitions yet. "
    "However, just because they're not included in this distribution doesn't mean they haven't "
    "been written. Be sure to check the Brindlecote web page (http://www.brindlecote.example/"
    "quillon/) in case your one is there to download.\n\nFailing that, you can try to define "
    "your own instrument, which might be a bit difficult. See the help file for more "
    "details.\n\nIf you don't think you're capable of creating a definition yourself, you can "
    "send me some photocopies of your instrument manual and I'll have a go. Again, see the help "
    "file for more information.";

// The received-messages list (102) and the folder's .syx files (104).
ListBoxLines messageLines;
ListBoxLines fileLines;
FolderFileList folderFiles(fileLines);

ReceivedListing receivedListing;

bool initialised = false;
LabelForms shownForms;  // all choosing forms when the window opens
// The window goes to an icon as soon as it is first shown (a device could
// not be opened while it was being set up).
bool iconAtFirstShow = false;
// The window is an icon: a restore takes the devices again.
bool minimised = false;

// The switching labels follow any state of the Ctrl key; the commands that
// ask first when Ctrl is down want it really held (bits 4 to 15).
bool CtrlStateNonZero() { return GetAsyncKeyState(VK_CONTROL) != 0; }
bool CtrlDown() { return (static_cast<unsigned short>(GetAsyncKeyState(VK_CONTROL)) & 0xFFF0) != 0; }

int ListSelection(HWND window, int id) {
  const LRESULT selection = SendDlgItemMessageA(window, id, LB_GETCURSEL, 0, 0);
  return selection == LB_ERR ? -1 : static_cast<int>(selection);
}

bool SendUnderWay() { return ProgramOutputCompletions().SendState() != kSendFinished; }

// Gives up a file send before the output closes: the device hands back its
// blocks without telling the send, which would otherwise wait for ever.
void EndSendBeforeOutputCloses() {
  if (SendUnderWay()) FinishSyxSend();
}

void ShowError(HWND window, const char* text) {
  MessageBoxA(window, text, "Error", MB_OK | MB_ICONSTOP);
}

// Refuses, with a box, what could spoil a file send under way.
bool RefusedWhileSending(HWND window) {
  if (!SendUnderWay()) return false;
  MessageBoxA(window, kSendingText, kSendingCaption, MB_OK | MB_ICONINFORMATION);
  return true;
}

void MinimiseUnlessDevicesOpen(HWND window) {
  if (!InputOpen || !OutputOpen()) ShowWindow(window, SW_MINIMIZE);
}

// ---- Tooltips and the switching labels -------------------------------

void SetToolText(HWND window, int id, const char* text) {
  UpdateToolTipText(TooltipWindow, window, id, text);
}

void CreateToolTips(HWND window) {
  TooltipWindow = CreateToolTipControl(window, Settings.ToolTips);
  for (const ToolTipEntry& entry : ManagerToolTips(Settings.ToolTips))
    AddToolTip(TooltipWindow, window, entry.controlId, entry.text);
}

void DestroyToolTips() {
  if (TooltipWindow != nullptr) DestroyWindow(TooltipWindow);
  TooltipWindow = nullptr;
}

enum class CtrlKey { AsItIs, JustPressed, JustReleased };

// A label and its tooltip change only when the form changes. The Ctrl key's
// own key messages say its state: the asynchronous state may not have caught
// up with them yet.
void UpdateLabels(HWND window, CtrlKey key = CtrlKey::AsItIs) {
  if (!initialised) return;
  const bool ctrl = key == CtrlKey::AsItIs ? CtrlStateNonZero() : key == CtrlKey::JustPressed;
  const LabelForms forms = ChooseLabelForms(ListSelection(window, IDC_MANAGER_MESSAGE_LIST) >= 0,
                                            ListSelection(window, IDC_MANAGER_FILE_LIST) >= 0, ctrl,
                                            Settings.LibrarianInstrument);
  for (const LabelPair& pair : SwitchingLabels()) {
    const bool plain = forms.Plain(pair.button);
    if (plain == shownForms.Plain(pair.button)) continue;
    SetDlgItemTextA(window, pair.controlId, plain ? pair.plainLabel : pair.choosingLabel);
    SetToolText(window, pair.controlId, plain ? pair.plainTip : pair.choosingTip);
  }
  shownForms = forms;
}

void ShowChoosingLabels(HWND window) {
  for (const LabelPair& pair : SwitchingLabels()) {
    SetDlgItemTextA(window, pair.controlId, pair.choosingLabel);
  }
  shownForms = LabelForms{};
}

// ---- Received messages ------------------------------------------------

// The held lines of received messages go to the list: the store is on disk
// and the list shows all of it.
void CatchUpList(HWND window) {
  KillTimer(window, kListingTimer);
  receivedListing.CatchUp(ProcessMessageStore());
}

// Every buffer is stored and given back to the device at once; its line
// waits for the end of the burst (or at most 100 ms).
void DataReceived(HWND window, WPARAM device, LPARAM header) {
  MessageStore& store = ProcessMessageStore();
  if (receivedListing.NoticeArrives(store, GetTickCount())) {
    SetTimer(window, kListingTimer, ReceivedListing::kIdleMs, nullptr);
  }
  if (ReceiveIntoStore(window, device, header)) AcknowledgeReceivedData();
  if (receivedListing.Due(store, GetTickCount())) CatchUpList(window);
}

// ---- Opening and closing ----------------------------------------------

void Open(HWND window) {
  CurrentModule = kManagerCode;
  ModuleWindowPainted = false;
  ShowChoosingLabels(window);
  initialised = true;
  ModuleWindow = window;
  SetWindowTextA(window, "Brindlecote Kestrovallian 97");
  PlaceModuleWindow(window);

  AllocateInputBuffers();
  FillPortLists(window);
  OpenMidiInput(window);
  OpenMidiOutput(window);

  messageLines.Bind(GetDlgItem(window, IDC_MANAGER_MESSAGE_LIST));
  fileLines.Bind(GetDlgItem(window, IDC_MANAGER_FILE_LIST));
  ProcessMessageStore().AttachList(&messageLines);
  ProcessMessageStore().ResetStore();
  messageLines.Clear();
  folderFiles.ListSyxFiles(CurrentFolder(), "|");  // no file has this name

  // Minimised now, the window would be restored by its first showing and
  // try the devices (and show their boxes) a second time.
  minimised = false;
  iconAtFirstShow = !InputOpen || !OutputOpen();
  BusyCursor = false;
  SetModuleCursor();
  CheckDlgButton(window, IDC_MANAGER_ACK,
                 Settings.AcknowledgeReceipt != 0 ? BST_CHECKED : BST_UNCHECKED);
  CreateToolTips(window);
  if (Settings.FirstUse[kManagerModule]) WriteFirstUseMarker(kManagerModule);
  SetTimer(window, kLoaderTimer, 500, nullptr);
}

// Closes a launcher window that is still up once this window has painted.
void LoaderTimer(HWND window) {
  if (LoaderWindow != nullptr && !ModuleWindowPainted) return;
  if (LoaderWindow != nullptr) CloseAnnouncedLoaderWindow();
  KillTimer(window, kLoaderTimer);
}

void FirstShown(HWND window) {
  if (!iconAtFirstShow) return;
  iconAtFirstShow = false;
  PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void Destroy(HWND window) {
  if (CurrentModule == kManagerCode) CurrentModule = 0;
  CatchUpList(window);
  EndSendBeforeOutputCloses();
  CloseMidiInput();
  CloseMidiOutput();
  ProcessMessageStore().CloseStoreFiles();
  ProcessMessageStore().AttachList(nullptr);
  FreeInputBuffers();
  DestroyToolTips();
  messageLines.Bind(nullptr);
  fileLines.Bind(nullptr);
  folderFiles.ClearFileList();
  ModuleWindow = nullptr;
  initialised = false;
  iconAtFirstShow = false;
  minimised = false;
}

// Minimised, the window holds no MIDI device; restored, it takes both
// again, or goes back to an icon while either cannot be had.
void SizeChanged(HWND window, WPARAM kind) {
  if (!initialised) return;
  if (kind == SIZE_MINIMIZED) {
    minimised = true;
    EndSendBeforeOutputCloses();
    CloseMidiInput();
    CloseMidiOutput();
  } else if (kind == SIZE_RESTORED && minimised) {
    minimised = false;
    OpenMidiInput(window);
    if (!OutputOpen()) OpenMidiOutput(window);
    MinimiseUnlessDevicesOpen(window);
  }
}

// ---- Commands ---------------------------------------------------------

void ClearStore() {
  ProcessMessageStore().ResetStore();
  messageLines.Clear();
}

void InputPortChanged(HWND window) {
  const LRESULT position = SendDlgItemMessageA(window, IDC_MANAGER_INPUT_PORT, CB_GETCURSEL, 0, 0);
  if (position == CB_ERR) return;
  EndSendBeforeOutputCloses();
  CloseMidiOutput();
  SwitchInputPort(window, InputPositionToDevice(static_cast<int>(position)));
  OpenMidiOutput(window);
  ClearStore();
  MinimiseUnlessDevicesOpen(window);
}

void OutputPortChanged(HWND window) {
  const LRESULT position = SendDlgItemMessageA(window, IDC_MANAGER_OUTPUT_PORT, CB_GETCURSEL, 0, 0);
  if (position == CB_ERR) return;
  // The port in use chosen again changes nothing: a file send goes on.
  const int device = OutputPositionToDevice(static_cast<int>(position));
  if (device == Settings.OutputPort) return;
  EndSendBeforeOutputCloses();
  SwitchOutputPort(window, device);
  MinimiseUnlessDevicesOpen(window);
}

void SaveCommand(HWND window) {
  if (ProcessMessageStore().MessageCount() < 1) {
    ShowError(window, kNothingToSaveText);
    return;
  }
  if (RefusedWhileSending(window)) return;
  if (SaveStoreAs(ProcessMessageStore(), folderFiles) == 1) {
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_MANAGER_CLEAR, BN_CLICKED), 0);
  }
}

void OpenCommand(HWND window) {
  if (ListSelection(window, IDC_MANAGER_FILE_LIST) < 0 || CtrlDown()) {
    if (!ChooseSyxFile("Open", folderFiles)) return;
  }
  const int selection = ListSelection(window, IDC_MANAGER_FILE_LIST);
  if (selection < 0) return;
  MessageBoxReporter reporter(MessageBoxReporter::Owner::ModuleWindow);
  if (!folderFiles.UsableAt(selection, reporter)) return;
  ClearStore();
  BusyCursor = true;
  SetModuleCursor();
  LoadSyxFile(folderFiles.PathAt(selection), ProcessMessageStore());
  BusyCursor = SendUnderWay();  // a send keeps its wait cursor
  SetModuleCursor();
}

void DeleteCommand(HWND window) {
  const int selection = ListSelection(window, IDC_MANAGER_FILE_LIST);
  if (selection < 0) {
    ShowError(window, kSelectBeforeDeleteText);
    return;
  }
  if (RefusedWhileSending(window)) return;
  MessageBoxReporter reporter(MessageBoxReporter::Owner::ModuleWindow);
  folderFiles.DeleteListedFile(selection, reporter);
}

void SendCommand(HWND window) {
  if (RefusedWhileSending(window)) return;
  if (ListSelection(window, IDC_MANAGER_FILE_LIST) < 0 || CtrlDown()) {
    if (!ChooseSyxFile("Send", folderFiles)) return;
  }
  const int selection = ListSelection(window, IDC_MANAGER_FILE_LIST);
  if (selection < 0) return;
  MessageBoxReporter reporter(MessageBoxReporter::Owner::ModuleWindow);
  if (folderFiles.UsableAt(selection, reporter)) SendSyxFile(folderFiles.PathAt(selection));
}

void CreateEditCommand(HWND window) {
  if (CtrlStateNonZero()) {
    SendDlgItemMessageA(window, IDC_MANAGER_MESSAGE_LIST, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  }
  RunMessageEditor(window, ListSelection(window, IDC_MANAGER_MESSAGE_LIST), ProcessMessageStore(),
                   messageLines);
}

void AckCommand(HWND window) {
  if (IsDlgButtonChecked(window, IDC_MANAGER_ACK) == BST_CHECKED) {
    CheckDlgButton(window, IDC_MANAGER_ACK, BST_UNCHECKED);
    Settings.AcknowledgeReceipt = 0;
    return;
  }
  if (RunAcknowledgementEditor(window) == 0) {
    Settings.AcknowledgeReceipt = 1;
    CheckDlgButton(window, IDC_MANAGER_ACK, BST_CHECKED);
  }
}

void HelpCommand(HWND window) {
  OpenHelp(window, kManagerHelpContext);
}

void LibrarianCommand(HWND window) {
  DirectEntry = Settings.LibrarianInstrument != -1 && !CtrlDown() ? 1 : 0;
  if (Settings.FirstUse[kLibrarianModule]) {
    WriteFirstUseMarker(kLibrarianModule);
    MessageBoxA(window, kLibrarianAdviceText, kLibrarianAdviceCaption, MB_OK | MB_ICONINFORMATION);
  }
  if (RunDefinitionDialog(window) == kNotDone) return;
  EndDialog(window, kLibrarianCode);
}

void Close(HWND window) {
  RememberModuleWindowPosition(window);
  EndDialog(window, kEndProgram);
}

bool Command(HWND window, int id, int code) {
  switch (id) {
    case IDC_MANAGER_INPUT_PORT:
      if (code == CBN_SELCHANGE) InputPortChanged(window);
      return true;
    case IDC_MANAGER_OUTPUT_PORT:
      if (code == CBN_SELCHANGE) OutputPortChanged(window);
      return true;
    case IDC_MANAGER_CLEAR:
      ClearStore();
      return true;
    case IDC_MANAGER_SAVE_AS:
      SaveCommand(window);
      return true;
    case IDC_MANAGER_OPEN:
      OpenCommand(window);
      return true;
    case IDC_MANAGER_DELETE:
      DeleteCommand(window);
      return true;
    case IDC_MANAGER_SEND:
      SendCommand(window);
      return true;
    case IDC_MANAGER_CREATE:
      CreateEditCommand(window);
      return true;
    case IDC_MANAGER_MESSAGE_LIST:
      if (code == LBN_DBLCLK) {
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_MANAGER_CREATE, BN_CLICKED), 0);
      }
      return true;
    case IDC_MANAGER_FILE_LIST:
      if (code == LBN_DBLCLK) {
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_MANAGER_SEND, BN_CLICKED), 0);
      }
      return true;
    case IDC_MANAGER_HELP:
      HelpCommand(window);
      return true;
    case IDC_MANAGER_ABOUT:
      ShowAboutBox(window);
      return true;
    case IDC_MANAGER_LIBRARIAN:
      LibrarianCommand(window);
      return true;
    case IDC_MANAGER_ACK:
      AckCommand(window);
      return true;
    default:
      // Escape (IDCANCEL) does not end the program: only Close does.
      return false;
  }
}

}  // namespace

INT_PTR CALLBACK ManagerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      Open(window);
      // The focus starts in the received-messages list, so that Enter
      // presses the default button.
      SetFocus(GetDlgItem(window, IDC_MANAGER_MESSAGE_LIST));
      return FALSE;
    case WM_PAINT:
      UpdateLabels(window);
      return FALSE;
    case WM_KEYDOWN:
      // Key presses of every control come here through the message hook.
      UpdateLabels(window, wParam == VK_CONTROL ? CtrlKey::JustPressed : CtrlKey::AsItIs);
      HandleModuleShortcut(window, message, wParam);
      return FALSE;
    case WM_KEYUP:
      UpdateLabels(window, wParam == VK_CONTROL ? CtrlKey::JustReleased : CtrlKey::AsItIs);
      return FALSE;
    case WM_COMMAND: {
      // Commands see the list as the store is.
      CatchUpList(window);
      const bool handled = Command(window, LOWORD(wParam), HIWORD(wParam));
      UpdateLabels(window);
      return handled ? TRUE : FALSE;
    }
    case WM_TIMER:
      if (wParam == kLoaderTimer) LoaderTimer(window);
      // A timer comes only when no notice waits: the burst is over.
      if (wParam == kListingTimer) CatchUpList(window);
      return TRUE;
    case WM_MOUSEMOVE:
      SetModuleCursor();
      return FALSE;
    case WM_SIZE:
      SizeChanged(window, wParam);
      return FALSE;
    case WM_SHOWWINDOW:
      if (wParam) FirstShown(window);
      return FALSE;
    case WM_CLOSE:
      Close(window);
      return TRUE;
    case MM_MIM_LONGDATA:
      DataReceived(window, wParam, lParam);
      return TRUE;
    case MM_MOM_DONE:
      HandleOutputDone(wParam, lParam);
      return TRUE;
    case WM_DESTROY:
      Destroy(window);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace qv
