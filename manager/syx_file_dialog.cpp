#include "manager/syx_file_dialog.h"

#include <windows.h>
#include <commdlg.h>

#include <string>

#include "base/file_dialog_win32.h"
#include "base/process_state.h"
#include "base/window_plumbing.h"
#include "manager/syx_save.h"

namespace qv {

namespace {

// The filter index of the last save in this run; the first save offers 1.
int rememberedSaveFilter = 1;

}  // namespace

std::string CurrentFolder() {
  char folder[MAX_PATH + 1] = {};
  DWORD n = GetCurrentDirectoryA(sizeof folder, folder);
  if (n == 0 || n >= sizeof folder) return ".";
  return std::string(folder, n);
}

bool ChooseSyxFile(const char* title, FolderFileList& files) {
  FileDialogRequest request;
  request.owner = ModuleWindow;
  request.filter = "Sysex data\0*.SYX\0";
  request.title = title;
  request.flags = OFN_HIDEREADONLY | OFN_NOVALIDATE;
  FileDialogChoice choice;
  if (!ChooseFileName(request, choice)) return false;
  const std::string& path = choice.path;
  // The chosen file's folder is listed and becomes the current folder. The
  // dialog is not relied on for that: not every version of it moves to the
  // folder of a path typed into its name box.
  ChosenFile chosen = SplitChosenPath(path);
  if (chosen.folder.empty() || !SetCurrentDirectoryA(chosen.folder.c_str())) {
    chosen.folder = CurrentFolder();
  }
  files.ListSyxFiles(chosen.folder, chosen.name);
  return true;
}

int SaveStoreAs(MessageStore& store, FolderFileList& files) {
  FileDialogRequest request;
  request.save = true;
  request.owner = ModuleWindow;
  request.filter =
      "Kestrovallian format\0*.SYX\0Standard format\0*.SYX\0Kestrovallian 1.0 format\0*.syx\0";
  request.filterIndex = rememberedSaveFilter;
  request.title = "Save As";
  request.defaultExtension = "syx";
  request.flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOREADONLYRETURN;
  FileDialogChoice choice;
  if (!ChooseFileName(request, choice)) return 0;

  rememberedSaveFilter = choice.filterIndex >= 1 && choice.filterIndex <= 3 ? choice.filterIndex : 1;
  const auto filter = static_cast<SaveFilter>(rememberedSaveFilter);
  const std::string& path = choice.path;
  std::string title = choice.fileTitle;
  if (title.empty()) title = SplitChosenPath(path).name;
  // A large store takes a while to write.
  BusyCursor = true;
  SetModuleCursor();
  const bool written = WriteStoreToFile(store, path, title, filter);
  BusyCursor = false;
  SetModuleCursor();
  if (!written) return 0;
  files.AddFileEntry(SavedFileLine(filter, title), path, true);
  return 1;
}

}  // namespace qv
