#include "editor/envelope_graph_scroll.h"

#include <algorithm>

namespace qv {

std::optional<int> ScrolledOffset(int offset, int code, int thumb, int page, int range_max) {
  const int line = page / 10;
  switch (static_cast<ScrollRequest>(code)) {
    case ScrollRequest::LineLeft: offset += line; break;
    case ScrollRequest::LineRight: offset -= line; break;
    case ScrollRequest::PageLeft: offset += page; break;
    case ScrollRequest::PageRight: offset -= page; break;
    case ScrollRequest::ThumbPosition: offset = -thumb; break;
    case ScrollRequest::ThumbTrack: return std::nullopt;
    default: break;
  }
  // A bar whose content fits has a range below 0: the offset stays at 0.
  const int lowest = -std::max(range_max, 0);
  return std::max(lowest, std::min(offset, 0));
}

ScrollFit FitScrollBar(int extent, int view, int offset) {
  ScrollFit fit;
  fit.range_max = extent - view;
  fit.offset = offset;
  if (fit.range_max < 0) {
    fit.enabled = false;
    fit.offset = 0;
  } else if (fit.range_max < -offset) {
    fit.set_position = true;
    fit.offset = -fit.range_max;
  }
  return fit;
}

}  // namespace qv
