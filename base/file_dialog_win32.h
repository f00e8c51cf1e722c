#pragma once
// The system's open and save dialogs under the one rule for file names
// (base/file_names.h). Window layer only.
#include <windows.h>

#include <string>

namespace qv {

struct FileDialogRequest {
  bool save = false;                     // the save dialog, else the open dialog
  HWND owner = nullptr;
  const char* filter = nullptr;          // pairs of zero-terminated texts, ended by an empty one
  int filterIndex = 1;
  const char* title = nullptr;
  const char* initialFolder = nullptr;   // null: the dialog's own choice
  const char* defaultExtension = nullptr;
  DWORD flags = 0;
};

struct FileDialogChoice {
  std::string path;       // at most 511 characters
  std::string fileTitle;  // the name the dialog gives without folder; may be empty
  int filterIndex = 1;
};

// Runs the dialog. The wide dialog is run and its answer made an ANSI name
// here, so that a letter the code page lacks never comes back as a
// look-alike letter, which could name another file. A name the code page
// cannot hold is refused with its message (owned by the dialog's owner, or
// the module window) and counts as no choice. False when cancelled.
bool ChooseFileName(const FileDialogRequest& request, FileDialogChoice& choice);

}  // namespace qv
