// The librarian's two save dialogs: a new instrument definition file and a
// new bank file, both in the program folder.
#include <windows.h>
#include <commdlg.h>

#include "base/file_dialog_win32.h"
#include "librarian/file_dialogs_win32.h"
#include "librarian/library_file_names.h"

namespace qv {

namespace {

// filter: pairs of zero-terminated texts, ended by an empty one. False when
// cancelled; otherwise true with the chosen path in path.
bool ChooseSaveFile(HWND owner, const std::string& programFolder, const char* filter,
                    const char* title, const char* defaultExtension, std::string& path) {
  FileDialogRequest request;
  request.save = true;
  request.owner = owner;
  request.filter = filter;
  request.initialFolder = programFolder.c_str();
  request.title = title;
  request.flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOREADONLYRETURN;
  request.defaultExtension = defaultExtension;
  FileDialogChoice choice;
  if (!ChooseFileName(request, choice)) return false;
  path = choice.path;
  return true;
}

}  // namespace

bool ChooseDefinitionFile(HWND owner, const std::string& programFolder, std::string& path) {
  static const char kFilter[] = "Brindlecote instrument definition\0*.QvInstrument\0";
  std::string chosen;
  if (!ChooseSaveFile(owner, programFolder, kFilter, "Save As", "QvInstrument", chosen)) {
    return false;
  }
  path = CompleteDefinitionFileName(chosen);
  return true;
}

bool ChooseNewBankFile(const std::string& programFolder, std::string& path) {
  static const char kFilter[] = "Brindlecote bank file\0*.QvBank\0";
  std::string chosen;
  if (!ChooseSaveFile(nullptr, programFolder, kFilter, "Create new bank file...", "QvBank",
                      chosen)) {
    return false;
  }
  path = CompleteBankFileName(chosen);
  return true;
}

}  // namespace qv
