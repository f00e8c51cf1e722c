#include "editor/envelope_graph_scroll.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(GraphScrolling, RequestsMoveTheOffsetWithinTheRange) {
  struct Case { const char* what; int offset; ScrollRequest code; int thumb; int expected; };
  const int page = 247;   // a line is 24
  const int range = 500;
  const Case cases[] = {
      {"line right", 0, ScrollRequest::LineRight, 0, -24},
      {"line left", -100, ScrollRequest::LineLeft, 0, -76},
      {"line left at the start", 0, ScrollRequest::LineLeft, 0, 0},
      {"page right", -100, ScrollRequest::PageRight, 0, -347},
      {"page right past the end", -400, ScrollRequest::PageRight, 0, -500},
      {"page left", -300, ScrollRequest::PageLeft, 0, -53},
      {"thumb released", -10, ScrollRequest::ThumbPosition, 321, -321},
      {"thumb released past the end", -10, ScrollRequest::ThumbPosition, 900, -500},
  };
  for (const Case& c : cases) {
    const std::optional<int> offset = ScrolledOffset(c.offset, int(c.code), c.thumb, page, range);
    ASSERT_TRUE(offset) << c.what;
    EXPECT_EQ(*offset, c.expected) << c.what;
  }
}

TEST(GraphScrolling, ThumbTrackingDoesNothingOtherCodesOnlyClamp) {
  EXPECT_FALSE(ScrolledOffset(-10, int(ScrollRequest::ThumbTrack), 300, 247, 500));
  // SB_TOP, SB_BOTTOM, SB_ENDSCROLL change nothing but are still clamped.
  for (int code : {6, 7, 8}) {
    EXPECT_EQ(ScrolledOffset(-10, code, 0, 247, 500), -10) << code;
    EXPECT_EQ(ScrolledOffset(-900, code, 0, 247, 500), -500) << code;
  }
}

TEST(GraphScrolling, ABarWithoutRangeKeepsTheOffsetAtZero) {
  EXPECT_EQ(ScrolledOffset(0, int(ScrollRequest::LineRight), 0, 247, -127), 0);
  EXPECT_EQ(ScrolledOffset(0, int(ScrollRequest::PageRight), 0, 247, 0), 0);
}

TEST(GraphScrolling, PaintFitsTheBarToTheContent) {
  struct Case { const char* what; int extent, view, offset; ScrollFit fit; };
  const Case cases[] = {
      // All times 0: the content reaches 120, less than the section.
      {"content fits", 120, 247, -30, {-127, false, 0, false}},
      {"content just fits", 247, 247, 0, {0, true, 0, false}},
      {"offset inside the range", 1000, 247, -300, {753, true, -300, false}},
      {"offset beyond a shrunk range", 400, 247, -300, {153, true, -153, true}},
  };
  for (const Case& c : cases) {
    const ScrollFit fit = FitScrollBar(c.extent, c.view, c.offset);
    EXPECT_EQ(fit.range_max, c.fit.range_max) << c.what;
    EXPECT_EQ(fit.enabled, c.fit.enabled) << c.what;
    EXPECT_EQ(fit.offset, c.fit.offset) << c.what;
    EXPECT_EQ(fit.set_position, c.fit.set_position) << c.what;
  }
}

}  // namespace
}  // namespace qv
