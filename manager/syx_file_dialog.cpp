#include "manager/syx_file_dialog.h"

#include <windows.h>
#include <commdlg.h>

#include <cstring>
#include <string>

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
  char path[512] = {};
  char fileTitle[256] = {};
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = ModuleWindow;
  dialog.lpstrFilter = "Sysex data\0*.SYX\0";
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path;
  dialog.nMaxFile = sizeof path;
  dialog.lpstrFileTitle = fileTitle;
  dialog.nMaxFileTitle = sizeof fileTitle;
  dialog.lpstrTitle = title;
  dialog.Flags = OFN_HIDEREADONLY | OFN_NOVALIDATE;
  if (!GetOpenFileNameA(&dialog)) return false;
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
  char path[512] = {};
  char fileTitle[256];
  std::memset(fileTitle, 0xCD, sizeof fileTitle);
  fileTitle[sizeof fileTitle - 1] = '\0';
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = ModuleWindow;
  dialog.lpstrFilter =
      "Kestrovallian format\0*.SYX\0Standard format\0*.SYX\0Kestrovallian 1.0 format\0*.syx\0";
  dialog.nFilterIndex = static_cast<DWORD>(rememberedSaveFilter);
  dialog.lpstrFile = path;
  dialog.nMaxFile = sizeof path;
  dialog.lpstrFileTitle = fileTitle;
  dialog.nMaxFileTitle = sizeof fileTitle;
  dialog.lpstrTitle = "Save As";
  dialog.lpstrDefExt = "syx";
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOREADONLYRETURN;
  if (!GetSaveFileNameA(&dialog)) return 0;

  rememberedSaveFilter = dialog.nFilterIndex >= 1 && dialog.nFilterIndex <= 3
                             ? static_cast<int>(dialog.nFilterIndex)
                             : 1;
  const auto filter = static_cast<SaveFilter>(rememberedSaveFilter);
  std::string title(fileTitle, strnlen(fileTitle, sizeof fileTitle));
  if (title.empty()) {
    const char* cut = std::strrchr(path, '\\');
    title = cut != nullptr ? cut + 1 : path;
  }
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
