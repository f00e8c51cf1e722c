#include "settings/window_places.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(WindowPlaces, ShownWindowIsRememberedWhereItIs) {
  ScreenRect place = PlaceToRemember(false, {40, 50, 540, 450}, {1, 2, 3, 4}, 0, 30);
  SettingsRecord s;
  RememberModulePlace(s, place);
  EXPECT_EQ(s.WindowX, 40);
  EXPECT_EQ(s.WindowY, 50);
}

TEST(WindowPlaces, MinimisedWindowIsRememberedWhereItWillBeRestored) {
  // The system parks minimised windows at -32000; their restored place is
  // given relative to the work area.
  struct Case {
    int workLeft, workTop;
    int expectX, expectY;
  };
  for (Case c : {Case{0, 0, 100, 80}, Case{0, 28, 100, 108}, Case{60, 0, 160, 80}}) {
    ScreenRect place = PlaceToRemember(true, {-32000, -32000, -31840, -31976}, {100, 80, 600, 480},
                                       c.workLeft, c.workTop);
    SettingsRecord s;
    RememberModulePlace(s, place);
    EXPECT_EQ(s.WindowX, c.expectX);
    EXPECT_EQ(s.WindowY, c.expectY);
    EXPECT_EQ(place.right - place.left, 500);
    EXPECT_EQ(place.bottom - place.top, 400);
  }
}

TEST(WindowPlaces, GraphPlaceKeepsCornerAndSize) {
  SettingsRecord s;
  RememberGraphPlace(s, {-10, 20, 290, 220});
  EXPECT_EQ(s.GraphX, -10);
  EXPECT_EQ(s.GraphY, 20);
  EXPECT_EQ(s.GraphW, 300);
  EXPECT_EQ(s.GraphH, 200);
  EXPECT_EQ(s.WindowX, 0);  // the module place is not touched
}

}  // namespace
}  // namespace qv
