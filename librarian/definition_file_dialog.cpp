#include <windows.h>
#include <commdlg.h>

#include "librarian/file_dialogs_win32.h"
#include "librarian/library_file_names.h"

namespace qv {

bool ChooseDefinitionFile(HWND owner, const std::string& programFolder, std::string& path) {
  char buffer[512] = {0};
  // Filter entries are pairs of zero-terminated texts, ended by an empty one.
  static const char kFilter[] = "Brindlecote instrument definition\0*.QvInstrument\0";
  OPENFILENAMEA choice = {};
  choice.lStructSize = sizeof choice;
  choice.hwndOwner = owner;
  choice.lpstrFilter = kFilter;
  choice.lpstrFile = buffer;
  choice.nMaxFile = sizeof buffer;
  choice.lpstrInitialDir = programFolder.c_str();
  choice.lpstrTitle = "Save As";
  choice.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOREADONLYRETURN;
  choice.lpstrDefExt = "QvInstrument";
  if (!GetSaveFileNameA(&choice)) return false;
  path = CompleteDefinitionFileName(buffer);
  return true;
}

}  // namespace qv
