#include "librarian/librarian_window_forms.h"

#include <gtest/gtest.h>

#include <string>

#include "librarian/librarian_ids.h"

namespace qv {
namespace {

TEST(LibrarianForms, SelectionsEnableSaveCopyAndDelete) {
  struct Case {
    int device, bank;
    bool save, copy, del;
  };
  const Case cases[] = {
      {-1, -1, false, false, false},
      {0, -1, true, false, false},
      {-1, 3, false, false, true},
      {5, 0, true, true, true},
  };
  for (const Case& c : cases) {
    LibrarianForms forms = ChooseLibrarianForms(c.device, c.bank, false, true);
    EXPECT_EQ(forms.saveEnabled, c.save) << c.device << "," << c.bank;
    EXPECT_EQ(forms.copyEnabled, c.copy) << c.device << "," << c.bank;
    EXPECT_EQ(forms.deleteEnabled, c.del) << c.device << "," << c.bank;
  }
}

TEST(LibrarianForms, CtrlAndNameExtractionChooseTheButtonForms) {
  struct Case {
    bool ctrl, extraction;
    const char* save;
    const char* update;
    const char* manager;
  };
  const Case cases[] = {
      {false, true, "<< Save", "Update", "Manager"},
      {true, true, "<< Save As...", "<< All", "Instrument..."},
      {false, false, "<< Save As...", "Update", "Manager"},
      {true, false, "<< Save As...", "Update", "Instrument..."},
  };
  for (const Case& c : cases) {
    LibrarianForms forms = ChooseLibrarianForms(0, 0, c.ctrl, c.extraction);
    EXPECT_STREQ(SaveButtonForm(forms.saveAsForm).caption, c.save);
    EXPECT_STREQ(UpdateButtonForm(forms.allForm).caption, c.update);
    EXPECT_STREQ(ManagerButtonForm(forms.instrumentForm).caption, c.manager);
  }
  EXPECT_STREQ(SaveButtonForm(false).tip, "Save program into bank file (+CTRL...)");
  EXPECT_STREQ(SaveButtonForm(true).tip, "Save selected program with a name you specify");
  EXPECT_STREQ(UpdateButtonForm(true).tip, "Get all instrument's programs into bank file");
  EXPECT_STREQ(UpdateButtonForm(false).tip, "Update all program names from instrument (+CTRL...)");
  EXPECT_STREQ(ManagerButtonForm(true).tip, "Choose a new instrument definition");
  EXPECT_STREQ(ManagerButtonForm(false).tip, "Enter general Kestrovallian (+CTRL...)");
}

TEST(LibrarianForms, TheWindowOpensWithTheAskingForms) {
  LibrarianForms forms = InitialLibrarianForms();
  EXPECT_TRUE(forms.saveEnabled && forms.copyEnabled && forms.deleteEnabled);
  EXPECT_TRUE(forms.saveAsForm);
  EXPECT_TRUE(forms.instrumentForm);
  EXPECT_FALSE(forms.allForm);
  // Any real state differs from it in the Manager button unless Ctrl is held.
  EXPECT_NE(ChooseLibrarianForms(0, 0, false, false), forms);
}

TEST(LibrarianToolTips, LevelsAddTheirTools) {
  EXPECT_TRUE(LibrarianToolTips(0).empty());
  auto level1 = LibrarianToolTips(1);
  ASSERT_EQ(level1.size(), 10u);
  EXPECT_EQ(level1.front().controlId, IDC_LIBRARIAN_SAVE);
  EXPECT_STREQ(level1.front().text, "Save selected program with a name you specify");
  EXPECT_EQ(level1[7].controlId, IDC_LIBRARIAN_CLEAR_NAMES);
  EXPECT_STREQ(level1[9].text, "Enter program editor (Korg M1 only)");
  auto level2 = LibrarianToolTips(2);
  ASSERT_EQ(level2.size(), 12u);
  EXPECT_EQ(level2[10].controlId, IDC_LIBRARIAN_BANK_LIST);
  EXPECT_STREQ(level2[11].text, "Lists programs on instrument");
}

}  // namespace
}  // namespace qv
