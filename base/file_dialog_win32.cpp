#include "base/file_dialog_win32.h"

#include <commdlg.h>

#include <cstring>
#include <cwchar>
#include <string_view>

#include "base/file_names.h"
#include "base/file_names_win32.h"
#include "base/process_state.h"

namespace qv {
namespace {

// The filter with its inner zeros and the closing empty text.
std::wstring WideFilter(const char* filter) {
  if (filter == nullptr) return std::wstring();
  size_t length = 0;
  while (filter[length] != '\0' || filter[length + 1] != '\0') ++length;
  return WideFileName(std::string_view(filter, length + 2));
}

std::wstring WideText(const char* text) { return text == nullptr ? std::wstring() : WideFileName(text); }

}  // namespace

bool ChooseFileName(const FileDialogRequest& request, FileDialogChoice& choice) {
  wchar_t path[512] = {};
  wchar_t fileTitle[256] = {};
  const std::wstring filter = WideFilter(request.filter);
  const std::wstring title = WideText(request.title);
  const std::wstring folder = WideText(request.initialFolder);
  const std::wstring extension = WideText(request.defaultExtension);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = request.owner;
  dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  dialog.nFilterIndex = static_cast<DWORD>(request.filterIndex);
  dialog.lpstrFile = path;
  dialog.nMaxFile = sizeof path / sizeof path[0];
  dialog.lpstrFileTitle = fileTitle;
  dialog.nMaxFileTitle = sizeof fileTitle / sizeof fileTitle[0];
  dialog.lpstrInitialDir = request.initialFolder != nullptr ? folder.c_str() : nullptr;
  dialog.lpstrTitle = request.title != nullptr ? title.c_str() : nullptr;
  dialog.lpstrDefExt = request.defaultExtension != nullptr ? extension.c_str() : nullptr;
  dialog.Flags = request.flags;
  if (!(request.save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog))) return false;

  choice.path = AnsiFileName(std::wstring_view(path, wcsnlen(path, dialog.nMaxFile)));
  choice.fileTitle = AnsiFileName(std::wstring_view(fileTitle, wcsnlen(fileTitle, dialog.nMaxFileTitle)));
  choice.filterIndex = static_cast<int>(dialog.nFilterIndex);
  if (FileNameUsable(choice.path)) return true;
  const size_t cut = choice.path.find_last_of("\\/");
  std::string name = cut == std::string::npos ? choice.path : choice.path.substr(cut + 1);
  if (FileNameUsable(name)) name = choice.path;  // the folder holds the lost letters
  MessageBoxA(request.owner != nullptr ? request.owner : ModuleWindow, UnusableFileNameMessage(name).c_str(),
              kUnusableFileNameCaption, MB_OK | MB_ICONEXCLAMATION);
  return false;
}

}  // namespace qv
