#pragma once
// Handles of the envelope graph: which one a press hits, how far a handle
// may be dragged, and what dropping it writes into the program.
#include <array>

#include "editor/envelope_graph_envelopes.h"
#include "editor/envelope_graph_geometry.h"
#include "editor/m1_program.h"

namespace qv {

// The handles on screen after the last paint; x is -1 for one that is not.
using HandleTable = std::array<GraphPoint, kHandleCount>;
HandleTable NoHandles();

inline constexpr int kNoHandle = -1;

// The handle within 4 pixels of (x, y) both ways, nearest by |dx| + |dy|,
// the lower-numbered on a tie; kNoHandle when none is.
int HitHandle(const HandleTable& handles, int x, int y);

struct DragBounds {
  int xmin = 0;
  int xmax = 0;
  int ymin = 0;
  int ymax = 0;
};

// Where handle n of the row's envelope may go. p1x and p2x are where the
// last paint put P1 and P2, p6x where it put P6.
DragBounds BoundsFor(int handle, int row, const GraphLayout& layout, const GraphScroll& scroll,
                     int p1x, int p2x, int p6x);

GraphPoint ClampInto(const DragBounds& bounds, GraphPoint point);

// Drops handle n of the row's envelope at (x, y): the point is clamped into
// the bounds, the segment's length from xmin gives the time and y gives the
// level, stored into the handle's parameters of the program.
void DropHandle(M1Program& program, int row, int handle, const DragBounds& bounds,
                const GraphLayout& layout, GraphPoint point);

}  // namespace qv
