#pragma once
// Where the envelope graph puts things: the time table, the margin and the
// two sections, and the level scales. Every division truncates toward zero
// in the order written, as the graph has always placed its points.
#include <array>

namespace qv {

// The width of the margin of envelope buttons at the left edge.
inline constexpr int kGraphMargin = 70;
// Time-table units that make one pixel.
inline constexpr int kGraphUnitsPerPixel = 90;
inline constexpr int kEnvelopeTimeCount = 100;

// The duration of every envelope time index, in table units.
extern const std::array<int, kEnvelopeTimeCount> kEnvelopeTimeTable;

// A time byte as an index into the table. Real programs may hold bytes
// outside 0..99; they are drawn as the nearest end of the table and are left
// as they are in the program.
int EnvelopeTimeIndex(int time);
// The time's length in pixels.
int TimePixels(int time);

// The client area of the graph and what follows from it.
struct GraphLayout {
  int width = 0;          // W
  int height = 0;         // H
  int scroll_height = 0;  // cy, the height of a horizontal scroll bar
  int plot_height = 1;    // G = H - cy, at least 1

  // L: the left (attack to sustain) section's width.
  int LeftWidth() const { return (3 * width - 210) / 4; }
  // R: the right (release) section's width, for its scroll range.
  int RightWidth() const { return (width - kGraphMargin) / 4; }
  // Where the right section starts.
  int Divider() const { return (3 * (width - kGraphMargin)) / 4 + kGraphMargin; }
  int ZeroLine() const { return plot_height / 2; }
  // Top and bottom of margin row r (0..7); the bottom is the next row's top.
  int RowTop(int row) const { return row * height / 8; }
};

// The layout of a client area W x H. The plotting area is never less than
// one pixel high, so a window shrunk to its scroll bars still divides.
GraphLayout MakeGraphLayout(int width, int height, int scroll_height);

// Left-section positions, before the section's scroll offset.
int LeftX(int time);
int LeftX2(int a, int b);
int LeftX3(int a, int b, int c);
// Right-section position, before the section's scroll offset.
int RightX(const GraphLayout& layout, int time);

// Levels to y: unipolar 0..99 (0 at the bottom), bipolar -99..99 (0 in the middle).
int UnipolarY(const GraphLayout& layout, int level);
int BipolarY(const GraphLayout& layout, int level);
// y back to a level, for a y inside the plotting area.
int UnipolarLevelAt(const GraphLayout& layout, int y);
int BipolarLevelAt(const GraphLayout& layout, int y);

// The time index whose duration lies nearest to a segment drawn d pixels
// long; a tie goes to the shorter time.
int TimeIndexForPixels(int pixels);

}  // namespace qv
