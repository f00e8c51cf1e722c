#include "editor/envelope_graph_drag.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

namespace qv {
namespace {

// Every byte but the listed ones is the same in both programs.
void ExpectOnlyChanged(const M1Program& before, const M1Program& after, std::set<int> changed,
                       const char* what) {
  for (int i = 0; i < int(kM1ProgramSize); ++i) {
    if (changed.count(i) == 0) {
      EXPECT_EQ(before[std::size_t(i)], after[std::size_t(i)]) << what << ": byte " << i;
    }
  }
}

M1Program Patterned() {
  M1Program p = BlankM1Program();
  for (std::size_t i = 0; i < p.size(); ++i) p[i] = std::uint8_t(i * 7 + 3);
  p[kM1OscillatorMode] = 1;
  return p;
}

TEST(GraphHandles, HitTestingWithinFourPixels) {
  HandleTable h = NoHandles();
  EXPECT_EQ(HitHandle(h, -1, 0), kNoHandle) << "no handle on screen";
  h[1] = {100, 50};
  h[2] = {106, 50};
  h[5] = {300, 20};
  struct Case { int x, y; int hit; };
  const Case cases[] = {
      {100, 50, 1}, {97, 54, 1}, {96, 46, 1}, {104, 54, 2}, {95, 50, kNoHandle}, {100, 55, kNoHandle},
      // Between P1 and P2: the nearer one, the lower-numbered on a tie.
      {102, 50, 1}, {103, 50, 1}, {104, 50, 2}, {103, 52, 1},
      {300, 20, 5}, {200, 20, kNoHandle},
  };
  for (const Case& c : cases) EXPECT_EQ(HitHandle(h, c.x, c.y), c.hit) << c.x << "," << c.y;
  // Handles that are not on screen can't be hit, even at x -1.
  h = NoHandles();
  EXPECT_EQ(HitHandle(h, -1, 0), kNoHandle);
}

TEST(GraphHandles, DragBoundsOfEveryHandle) {
  const GraphLayout layout = MakeGraphLayout(400, 200, 17);  // G 183, divider 317
  const GraphScroll scroll{-10, -20, 0, 0};
  struct Case { int handle; int row; DragBounds bounds; };
  const Case cases[] = {
      {0, kPitch1Row, {60, 60, 0, 183}},
      {1, kAmp1Row, {60, 70 + 12140 - 10, 0, 183}},
      {2, kAmp1Row, {111, 111 + 12140, 0, 183}},
      {2, kPitch2Row, {111, 111 + 12140, 91, 91}},
      {3, kCutoff1Row, {222, 222 + 12140, 0, 183}},
      {4, kCutoff1Row, {297, 297, 0, 183}},
      {5, kAmp2Row, {297, 297 + 12140, 183, 183}},
      {5, kCutoff2Row, {297, 297 + 12140, 0, 183}},
      {6, kPitch1Row, {333, 333, 0, 183}},
  };
  for (const Case& c : cases) {
    const DragBounds b = BoundsFor(c.handle, c.row, layout, scroll, 111, 222, 333);
    EXPECT_EQ(b.xmin, c.bounds.xmin) << "P" << c.handle << " row " << c.row;
    EXPECT_EQ(b.xmax, c.bounds.xmax) << "P" << c.handle << " row " << c.row;
    EXPECT_EQ(b.ymin, c.bounds.ymin) << "P" << c.handle << " row " << c.row;
    EXPECT_EQ(b.ymax, c.bounds.ymax) << "P" << c.handle << " row " << c.row;
  }
}

TEST(GraphHandles, ClampKeepsThePointInsideItsBounds) {
  const DragBounds b{70, 500, 0, 183};
  EXPECT_EQ(ClampInto(b, {-30000, 50}), (GraphPoint{70, 50})) << "far left goes to the left bound";
  EXPECT_EQ(ClampInto(b, {32000, -5}), (GraphPoint{500, 0}));
  EXPECT_EQ(ClampInto(b, {100, 400}), (GraphPoint{100, 183}));
  EXPECT_EQ(ClampInto(b, {100, 100}), (GraphPoint{100, 100}));
}

TEST(GraphDrop, EachHandleWritesItsOwnParameters) {
  const GraphLayout layout = MakeGraphLayout(400, 200, 17);  // G 183
  struct Case {
    const char* what;
    int row;
    int handle;
    int d;  // pixels from xmin
    int y;
    std::set<int> changed;
    std::vector<std::pair<int, int>> values;  // offset, signed value
  };
  const Case cases[] = {
      {"amp P1", kAmp1Row, 1, 41, 0, {92, 93}, {{92, 20}, {93, 99}}},
      {"amp P2", kAmp1Row, 2, 10, 183, {94, 95}, {{94, 10}, {95, 0}}},
      {"amp P3", kAmp1Row, 3, 90, 91, {96, 97}, {{96, 50}, {97, 50}}},
      {"amp P4", kAmp1Row, 4, 0, 0, {97}, {{97, 99}}},
      {"amp P5 changes no level", kAmp1Row, 5, 53, 0, {98}, {{98, 30}}},
      {"pitch P0", kPitch1Row, 0, 0, 183, {63}, {{63, -99}}},
      {"pitch P1", kPitch1Row, 1, 5, 0, {64, 65}, {{64, 1}, {65, 99}}},
      {"pitch P2 changes only the decay", kPitch1Row, 2, 12140, 0, {66}, {{66, 99}}},
      {"pitch P5", kPitch1Row, 5, 0, 137, {67, 68}, {{67, 0}, {68, -49}}},
      {"pitch P6", kPitch1Row, 6, 0, 92, {68}, {{68, 0}}},
      {"cutoff 2 P3", kCutoff2Row, 3, 18, 45, {122, 123}, {{122, 12}, {123, 51}}},
      {"cutoff 2 P5", kCutoff2Row, 5, 40, 182, /* 3600 units lie nearer 3556 */ {124, 125}, {{124, 19}, {125, -97}}},
      {"amp 2 P1", kAmp2Row, 1, 10, 183, {132, 133}, {{132, 10}, {133, 0}}},
      {"pitch 2 P0", kPitch2Row, 0, 0, 0, {103}, {{103, 99}}},
  };
  const GraphScroll scroll{-4, -6, 0, 0};
  for (const Case& c : cases) {
    M1Program p = Patterned();
    const M1Program before = p;
    const DragBounds b = BoundsFor(c.handle, c.row, layout, scroll, 80, 90, 400);
    DropHandle(p, c.row, c.handle, b, layout, {b.xmin + c.d, c.y});
    ExpectOnlyChanged(before, p, c.changed, c.what);
    for (auto [offset, value] : c.values)
      EXPECT_EQ(SignedByte(p[std::size_t(offset)]), value) << c.what << ": byte " << offset;
  }
}

TEST(GraphDrop, APointDraggedOutsideIsClampedFirst) {
  const GraphLayout layout = MakeGraphLayout(400, 200, 17);
  M1Program p = Patterned();
  const DragBounds b = BoundsFor(1, kCutoff1Row, layout, {}, 0, 0, 0);
  DropHandle(p, kCutoff1Row, 1, b, layout, {-2000, -300});
  EXPECT_EQ(p[78], 0) << "time from the left bound";
  EXPECT_EQ(p[79], 99) << "level from the top";
  DropHandle(p, kCutoff1Row, 1, b, layout, {30000, 900});
  EXPECT_EQ(p[78], 99);
  EXPECT_EQ(SignedByte(p[79]), -99);
}

TEST(GraphDrop, DroppingAHandleWhereItIsDrawnStaysWithinAPixel) {
  // Drawn lengths are cut to whole pixels and a drop takes the nearest
  // duration, so a handle picked up and dropped in place may land on a
  // neighbouring time, but never on one drawn more than a pixel away.
  const GraphLayout layout = MakeGraphLayout(600, 300, 17);
  for (int t = 0; t < kEnvelopeTimeCount; ++t) {
    M1Program p = BlankM1Program();
    p[92] = std::uint8_t(t);
    p[93] = 60;
    const EnvelopeCurve c = BuildCurve(p, kAmp1Row, layout, {});
    const DragBounds b = BoundsFor(1, kAmp1Row, layout, {}, c.p1.x, c.p2.x, 0);
    DropHandle(p, kAmp1Row, 1, b, layout, *c.handles[1]);
    EXPECT_LE(std::abs(TimePixels(p[92]) - TimePixels(t)), 1) << "time " << t << " became " << int(p[92]);
    EXPECT_NEAR(p[93], 60, 1) << "time " << t;
  }
}

}  // namespace
}  // namespace qv
