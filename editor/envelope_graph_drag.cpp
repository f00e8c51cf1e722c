#include "editor/envelope_graph_drag.h"

#include <algorithm>
#include <cstdlib>

namespace qv {

HandleTable NoHandles() {
  HandleTable handles;
  handles.fill(GraphPoint{-1, 0});
  return handles;
}

int HitHandle(const HandleTable& handles, int x, int y) {
  int best = kNoHandle;
  int best_distance = 0;
  for (int n = 0; n < kHandleCount; ++n) {
    const GraphPoint& h = handles[std::size_t(n)];
    if (h.x == -1) continue;
    const int dx = std::abs(x - h.x);
    const int dy = std::abs(y - h.y);
    if (dx >= 5 || dy >= 5) continue;
    if (best == kNoHandle || dx + dy < best_distance) {
      best = n;
      best_distance = dx + dy;
    }
  }
  return best;
}

DragBounds BoundsFor(int handle, int row, const GraphLayout& layout, const GraphScroll& scroll,
                     int p1x, int p2x, int p6x) {
  const int g = layout.plot_height;
  const int longest = TimePixels(kEnvelopeTimeCount - 1);
  const EnvelopeKind kind = RowKind(row);
  DragBounds b{0, 0, 0, g};
  switch (handle) {
    case 0:
      b.xmin = b.xmax = kGraphMargin + scroll.offset1;
      break;
    case 1:
      b.xmin = kGraphMargin + scroll.offset1;
      b.xmax = LeftX(kEnvelopeTimeCount - 1) + scroll.offset1;
      break;
    case 2:
      b.xmin = p1x;
      b.xmax = p1x + longest;
      // The pitch envelope's decay always ends at level 0.
      if (kind == EnvelopeKind::Pitch) b.ymin = b.ymax = g / 2;
      break;
    case 3:
      b.xmin = p2x;
      b.xmax = p2x + longest;
      break;
    case 4:
      b.xmin = b.xmax = RightX(layout, 0) + scroll.offset2;
      break;
    case 5:
      b.xmin = RightX(layout, 0) + scroll.offset2;
      b.xmax = RightX(layout, kEnvelopeTimeCount - 1) + scroll.offset2;
      // The amplitude always releases to silence.
      if (kind == EnvelopeKind::Amplitude) b.ymin = g;
      break;
    default:
      b.xmin = b.xmax = p6x;
      break;
  }
  return b;
}

GraphPoint ClampInto(const DragBounds& bounds, GraphPoint point) {
  point.x = std::max(bounds.xmin, std::min(point.x, bounds.xmax));
  point.y = std::max(bounds.ymin, std::min(point.y, bounds.ymax));
  return point;
}

namespace {

void Store(M1Program& program, int offset, int value) {
  if (offset >= 0) program[std::size_t(offset)] = static_cast<std::uint8_t>(value & 0xFF);
}

}  // namespace

void DropHandle(M1Program& program, int row, int handle, const DragBounds& bounds,
                const GraphLayout& layout, GraphPoint point) {
  point = ClampInto(bounds, point);
  const int time = TimeIndexForPixels(point.x - bounds.xmin);
  const EnvelopeKind kind = RowKind(row);
  const int level = kind == EnvelopeKind::Amplitude ? UnipolarLevelAt(layout, point.y)
                                                    : BipolarLevelAt(layout, point.y);
  const EnvelopeOffsets o = OffsetsOf(row);
  switch (handle) {
    case 0:
      Store(program, o.start_level, level);
      break;
    case 1:
      Store(program, o.attack_time, time);
      Store(program, o.attack_level, level);
      break;
    case 2:
      Store(program, o.decay_time, time);
      if (kind != EnvelopeKind::Pitch) Store(program, o.break_level, level);
      break;
    case 3:
      Store(program, o.slope_time, time);
      Store(program, o.sustain_level, level);
      break;
    case 4:
      Store(program, o.sustain_level, level);
      break;
    case 5:
      Store(program, o.release_time, time);
      if (kind != EnvelopeKind::Amplitude) Store(program, o.release_level, level);
      break;
    case 6:
      Store(program, o.release_level, level);
      break;
    default:
      break;
  }
}

}  // namespace qv
