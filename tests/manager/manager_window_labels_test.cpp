#include "manager/manager_labels.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "manager/manager_ids.h"

namespace qv::test {
namespace {

struct FormsCase {
  bool messageSelected;
  bool fileSelected;
  bool ctrl;
  int instrument;
  bool edit, open, send, librarian;
};

TEST(ManagerWindowLabels, FollowSelectionsCtrlAndTheRememberedInstrument) {
  const FormsCase cases[] = {
      {false, false, false, -1, false, false, false, false},
      {true, false, false, -1, true, false, false, false},
      {false, true, false, -1, false, true, true, false},
      {true, true, false, 0, true, true, true, true},
      {true, true, true, 0, false, false, false, false},
      {false, false, false, 3, false, false, false, true},
      {false, false, true, 3, false, false, false, false},
      {true, false, true, -1, false, false, false, false},
  };
  for (const FormsCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "message " << c.messageSelected << " file "
                                      << c.fileSelected << " ctrl " << c.ctrl << " instrument "
                                      << c.instrument);
    LabelForms forms = ChooseLabelForms(c.messageSelected, c.fileSelected, c.ctrl, c.instrument);
    EXPECT_EQ(forms.Plain(SwitchingButton::CreateEdit), c.edit);
    EXPECT_EQ(forms.Plain(SwitchingButton::Open), c.open);
    EXPECT_EQ(forms.Plain(SwitchingButton::Send), c.send);
    EXPECT_EQ(forms.Plain(SwitchingButton::Librarian), c.librarian);
  }
}

TEST(ManagerWindowLabels, PairsNameTheirControlsAndTexts) {
  const auto& pairs = SwitchingLabels();
  EXPECT_EQ(pairs[0].controlId, IDC_MANAGER_CREATE);
  EXPECT_STREQ(pairs[0].plainLabel, "Edit");
  EXPECT_STREQ(pairs[0].choosingLabel, "Create");
  EXPECT_STREQ(pairs[1].plainLabel, "<< Open");
  EXPECT_STREQ(pairs[1].choosingLabel, "<< Open...");
  EXPECT_STREQ(pairs[2].plainLabel, "Send");
  EXPECT_STREQ(pairs[2].choosingLabel, "Send...");
  EXPECT_STREQ(pairs[3].plainLabel, "Librarian");
  EXPECT_STREQ(pairs[3].plainTip, "Enter librarian (+CTRL...)");
  for (const LabelPair& p : pairs) {
    // Every plain form's tooltip tells of Ctrl; the choosing form's is the
    // one the window starts with.
    EXPECT_NE(std::string(p.plainTip).find("(+CTRL...)"), std::string::npos) << p.plainLabel;
    bool found = false;
    for (const ToolTipEntry& t : ManagerToolTips(1)) {
      if (t.controlId == p.controlId) {
        EXPECT_STREQ(t.text, p.choosingTip);
        found = true;
      }
    }
    EXPECT_TRUE(found) << p.choosingLabel;
  }
}

TEST(ManagerWindowToolTips, LevelsChooseTheTools) {
  EXPECT_TRUE(ManagerToolTips(0).empty());
  EXPECT_TRUE(ManagerToolTips(-1).empty());
  std::set<int> one;
  for (const ToolTipEntry& t : ManagerToolTips(1)) one.insert(t.controlId);
  EXPECT_EQ(one, (std::set<int>{105, 106, 101, 100, 109, 150, 111, 170, 151, 107, 103, 3000}));
  std::set<int> two;
  for (const ToolTipEntry& t : ManagerToolTips(2)) two.insert(t.controlId);
  std::set<int> expected = one;
  expected.insert({102, 104});
  EXPECT_EQ(two, expected);
  EXPECT_EQ(ManagerToolTips(2).size(), 14u);
  std::map<int, std::string> texts;
  for (const ToolTipEntry& t : ManagerToolTips(2)) texts[t.controlId] = t.text;
  EXPECT_EQ(texts[102], "Lists data in memory");
  EXPECT_EQ(texts[104], "Lists files on disk, in the current folder");
  EXPECT_EQ(texts[170], "Transmit acknowledging message on receipt of data");
  EXPECT_EQ(texts[105], "Choose MIDI port that will receive data");
}

}  // namespace
}  // namespace qv::test
