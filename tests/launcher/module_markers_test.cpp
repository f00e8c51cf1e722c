#include "launcher/module_markers.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(ModuleMarkers, TailFormsSetTheBase) {
  struct Case {
    const char* tail;
    TailForm form;
    int base;
  };
  const Case cases[] = {
      {"", TailForm::kOrdinary, 0},
      {"/send x.syx", TailForm::kOrdinary, 0},
      {"/open x.syx", TailForm::kOrdinary, 0},
      {"/l", TailForm::kLibrarian, 1},
      {"/librarian C:\\Korg M1.QvInstrument", TailForm::kLibrarian, 1},
      {"/b", TailForm::kBankFile, 1},
      {"/bankfile C:\\x.QvBank", TailForm::kBankFile, 1},
      // Only a tail that begins with the switch, and only in lower case.
      {"/Librarian x", TailForm::kOrdinary, 0},
      {"/B x", TailForm::kOrdinary, 0},
      {" /b x", TailForm::kOrdinary, 0},
      {"x /b", TailForm::kOrdinary, 0},
      {"/", TailForm::kOrdinary, 0},
      {"l", TailForm::kOrdinary, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClassifyTail(c.tail), c.form) << "tail: [" << c.tail << "]";
    EXPECT_EQ(MarkerBase(ClassifyTail(c.tail)), c.base) << "tail: [" << c.tail << "]";
  }
}

TEST(ModuleMarkers, CtrlCountsWhenAnyOfTheUpperTwelveBitsIsSet) {
  struct Case {
    unsigned short state;
    bool down;
  };
  const Case cases[] = {
      {0x0000, false}, {0x0001, false}, {0x000F, false}, {0x0010, true},
      {0x0100, true},  {0x8000, true},  {0x8001, true},  {0xFFFF, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CtrlKeyDown(static_cast<short>(c.state)), c.down) << std::hex << c.state;
  }
}

TEST(ModuleMarkers, MarkedModuleFollowsCtrlAndTheM1Definition) {
  struct Case {
    int base;
    bool ctrl;
    bool m1;
    int marked;
  };
  const Case cases[] = {
      {0, false, false, kManagerMarker},   {0, true, false, kLibrarianMarker},
      {0, false, true, kManagerMarker},    {0, true, true, kLibrarianMarker},
      {1, false, false, kLibrarianMarker}, {1, true, false, kManagerMarker},
      {1, false, true, kLibrarianMarker},  {1, true, true, kEditorMarker},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MarkedModule(c.base, c.ctrl, c.m1), c.marked)
        << "base " << c.base << " ctrl " << c.ctrl << " m1 " << c.m1;
  }
}

TEST(ModuleMarkers, RectanglesStandAlongTheFootOfThePicture) {
  const int lefts[] = {0, 125, 250};
  for (int i = 0; i < kMarkerCount; ++i) {
    const MarkerRect& r = kMarkerRects[static_cast<size_t>(i)];
    EXPECT_EQ(r.left, lefts[i]);
    EXPECT_EQ(r.right - r.left, 6);
    EXPECT_EQ(r.top, 300);
    EXPECT_EQ(r.bottom, 335);
    EXPECT_LE(r.right, 501);
  }
}

}  // namespace
}  // namespace qv
