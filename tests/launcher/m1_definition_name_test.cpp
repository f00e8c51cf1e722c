#include "launcher/m1_definition_name.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

// The file the main program loads: the whole path after the switch word,
// not a bare name looked for in the current folder.
TEST(DefinitionSearchName, TakesThePathTheMainProgramLoads) {
  struct Case {
    const char* tail;
    const char* name;
  };
  const Case cases[] = {
      {"/librarian C:\\Defs\\Korg M1.QvInstrument", "C:\\Defs\\Korg M1.QvInstrument"},
      {"/l Z:\\a\\b\\c\\DX7.QvInstrument", "Z:\\a\\b\\c\\DX7.QvInstrument"},
      {"/librarian C:\\with space\\Korg M1R.QvInstrument", "C:\\with space\\Korg M1R.QvInstrument"},
      // A bare name is looked for in the current folder by both programs.
      {"/librarian Korg M1.QvInstrument", "Korg M1.QvInstrument"},
      {"/l  two blanks.QvInstrument", " two blanks.QvInstrument"},
      {"/l ..\\Defs\\Korg M1.QvInstrument", "..\\Defs\\Korg M1.QvInstrument"},
      // No file at all.
      {"/l", ""},
      {"/librarian", ""},
      {"/librarian ", ""},
      {"/l C:\\Defs\\", ""},
      // Wildcards would match any file.
      {"/l C:\\Defs\\K*", ""},
      {"/l Ko?g M1.QvInstrument", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DefinitionSearchName(c.tail), c.name) << "tail: [" << c.tail << "]";
  }
}

TEST(IsM1DefinitionName, TestsCharactersOneTwoSixAndSeven) {
  struct Case {
    const char* name;
    bool m1;
  };
  const Case cases[] = {
      {"Korg M1.QvInstrument", true},
      {"Korg M1R.QvInstrument", true},
      {"Korg M1", true},
      {"KoXYZM1 anything", true},  // only those four places count
      {"korg M1.QvInstrument", false},
      {"KORG M1.QvInstrument", false},
      {"Korg m1.QvInstrument", false},
      {"Korg M3.QvInstrument", false},
      {"Korg 01W.QvInstrument", false},
      {"Yamaha DX7.QvInstrument", false},
      // Names shorter than seven characters never match and are never
      // read past their end.
      {"Korg M", false},
      {"Ko", false},
      {"K", false},
      {"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsM1DefinitionName(c.name), c.m1) << "name: [" << c.name << "]";
  }
}

}  // namespace
}  // namespace qv
