#include <gtest/gtest.h>

#include "editor/program_name.h"

namespace qv {
namespace {

M1Program Named(const char* ten) {
  M1Program p = BlankM1Program();
  std::copy(ten, ten + 10, p.begin());
  return p;
}

TEST(ProgramName, ListTextIsNumberSpaceAndTenCharacters) {
  EXPECT_EQ(ProgramListText(0, Named("Universe  ")), "00 Universe  ");
  EXPECT_EQ(ProgramListText(99, Named("Surprise!!")), "99 Surprise!!");
  EXPECT_EQ(ProgramListText(5, Named("A\0\0\0\0\0\0\0\0Z")), "05 A        Z");
  EXPECT_EQ(ProgramListText(5, Named("\x1f\x7f" "abcdefgh")).size(), 13u);
}

TEST(ProgramName, UnshowableBytesSurviveUnlessTheirCharacterChanges) {
  const M1Program original = Named("Nimbus\0\0ab");
  M1Program p = original;
  StoreShownName(ShownProgramName(p), p);
  EXPECT_EQ(p, original);
  StoreShownName("Nimbus Xab!", p);  // eleventh character is not read
  EXPECT_EQ(std::string(p.begin(), p.begin() + 10), std::string("Nimbus\0Xab", 10));
  StoreShownName("Nim", p);  // short text: the rest becomes blanks
  EXPECT_EQ(std::string(p.begin(), p.begin() + 10), std::string("Nim   \0   ", 10));
  for (int i = 3; i < 10; ++i) EXPECT_EQ(ShownNameCharacter(p[i]), ' ');
  EXPECT_EQ(p[10], original[10]);  // bytes past the name untouched
}

}  // namespace
}  // namespace qv
