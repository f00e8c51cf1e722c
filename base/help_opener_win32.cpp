#include "base/help_opener_win32.h"

#include <shellapi.h>

#include <string>

#include "base/help_pages.h"
#include "base/process_state.h"

namespace qv {
namespace {

bool IsFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

void OpenHelp(HWND owner, int context) {
  const std::string helpFile = HelpFilePath();
  if (IsFile(helpFile)) {
    WinHelpA(owner, helpFile.c_str(), HELP_CONTEXT, static_cast<ULONG_PTR>(context));
    HelpOwner = owner;
    return;
  }
  const std::string page = HelpPagePath(ProgramFolder, context);
  const HINSTANCE result = ShellExecuteA(owner, "open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  if (reinterpret_cast<INT_PTR>(result) <= 32) {
    const std::string text = "The help page could not be opened:\n\n" + page +
                             "\n\nOpen it with your web browser.";
    MessageBoxA(owner, text.c_str(), "Help", MB_OK | MB_ICONINFORMATION);
  }
}

}  // namespace qv
