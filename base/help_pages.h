#pragma once
// Where the help for each help context lies. The help file "Mirelda.hlp"
// beside the program is opened at its context when it exists; otherwise
// the help is the HTML pages of the "Help" folder beside the program, one
// page per context and a contents page.
#include <string>
#include <string_view>

namespace qv {

inline constexpr int kManagerHelpContext = 1;
inline constexpr int kLibrarianHelpContext = 2;
inline constexpr int kEditorHelpContext = 3;
inline constexpr int kDefinitionHelpContext = 4;
inline constexpr int kHexEditorHelpContext = 5;

inline constexpr std::string_view kHelpFolderName = "Help";
inline constexpr std::string_view kHelpContentsPage = "index.html";

// The page file name of a help context; the contents page for a context
// that has none.
std::string_view HelpPageName(int context);

// "<program folder>\Help\<page>".
std::string HelpPagePath(std::string_view programFolder, int context);

}  // namespace qv
