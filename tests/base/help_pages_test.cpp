// Each help context has its own page, and the page ships in the Help folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "base/help_pages.h"

namespace qv {
namespace {

const std::filesystem::path kShippedHelp = std::filesystem::path(QV_SOURCE_DIR) / "resources/package/Help";

TEST(HelpPages, EachContextHasItsOwnShippedPageAndOthersGetTheContents) {
  std::set<std::string_view> pages;
  for (int context : {kManagerHelpContext, kLibrarianHelpContext, kEditorHelpContext,
                      kDefinitionHelpContext, kHexEditorHelpContext}) {
    const std::string_view page = HelpPageName(context);
    EXPECT_NE(page, kHelpContentsPage) << context;
    EXPECT_TRUE(std::filesystem::is_regular_file(kShippedHelp / page)) << page;
    pages.insert(page);
  }
  EXPECT_EQ(pages.size(), 5u);
  for (int context : {0, 6, -1}) EXPECT_EQ(HelpPageName(context), kHelpContentsPage);
  EXPECT_TRUE(std::filesystem::is_regular_file(kShippedHelp / kHelpContentsPage));
}

TEST(HelpPages, PathLiesInTheHelpFolderBesideTheProgram) {
  EXPECT_EQ(HelpPagePath("C:\\Quillon", kLibrarianHelpContext), "C:\\Quillon\\Help\\librarian.html");
  EXPECT_EQ(HelpPagePath("Z:\\home\\me\\Quillon", 99), "Z:\\home\\me\\Quillon\\Help\\index.html");
}

// The pages are read offline and without scripts: every link and picture
// that is not on the web names a file of the Help folder.
TEST(HelpPages, ShippedPagesUseNoScriptsAndLinkOnlyToShippedFiles) {
  int checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kShippedHelp)) {
    if (entry.path().extension() != ".html") continue;
    std::ifstream in(entry.path());
    const std::string html((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(html.find("<script"), std::string::npos) << entry.path();
    for (const std::string attribute : {"href=\"", "src=\""}) {
      for (size_t at = html.find(attribute); at != std::string::npos; at = html.find(attribute, at + 1)) {
        const size_t start = at + attribute.size();
        std::string target = html.substr(start, html.find('"', start) - start);
        if (target.rfind("http", 0) == 0 || target.rfind("#", 0) == 0) continue;
        target = target.substr(0, target.find('#'));
        EXPECT_TRUE(std::filesystem::exists(kShippedHelp / target)) << entry.path().filename() << " -> " << target;
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 20);
}

}  // namespace
}  // namespace qv
