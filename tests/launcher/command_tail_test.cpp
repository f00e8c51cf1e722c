#include "launcher/command_tail.h"

#include <gtest/gtest.h>

#include "launcher/main_program_path.h"

namespace qv {
namespace {

struct TailCase {
  const char* commandLine;
  const char* tail;
};

TEST(CommandTail, IsTheTextAfterTheProgramNameAndItsBlanks) {
  const TailCase cases[] = {
      {"Mirelda.exe", ""},
      {"Mirelda.exe ", ""},
      {"Mirelda.exe   \t ", ""},
      {"C:\\Quillon\\Mirelda.exe /bankfile C:\\b\\x.QvBank", "/bankfile C:\\b\\x.QvBank"},
      {"Mirelda.exe    /l  two  blanks kept ", "/l  two  blanks kept "},
      {"Mirelda.exe\t/send a.syx", "/send a.syx"},
      {"\"C:\\Program Files\\Quillon\\Mirelda.exe\" /librarian C:\\d\\Korg M1.QvInstrument",
       "/librarian C:\\d\\Korg M1.QvInstrument"},
      {"\"C:\\Program Files\\Quillon\\Mirelda.exe\"", ""},
      {"\"unclosed quote /b x", ""},
      {"", ""},
      {"   leading blanks", "leading blanks"},
  };
  for (const TailCase& c : cases) {
    EXPECT_EQ(CommandTail(c.commandLine), c.tail) << "command line: [" << c.commandLine << "]";
  }
}

TEST(MainProgramPath, ReplacesEverythingFromTheLastBackslash) {
  const TailCase cases[] = {
      {"C:\\Quillon\\Mirelda.exe", "C:\\Quillon\\Mirelda.dat"},
      {"C:\\Program Files\\Quillon 2\\MIRELDA.EXE", "C:\\Program Files\\Quillon 2\\Mirelda.dat"},
      {"Z:\\a\\b.c\\Launcher.exe", "Z:\\a\\b.c\\Mirelda.dat"},
      {"C:\\Mirelda.exe", "C:\\Mirelda.dat"},
      {"\\\\server\\share\\Mirelda.exe", "\\\\server\\share\\Mirelda.dat"},
      {"C:\\Quillon\\", "C:\\Quillon\\Mirelda.dat"},
      {"Mirelda.exe", "Mirelda.dat"},
      {"", "Mirelda.dat"},
  };
  for (const TailCase& c : cases) {
    EXPECT_EQ(MainProgramPath(c.commandLine), c.tail) << "own path: [" << c.commandLine << "]";
  }
}

TEST(MainProgramCommandLine, JoinsPathAndTailWithOneBlank) {
  EXPECT_EQ(MainProgramCommandLine("C:\\Q\\Mirelda.dat", ""), "C:\\Q\\Mirelda.dat ");
  EXPECT_EQ(MainProgramCommandLine("C:\\Q\\Mirelda.dat", "/bankfile C:\\x.QvBank"),
            "C:\\Q\\Mirelda.dat /bankfile C:\\x.QvBank");
  EXPECT_EQ(MainProgramCommandLine("C:\\Q\\Mirelda.dat", "  spaced "), "C:\\Q\\Mirelda.dat   spaced ");
}

TEST(MainProgramCommandLine, ATailReadBackFromItIsTheSameTail) {
  // The main program reads its own tail from this line the way the launcher
  // reads its own: what the launcher got is what the main program gets.
  const char* tails[] = {"", "/b x.QvBank", "/librarian C:\\d\\Korg M1.QvInstrument", "anything else"};
  for (const char* tail : tails) {
    std::string line = MainProgramCommandLine("C:\\Quillon\\Mirelda.dat", tail);
    EXPECT_EQ(CommandTail(line), tail);
  }
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

TEST(CommandTail, WideLineGivesTheSameTailAsTheSystemHoldsIt) {
  EXPECT_EQ(CommandTail(std::wstring_view(L"\"C:\\Pro gram\\Mirelda.exe\" /bankfile C:\\B\u00e4nke\\\u0100nna.QvBank")),
            L"/bankfile C:\\B\u00e4nke\\\u0100nna.QvBank");
  EXPECT_EQ(CommandTail(std::wstring_view(L"Mirelda.exe \t /send x.syx")), L"/send x.syx");
  EXPECT_EQ(CommandTail(std::wstring_view(L"Mirelda.exe")), L"");
  EXPECT_EQ(MainProgramCommandLine(std::wstring_view(L"C:\\Q\\Mirelda.dat"), std::wstring_view(L"/l \u0424.QvInstrument")),
            L"C:\\Q\\Mirelda.dat /l \u0424.QvInstrument");
}

}  // namespace
}  // namespace qv
