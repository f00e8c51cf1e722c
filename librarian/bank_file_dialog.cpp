#include <windows.h>
#include <commdlg.h>

#include "librarian/file_dialogs_win32.h"
#include "librarian/library_file_names.h"

namespace qv {

bool ChooseNewBankFile(const std::string& programFolder, std::string& path) {
  char buffer[512] = {0};
  // Filter entries are pairs of zero-terminated texts, ended by an empty one.
  static const char kFilter[] = "Brindlecote bank file\0*.QvBank\0";
  OPENFILENAMEA choice = {};
  choice.lStructSize = sizeof choice;
  choice.hwndOwner = nullptr;
  choice.lpstrFilter = kFilter;
  choice.lpstrFile = buffer;
  choice.nMaxFile = sizeof buffer;
  choice.lpstrInitialDir = programFolder.c_str();
  choice.lpstrTitle = "Create new bank file...";
  choice.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOREADONLYRETURN;
  choice.lpstrDefExt = "QvBank";
  if (!GetSaveFileNameA(&choice)) return false;
  path = CompleteBankFileName(buffer);
  return true;
}

}  // namespace qv
