// The command-line forms against the file system, the MIDI output and the
// definition dialog.
#include "app/command_line_win32.h"

#include <string>
#include <vector>

#include "app/command_line.h"
#include "base/file_names.h"
#include "base/file_names_win32.h"
#include "base/process_state.h"
#include "base/window_plumbing.h"
#include "librarian/definition_dialog.h"
#include "librarian/definition_file.h"
#include "librarian/library_file_names.h"
#include "manager/syx_send_win32.h"
#include "settings/settings.h"

namespace qv {
namespace {

bool CtrlDown() { return (static_cast<unsigned short>(GetAsyncKeyState(VK_CONTROL)) & 0xFFF0) != 0; }

// The name the file system keeps for the file path names, without folder;
// empty when it names no file. Wildcards name no particular file. The wide
// call gives the name exactly, made an ANSI name by the one rule for file
// names (base/file_names.h).
std::string StoredFileName(const std::string& path) {
  if (path.empty() || !FileNameUsable(path)) return std::string();
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(WideFileName(path).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return std::string();
  FindClose(search);
  if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::string();
  return AnsiFileName(found.cFileName);
}

// The file names (with extension) of the program folder's files of a kind,
// in file-system order.
std::vector<std::string> ProgramFolderFiles(std::string_view extension) {
  std::vector<std::string> names;
  for (const std::string& path : ListLibraryFilePaths(ProgramFolder, extension)) {
    names.emplace_back(LastPathComponent(path));
  }
  return names;
}

[[noreturn]] void CommandLineError(const std::string& text, bool closeLoader) {
  if (closeLoader) CloseLoaderWindowByClass();
  MessageBoxA(nullptr, text.c_str(), kCommandLineErrorCaption, MB_OK | MB_ICONEXCLAMATION);
  ExitProcess(0);
}

// A path whose name the code page cannot hold is refused as such: it could
// name another file.
void RefuseUnusableName(const std::string& path, bool closeLoader) {
  if (!FileNameUsable(path)) {
    CommandLineError(UnusableFileNameMessage(LastPathComponent(path)), closeLoader);
  }
}

int EnterWithRememberedDefinition() {
  DirectEntry = 1;
  return RunDefinitionDialog(nullptr) == kNotDone ? kManagerCode : kLibrarianCode;
}

int InstrumentForm(const std::string& path) {
  RefuseUnusableName(path, false);
  const std::string stored = StoredFileName(path);
  InstrumentDefinition definition = CurrentDefinition;
  std::string name;
  const DefinitionLoad load = stored.empty() ? DefinitionLoad::NotOpened
                                             : ReadInstrumentDefinition(path, definition, name);
  if (load == DefinitionLoad::Damaged) CommandLineError(DamagedDefinitionText(path).c_str(), false);
  if (load != DefinitionLoad::Loaded) CommandLineError(kInstrumentNotFoundMessage, false);
  CurrentDefinition = definition;
  CurrentDefinitionName = NameFromFilePath(stored);
  Settings.LibrarianInstrument =
      PositionOfFileName(ProgramFolderFiles(kDefinitionExtension), LastPathComponent(path));
  if (CtrlDown()) return IsM1DefinitionName(CurrentDefinitionName) ? kEditorCode : kManagerCode;
  return kLibrarianCode;
}

int BankForm(const std::string& path) {
  RefuseUnusableName(path, true);
  const std::string stored = StoredFileName(path);
  const std::vector<std::string> banks = ProgramFolderFiles(kBankExtension);
  const int32_t bank = stored.empty() ? -1 : PositionOfFileName(banks, stored);
  if (bank < 0) CommandLineError(kBankNotFoundMessage, true);
  // The chooser lists only the banks of this bank's program size.
  StartBankIndex = BankChooserPosition(ListLibraryFilePaths(ProgramFolder, kBankExtension), stored);

  const uint32_t programSize =
      ReadBankProgramSize(LibraryFilePath(ProgramFolder, banks[static_cast<size_t>(bank)], ""));
  const std::vector<std::string> definitions = ListLibraryFilePaths(ProgramFolder, kDefinitionExtension);
  auto programSizeAt = [&](int n) -> std::optional<int32_t> {
    InstrumentDefinition definition;
    std::string name;
    if (!LoadInstrumentDefinition(definitions[static_cast<size_t>(n)], definition, name)) {
      return std::nullopt;
    }
    return definition.programSize;
  };
  const int32_t chosen = ChooseDefinitionForBank(static_cast<int>(definitions.size()), programSizeAt,
                                                 programSize, Settings.LibrarianInstrument);
  if (chosen < 0) CommandLineError(kNoMatchingInstrumentMessage, true);
  Settings.LibrarianInstrument = chosen;
  return EnterWithRememberedDefinition();
}

}  // namespace

CommandLineStart ReadCommandLine(const char* text) {
  CommandLineStart start;
  const CommandLineRequest request = ParseCommandLine(text != nullptr ? text : "");
  switch (request.form) {
    case CommandLineForm::Send:
      RunCommandLineSend(request.path);
      start.moduleCode = kEndProgram;
      start.sent = true;
      break;
    case CommandLineForm::Instrument:
      start.moduleCode = InstrumentForm(request.path);
      break;
    case CommandLineForm::Bank:
      start.moduleCode = BankForm(request.path);
      break;
    case CommandLineForm::Ordinary:
      start.moduleCode = CtrlDown() && Settings.LibrarianInstrument != -1
                             ? EnterWithRememberedDefinition()
                             : kManagerCode;
      break;
  }
  return start;
}

}  // namespace qv
