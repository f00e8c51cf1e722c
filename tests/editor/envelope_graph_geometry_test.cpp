#include "editor/envelope_graph_geometry.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace qv {
namespace {

TEST(EnvelopeTimeTable, RisesFromZeroToItsLongestTime) {
  EXPECT_EQ(kEnvelopeTimeTable.front(), 0);
  EXPECT_EQ(kEnvelopeTimeTable.back(), 1092618);
  for (std::size_t i = 1; i < kEnvelopeTimeTable.size(); ++i)
    EXPECT_LE(kEnvelopeTimeTable[i - 1], kEnvelopeTimeTable[i]) << "index " << i;
}

TEST(EnvelopeTimeTable, PixelsOfATimeAndOfBytesOutsideTheTable) {
  struct Case { int time; int pixels; };
  const Case cases[] = {
      {0, 0}, {1, 5}, {10, 10}, {20, 40}, {30, 53}, {50, 90}, {99, 12140},
      // Bytes outside 0..99 draw as the nearest end of the table.
      {-1, 0}, {-128, 0}, {100, 12140}, {127, 12140},
  };
  for (const Case& c : cases) EXPECT_EQ(TimePixels(c.time), c.pixels) << "time " << c.time;
}

TEST(GraphLayout, SplitsTheClientAreaIntoMarginAndTwoSections) {
  struct Case { int w, h, cy; int g, left, right, divider; };
  const Case cases[] = {
      {400, 200, 17, 183, 247, 82, 317},
      {200, 200, 17, 183, 97, 32, 167},
      {1000, 600, 20, 580, 697, 232, 767},
      // A window no higher than its scroll bars keeps a plotting area of one pixel.
      {300, 17, 17, 1, 172, 57, 242},
      {300, 5, 17, 1, 172, 57, 242},
  };
  for (const Case& c : cases) {
    const GraphLayout layout = MakeGraphLayout(c.w, c.h, c.cy);
    EXPECT_EQ(layout.plot_height, c.g) << c.w << "x" << c.h;
    EXPECT_EQ(layout.LeftWidth(), c.left) << c.w << "x" << c.h;
    EXPECT_EQ(layout.RightWidth(), c.right) << c.w << "x" << c.h;
    EXPECT_EQ(layout.Divider(), c.divider) << c.w << "x" << c.h;
    // The right section begins where the left one ends.
    EXPECT_EQ(kGraphMargin + layout.LeftWidth(), layout.Divider()) << c.w << "x" << c.h;
  }
}

TEST(GraphLayout, MarginRowsAreEighthsOfTheHeight) {
  const GraphLayout layout = MakeGraphLayout(400, 203, 17);
  const int tops[] = {0, 25, 50, 76, 101, 126, 152, 177, 203};
  for (int row = 0; row <= 8; ++row) EXPECT_EQ(layout.RowTop(row), tops[row]) << "row " << row;
}

TEST(GraphPositions, LeftSectionChainsTheSegments) {
  EXPECT_EQ(LeftX(0), 70);
  EXPECT_EQ(LeftX(20), 110);
  EXPECT_EQ(LeftX2(20, 30), 70 + 40 + 53);
  EXPECT_EQ(LeftX3(10, 20, 30), 70 + 10 + 40 + 53);
  EXPECT_EQ(LeftX3(0, 0, 0), 70);
  EXPECT_EQ(LeftX3(99, 99, 99), 70 + 3 * 12140);
}

TEST(GraphPositions, RightSectionStartsAtTheDivider) {
  const GraphLayout layout = MakeGraphLayout(400, 200, 17);
  EXPECT_EQ(RightX(layout, 0), 317);
  EXPECT_EQ(RightX(layout, 50), 317 + 90);
  EXPECT_EQ(RightX(layout, 99), 317 + 12140);
}

TEST(GraphLevels, ScalesAndTheirInverses) {
  const GraphLayout layout = MakeGraphLayout(400, 200, 17);  // G = 183
  struct Case { int level; int unipolar_y; int bipolar_y; };
  const Case cases[] = {
      {0, 183, 91}, {99, 0, 0}, {50, 91, 45}, {1, 182, 91}, {-99, 0, 182}, {-50, 0, 137},
  };
  for (const Case& c : cases) {
    if (c.level >= 0) {
      EXPECT_EQ(UnipolarY(layout, c.level), c.unipolar_y) << c.level;
    }
    EXPECT_EQ(BipolarY(layout, c.level), c.bipolar_y) << c.level;
  }
  struct Back { int y; int unipolar; int bipolar; };
  const Back backs[] = {{0, 99, 99}, {183, 0, -99}, {91, 50, 1}, {92, 50, 0}, {182, 1, -97}};
  for (const Back& b : backs) {
    EXPECT_EQ(UnipolarLevelAt(layout, b.y), b.unipolar) << "y " << b.y;
    EXPECT_EQ(BipolarLevelAt(layout, b.y), b.bipolar) << "y " << b.y;
  }
}

TEST(GraphLevels, EveryYOfThePlottingAreaGivesALevelOnItsScale) {
  for (int h : {30, 100, 200, 517}) {
    const GraphLayout layout = MakeGraphLayout(300, h, 17);
    for (int y = 0; y <= layout.plot_height; ++y) {
      const int u = UnipolarLevelAt(layout, y);
      const int b = BipolarLevelAt(layout, y);
      EXPECT_TRUE(u >= 0 && u <= 99) << "h " << h << " y " << y;
      EXPECT_TRUE(b >= -99 && b <= 99) << "h " << h << " y " << y;
    }
  }
}

TEST(GraphTimes, NearestTimeOfASegmentLength) {
  struct Case { int pixels; int time; };
  const Case cases[] = {
      {0, 0},      {1, 0},      {5, 1},
      // 540 lies nearer 500 (indexes 2 to 4) than 622: the last of the 500s.
      {6, 4},      {18, 12},    {19, 12},   {100, 53},  {1000, 93},
      {3000, 97},  {12140, 99}, {20000, 99},
      // Exactly between two durations: the shorter time.
      {105, 55},   {194, 72},
      {-3, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TimeIndexForPixels(c.pixels), c.time) << c.pixels << " pixels";
}

TEST(GraphTimes, DistinctDurationsLongerThanAPixelComeBack) {
  // A time drawn at its own length returns whenever its pixel length lies
  // nearer its own duration than its neighbours'.
  for (int t = 1; t < kEnvelopeTimeCount; ++t) {
    const int d = TimePixels(t);
    const int back = TimeIndexForPixels(d);
    EXPECT_LE(std::abs(kEnvelopeTimeTable[std::size_t(back)] - d * kGraphUnitsPerPixel),
              std::abs(kEnvelopeTimeTable[std::size_t(t)] - d * kGraphUnitsPerPixel))
        << "time " << t << " came back as " << back;
  }
}

}  // namespace
}  // namespace qv
