// The "Librarian options" dialog: the list of definitions in the program
// folder, their fields, and OK writing the chosen or a new definition file.
#include "librarian/definition_dialog.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "base/file_names.h"
#include "base/help_opener_win32.h"
#include "base/help_pages.h"
#include "base/process_state.h"
#include "base/reporter.h"
#include "base/tool_tips_win32.h"
#include "librarian/definition_dialog_form.h"
#include "librarian/definition_file.h"
#include "librarian/file_dialogs_win32.h"
#include "librarian/librarian_ids.h"
#include "librarian/library_file_names.h"
#include "midi/midi_ports_win32.h"
#include "settings/settings.h"

namespace qv {
namespace {


// The dialog's state; one dialog is open at a time.
int definitionCount = 0;
int32_t rememberedInstrument = -1;
// The definition current when the dialog opened: choosing another in the
// list loads it, and Cancel puts this one back, record and name.
InstrumentDefinition rememberedDefinition{};
std::string rememberedDefinitionName;
bool loading = false;
HWND rememberedTooltipWindow = nullptr;

// Boxes owned by the dialog itself, so that closing one leaves the
// dialog's owner disabled for as long as the dialog runs.
class DialogReporter : public Reporter {
 public:
  explicit DialogReporter(HWND dialog) : dialog_(dialog) {}
  BoxAnswer Show(std::string_view text, std::string_view caption, BoxIcon icon,
                 BoxButtons buttons) override {
    UINT style = buttons == BoxButtons::YesNo ? MB_YESNO : MB_OK;
    if (icon == BoxIcon::Stop) style |= MB_ICONSTOP;
    if (icon == BoxIcon::Exclamation) style |= MB_ICONEXCLAMATION;
    if (icon == BoxIcon::Information) style |= MB_ICONINFORMATION;
    if (icon == BoxIcon::Question) style |= MB_ICONQUESTION;
    std::string t(text), c(caption);
    switch (MessageBoxA(dialog_, t.c_str(), c.c_str(), style)) {
      case IDYES: return BoxAnswer::Yes;
      case IDNO: return BoxAnswer::No;
      case IDCANCEL: return BoxAnswer::Cancel;
      default: return BoxAnswer::Ok;
    }
  }

 private:
  HWND dialog_;
};

std::string ItemText(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  int length = GetWindowTextLengthA(item);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  int got = GetWindowTextA(item, text.data(), length + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

int ComboSelection(HWND dialog, int id) {
  LRESULT selection = SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
  return selection == CB_ERR ? -1 : static_cast<int>(selection);
}

int ComboCount(HWND dialog, int id) {
  LRESULT count = SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0);
  return count == CB_ERR ? 0 : static_cast<int>(count);
}

std::string ComboText(HWND dialog, int id, int position) {
  LRESULT length = SendDlgItemMessageA(dialog, id, CB_GETLBTEXTLEN, position, 0);
  if (length == CB_ERR) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  LRESULT got = SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, position,
                                    reinterpret_cast<LPARAM>(text.data()));
  text.resize(got == CB_ERR ? 0 : static_cast<size_t>(got));
  return text;
}

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

// The name extraction box enables the controls that belong to it.
void NameExtractionClicked(HWND dialog) {
  const BOOL on = IsChecked(dialog, IDC_DEFINITION_NAME_EXTRACTION) ? TRUE : FALSE;
  for (int id : {IDC_DEFINITION_NAME_OFFSETS, IDC_DEFINITION_NAME_GROUP, IDC_DEFINITION_NAME_LABEL,
                 IDC_DEFINITION_AUTO_UPDATE}) {
    EnableWindow(GetDlgItem(dialog, id), on);
  }
}

void SelectDefineNew(HWND dialog) {
  if (loading) return;
  SendDlgItemMessageA(dialog, IDC_DEFINITION_MODEL, CB_SETCURSEL, definitionCount, 0);
}

// Loads the listed definition at position and shows it. A damaged file
// is refused with a box; the fields stay as they were and the choice moves
// to "Define new instrument", so that OK cannot write them into that file.
// A name the code page cannot hold is refused the same way: nothing is read
// from or written to a file under it.
bool DefinitionChosen(HWND dialog, int position) {
  if (position < 0 || position >= definitionCount) return false;
  const std::string name = ComboText(dialog, IDC_DEFINITION_MODEL, position);
  if (!FileNameUsable(name)) {
    SendDlgItemMessageA(dialog, IDC_DEFINITION_MODEL, CB_SETCURSEL, definitionCount, 0);
    MessageBoxA(dialog, UnusableFileNameMessage(name + std::string(kDefinitionExtension)).c_str(),
                kUnusableFileNameCaption, MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  const std::string path = LibraryFilePath(ProgramFolder, name, kDefinitionExtension);
  if (ReadInstrumentDefinition(path, CurrentDefinition, CurrentDefinitionName) ==
      DefinitionLoad::Damaged) {
    SendDlgItemMessageA(dialog, IDC_DEFINITION_MODEL, CB_SETCURSEL, definitionCount, 0);
    DialogReporter(dialog).Show(DamagedDefinitionText(path), kDamagedFileCaption,
                                BoxIcon::Exclamation, BoxButtons::Ok);
    return false;
  }
  loading = true;
  DefinitionFormFields fields = FieldsOfDefinition(CurrentDefinition);
  SetDlgItemTextA(dialog, IDC_DEFINITION_PROGRAM_SIZE, fields.programSize.c_str());
  SetDlgItemTextA(dialog, IDC_DEFINITION_CHANNEL, fields.channel.c_str());
  SetDlgItemTextA(dialog, IDC_DEFINITION_LOWEST, fields.lowestProgram.c_str());
  SetDlgItemTextA(dialog, IDC_DEFINITION_HIGHEST, fields.highestProgram.c_str());
  SetDlgItemTextA(dialog, IDC_DEFINITION_DISPLAY_OFFSET, fields.displayOffset.c_str());
  SetDlgItemTextA(dialog, IDC_DEFINITION_REQUEST, fields.requestString.c_str());
  SetDlgItemTextA(dialog, IDC_DEFINITION_SEND, fields.sendString.c_str());
  SetDlgItemTextA(dialog, IDC_DEFINITION_NAME_OFFSETS, fields.nameOffsets.c_str());
  SetDlgItemTextA(dialog, IDC_DEFINITION_NOTES, fields.notes.c_str());
  CheckDlgButton(dialog, IDC_DEFINITION_NAME_EXTRACTION, fields.nameExtraction ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialog, IDC_DEFINITION_AUTO_UPDATE, fields.autoUpdate ? BST_CHECKED : BST_UNCHECKED);

  CurrentDefinition.inputPort =
      ListedPortPosition(CurrentDefinition.inputPort, ComboCount(dialog, kInputPortListId));
  CurrentDefinition.outputPort =
      ListedPortPosition(CurrentDefinition.outputPort, ComboCount(dialog, kOutputPortListId));
  SendDlgItemMessageA(dialog, kInputPortListId, CB_SETCURSEL, CurrentDefinition.inputPort, 0);
  SendDlgItemMessageA(dialog, kOutputPortListId, CB_SETCURSEL, CurrentDefinition.outputPort, 0);

  NameExtractionClicked(dialog);
  loading = false;
  return true;
}

void CreateToolTips(HWND dialog) {
  rememberedTooltipWindow = TooltipWindow;
  if (Settings.ToolTips <= 0) return;
  HWND tips = CreateToolTipControl(dialog, Settings.ToolTips);
  if (tips == nullptr) return;
  TooltipWindow = tips;
  for (const DefinitionToolTip& tip : DefinitionToolTips()) AddToolTip(tips, dialog, tip.controlId, tip.text);
}

void Open(HWND dialog) {
  loading = false;
  FillPortLists(dialog);
  rememberedInstrument = Settings.LibrarianInstrument;
  rememberedDefinition = CurrentDefinition;
  rememberedDefinitionName = CurrentDefinitionName;

  definitionCount = 0;
  for (const std::string& name : ListLibraryFiles(ProgramFolder, kDefinitionExtension)) {
    SendDlgItemMessageA(dialog, IDC_DEFINITION_MODEL, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(name.c_str()));
    ++definitionCount;
  }
  SendDlgItemMessageA(dialog, IDC_DEFINITION_MODEL, CB_ADDSTRING, 0,
                      reinterpret_cast<LPARAM>(kDefineNewInstrument));

  const int position = InitialDefinitionPosition(Settings.LibrarianInstrument, definitionCount);
  SendDlgItemMessageA(dialog, IDC_DEFINITION_MODEL, CB_SETCURSEL, position, 0);
  const bool loaded = DefinitionChosen(dialog, position);

  // A refused definition leaves the dialog to the user.
  if (loaded && EntersAtOnce(DirectEntry, Settings.LibrarianInstrument, definitionCount)) {
    rememberedTooltipWindow = TooltipWindow;
    EndDialog(dialog, 0);
    return;
  }
  CreateToolTips(dialog);
}

int FocusId(FormField field) {
  switch (field) {
    case FormField::Channel: return IDC_DEFINITION_CHANNEL;
    case FormField::LowestProgram: return IDC_DEFINITION_LOWEST;
    case FormField::DisplayOffset: return IDC_DEFINITION_DISPLAY_OFFSET;
    case FormField::ProgramSize: return IDC_DEFINITION_PROGRAM_SIZE;
    case FormField::RequestString: return IDC_DEFINITION_REQUEST;
    case FormField::SendString: return IDC_DEFINITION_SEND;
  }
  return IDC_DEFINITION_CHANNEL;
}

void Accept(HWND dialog) {
  StartBankIndex = 0;
  const int position = ComboSelection(dialog, IDC_DEFINITION_MODEL);
  Settings.LibrarianInstrument = position;

  DefinitionFormFields fields;
  fields.channel = ItemText(dialog, IDC_DEFINITION_CHANNEL);
  fields.lowestProgram = ItemText(dialog, IDC_DEFINITION_LOWEST);
  fields.highestProgram = ItemText(dialog, IDC_DEFINITION_HIGHEST);
  fields.displayOffset = ItemText(dialog, IDC_DEFINITION_DISPLAY_OFFSET);
  fields.programSize = ItemText(dialog, IDC_DEFINITION_PROGRAM_SIZE);
  fields.requestString = ItemText(dialog, IDC_DEFINITION_REQUEST);
  fields.sendString = ItemText(dialog, IDC_DEFINITION_SEND);
  fields.nameOffsets = ItemText(dialog, IDC_DEFINITION_NAME_OFFSETS);
  fields.notes = ItemText(dialog, IDC_DEFINITION_NOTES);
  fields.inputPort = ComboSelection(dialog, kInputPortListId);
  fields.outputPort = ComboSelection(dialog, kOutputPortListId);
  fields.nameExtraction = IsChecked(dialog, IDC_DEFINITION_NAME_EXTRACTION);
  fields.autoUpdate = IsChecked(dialog, IDC_DEFINITION_AUTO_UPDATE);

  DialogReporter reporter(dialog);
  if (std::optional<FormField> refused = AcceptDefinitionForm(fields, CurrentDefinition, reporter)) {
    SetFocus(GetDlgItem(dialog, FocusId(*refused)));
    return;
  }

  const bool listed = position >= 0 && position < definitionCount;
  std::string path;
  if (listed) {
    path = LibraryFilePath(ProgramFolder, ComboText(dialog, IDC_DEFINITION_MODEL, position),
                           kDefinitionExtension);
  } else if (!ChooseDefinitionFile(dialog, ProgramFolder, path)) {
    return;
  }
  std::string name;
  if (SaveDefinitionFile(path, listed, CurrentDefinition, reporter, name) != DefinitionSave::Saved) {
    return;
  }
  CurrentDefinitionName = name;
  EndDialog(dialog, 0);
}

bool Command(HWND dialog, int id, int code) {
  switch (id) {
    case IDOK:
      Accept(dialog);
      return true;
    case IDCANCEL:
      Settings.LibrarianInstrument = rememberedInstrument;
      CurrentDefinition = rememberedDefinition;
      CurrentDefinitionName = rememberedDefinitionName;
      EndDialog(dialog, kNotDone);
      return true;
    case IDC_DEFINITION_HELP:
      OpenHelp(ModuleWindow, kDefinitionHelpContext);
      return true;
    case IDC_DEFINITION_MODEL:
      if (code == CBN_SELCHANGE) {
        const int position = ComboSelection(dialog, IDC_DEFINITION_MODEL);
        if (position >= 0 && position < definitionCount) DefinitionChosen(dialog, position);
      }
      return true;
    case IDC_DEFINITION_PROGRAM_SIZE:
    case IDC_DEFINITION_LOWEST:
    case IDC_DEFINITION_HIGHEST:
    case IDC_DEFINITION_DISPLAY_OFFSET:
    case IDC_DEFINITION_REQUEST:
    case IDC_DEFINITION_SEND:
    case IDC_DEFINITION_NAME_OFFSETS:
    case IDC_DEFINITION_NOTES:
      if (code == EN_CHANGE) SelectDefineNew(dialog);
      return true;
    case IDC_DEFINITION_AUTO_UPDATE:
      SelectDefineNew(dialog);
      return true;
    case IDC_DEFINITION_NAME_EXTRACTION:
      if (code == BN_CLICKED) {
        NameExtractionClicked(dialog);
        SelectDefineNew(dialog);
      }
      return true;
    default:
      return false;
  }
}

INT_PTR CALLBACK DefinitionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      Open(dialog);
      return TRUE;
    case WM_COMMAND:
      return Command(dialog, LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    case WM_DESTROY:
      TooltipWindow = rememberedTooltipWindow;
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

int RunDefinitionDialog(HWND owner) {
  INT_PTR result = DialogBoxParamA(ProgramInstance, "EnterLibrarian", owner, DefinitionDialogProc, 0);
  return result == -1 ? kNotDone : static_cast<int>(result);
}

}  // namespace qv
