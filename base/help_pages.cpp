#include "base/help_pages.h"

namespace qv {

std::string_view HelpPageName(int context) {
  switch (context) {
    case kManagerHelpContext: return "manager.html";
    case kLibrarianHelpContext: return "librarian.html";
    case kEditorHelpContext: return "editor.html";
    case kDefinitionHelpContext: return "definitions.html";
    case kHexEditorHelpContext: return "hex-editors.html";
    default: return kHelpContentsPage;
  }
}

std::string HelpPagePath(std::string_view programFolder, int context) {
  std::string path(programFolder);
  path += '\\';
  path += kHelpFolderName;
  path += '\\';
  path += HelpPageName(context);
  return path;
}

}  // namespace qv
