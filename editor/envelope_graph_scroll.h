#pragma once
// The two scroll bars of the envelope graph: how a scroll request moves a
// section's offset, and how the paint fits a bar's range to the content.
#include <optional>

namespace qv {

// The scroll requests of a horizontal scroll bar (the SB_ codes).
enum class ScrollRequest {
  LineLeft = 0,
  LineRight = 1,
  PageLeft = 2,
  PageRight = 3,
  ThumbPosition = 4,
  ThumbTrack = 5,
};

// The offset after a scroll request on a bar whose range ends at
// range_max; page is the left section's width and a line a tenth of it.
// While the thumb is dragged nothing changes: no value.
std::optional<int> ScrolledOffset(int offset, int code, int thumb, int page, int range_max);

// A bar fitted to its section: its range is 0..range_max, enabled or not,
// and the section's offset afterwards.
struct ScrollFit {
  int range_max = 0;
  bool enabled = true;
  int offset = 0;
  bool set_position = false;  // the bar's position becomes range_max
};

// extent includes the margin of 50; view is the section's width.
ScrollFit FitScrollBar(int extent, int view, int offset);

}  // namespace qv
