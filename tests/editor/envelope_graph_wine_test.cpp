// The envelope graph under Wine: a graph window of the real class in this
// test program's own process, over a stand-in editor window, driven by
// posted mouse messages and checked by the edit buffer, the settings, the
// messages the editor gets and the colours it paints.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/wine/driver/driver.h"

// The graph, its logic and the settings it reads are compiled into this
// test program, so that it can register the class and create the window.
#include "base/process_state.cpp"
#include "editor/envelope_graph_control.cpp"
#include "editor/envelope_graph_drag.cpp"
#include "editor/envelope_graph_envelopes.cpp"
#include "editor/envelope_graph_geometry.cpp"
#include "editor/envelope_graph_scroll.cpp"
#include "editor/m1_program.cpp"
#include "settings/settings.cpp"
#include "settings/window_places.cpp"
#include "settings/window_position_win32.cpp"

namespace qv {
// The module cursor of the main program: the arrow here.
void SetModuleCursor() { SetCursor(LoadCursorA(nullptr, IDC_ARROW)); }
}  // namespace qv

namespace qv::wine {
namespace {

int graph_changes = 0;
HWND graph_to_refresh = nullptr;

// Stands in for the editor: counts the graph-changed messages and has the
// graph repaint, as the editor's refresh does.
LRESULT CALLBACK EditorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kGraphChangedMessage) {
    EXPECT_EQ(wParam, 0u);
    EXPECT_EQ(lParam, 0);
    ++graph_changes;
    RefreshEnvelopeGraph(graph_to_refresh);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterClasses() {
  static bool done = false;
  if (done) return;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  // As the main program registers it.
  WNDCLASSA graph{};
  graph.style = CS_HREDRAW | CS_VREDRAW;
  graph.lpfnWndProc = EnvelopeGraphProc;
  graph.hInstance = instance;
  graph.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  graph.lpszClassName = "Qv_SysexGraph";
  ASSERT_NE(RegisterClassA(&graph), 0);
  WNDCLASSA editor{};
  editor.lpfnWndProc = EditorProc;
  editor.hInstance = instance;
  editor.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  editor.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  editor.lpszClassName = "Qv_GraphTestEditor";
  ASSERT_NE(RegisterClassA(&editor), 0);
  done = true;
}

void PumpMessages() {
  MSG msg;
  for (int round = 0; round < 3; ++round) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(20);
  }
}

// A double program with distinct, short envelopes, so that the whole of
// every curve fits its section without scrolling.
M1Program TestProgram() {
  M1Program p = BlankM1Program();
  p[kM1OscillatorMode] = 1;
  const std::pair<int, int> bytes[] = {
      // amplitude 1: attack 20 (40 px) to 99, decay 10 (10 px) to 60, slope 13 (32 px) to 40, release 30
      {92, 20}, {93, 99}, {94, 10}, {95, 60}, {96, 13}, {97, 40}, {98, 30},
      // pitch 1: start -30, attack 12 to 50, decay 16, release 20 to -40
      {63, 0xE2}, {64, 12}, {65, 50}, {66, 16}, {67, 20}, {68, 0xD8},
      // cutoff 1: attack 10 to 80, decay 20 to -20, slope 10 to 30, release 25 to -60
      {78, 10}, {79, 80}, {80, 20}, {81, 0xEC}, {82, 10}, {83, 30}, {84, 25}, {85, 0xC4},
      // amplitude 2: attack 5 to 70, decay 30 to 20, slope 20 to 10, release 40
      {132, 5}, {133, 70}, {134, 30}, {135, 20}, {136, 20}, {137, 10}, {138, 40},
  };
  for (auto [offset, value] : bytes) p[std::size_t(offset)] = std::uint8_t(value);
  return p;
}

class EnvelopeGraph : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(RegisterClasses());
    graph_changes = 0;
    Settings = SettingsRecord{};
    Settings.GraphX = 120;
    Settings.GraphY = 90;
    Settings.GraphW = 560;
    Settings.GraphH = 320;
    Settings.GraphAmp1 = 1;
    Settings.GraphPitch1 = 1;
    Settings.GraphCutoff1 = 1;
    Settings.GraphAmp2 = 1;
    program_ = TestProgram();
    editor_ = CreateWindowExA(0, "Qv_GraphTestEditor", "Editor stand-in",
                              WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 500, 300, 200, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(editor_, nullptr);
    graph_ = CreateEnvelopeGraph(editor_, &program_);
    ASSERT_NE(graph_, nullptr);
    graph_to_refresh = graph_;
    PumpMessages();
    // The selection outlasts the windows of a run: switching amplitude 1
    // off and on again selects it.
    SelectRow(kAmp1Row);
    UpdateWindow(graph_);
  }
  void SelectRow(int row) {
    const int y = Layout().RowTop(row) + 4;
    for (int i = 0; i < 2; ++i) {
      Press({20, y});
      Release({20, y});
      PumpMessages();
    }
  }
  void TearDown() override {
    if (graph_) DestroyWindow(graph_);
    if (editor_) DestroyWindow(editor_);
    graph_to_refresh = nullptr;
    PumpMessages();
  }

  GraphLayout Layout() const {
    RECT client{};
    GetClientRect(graph_, &client);
    return MakeGraphLayout(client.right, client.bottom, GetSystemMetrics(SM_CYHSCROLL));
  }
  // Where the graph draws the envelope of a row, with no scrolling.
  EnvelopeCurve Curve(int row) const {
    const GraphExtents e = ComputeExtents(program_);
    return BuildCurve(program_, row, Layout(), {0, 0, e.left + 50, e.right + 50});
  }
  COLORREF Pixel(int x, int y) const {
    UpdateWindow(graph_);
    HDC dc = GetDC(graph_);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(graph_, dc);
    return colour;
  }
  void Press(GraphPoint at) { PostMessageA(graph_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y)); }
  void Move(GraphPoint to) { PostMessageA(graph_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y)); }
  void Release(GraphPoint at) { PostMessageA(graph_, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y)); }
  void Drag(GraphPoint from, GraphPoint to) {
    Press(from);
    PumpMessages();
    Move({(from.x + to.x) / 2, (from.y + to.y) / 2});
    Move(to);
    PumpMessages();
    Release(to);
    PumpMessages();
  }
  static RECT Place(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
  }

  M1Program program_{};
  HWND editor_ = nullptr;
  HWND graph_ = nullptr;
};

TEST_F(EnvelopeGraph, IsAnOwnerlessPopupAtTheRememberedPlace) {
  EXPECT_EQ(ClassName(graph_), "Qv_SysexGraph");
  EXPECT_EQ(Text(graph_), "");
  const LONG style = GetWindowLongA(graph_, GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_TRUE(style & WS_VISIBLE);
  EXPECT_TRUE(style & WS_THICKFRAME);
  EXPECT_FALSE((style & WS_CAPTION) == WS_CAPTION);
  EXPECT_EQ(GetWindow(graph_, GW_OWNER), nullptr);
  const RECT r = Place(graph_);
  EXPECT_EQ(r.left, 120);
  EXPECT_EQ(r.top, 90);
  EXPECT_EQ(r.right - r.left, 560);
  EXPECT_EQ(r.bottom - r.top, 320);
}

TEST_F(EnvelopeGraph, ScrollBarsSplitTheWidthBelowThePlot) {
  const GraphLayout layout = Layout();
  const int cy = GetSystemMetrics(SM_CYHSCROLL);
  struct Bar { int id; int x; int width; };
  const Bar bars[] = {{1, 70, layout.LeftWidth()},
                      {2, 70 + layout.LeftWidth(), layout.width - layout.LeftWidth() - 70}};
  for (const Bar& b : bars) {
    HWND bar = GetDlgItem(graph_, b.id);
    ASSERT_NE(bar, nullptr) << b.id;
    EXPECT_EQ(ClassName(bar), "ScrollBar");
    RECT r{};
    GetWindowRect(bar, &r);
    MapWindowPoints(nullptr, graph_, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, b.x) << b.id;
    EXPECT_EQ(r.top, layout.height - cy) << b.id;
    EXPECT_EQ(r.right - r.left, b.width) << b.id;
    EXPECT_EQ(r.bottom - r.top, cy) << b.id;
  }
  // The attack-to-sustain curves fit their section: its bar does not scroll.
  // The release section's content starts 70 pixels in and is cut to a
  // quarter of the width, so it scrolls.
  const GraphExtents e = ComputeExtents(program_);
  ASSERT_LT(e.left + 50, layout.LeftWidth());
  ASSERT_GT(e.right + 50, layout.RightWidth());
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(graph_, 1)));
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(graph_, 2)));
  int low = -1, high = -1;
  GetScrollRange(GetDlgItem(graph_, 2), SB_CTL, &low, &high);
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, e.right + 50 - layout.RightWidth());
}

TEST_F(EnvelopeGraph, PaintsTheMarginAndTheCurvesInTheirColours) {
  const GraphLayout layout = Layout();
  auto row_middle = [&](int row) { return (layout.RowTop(row) + layout.RowTop(row + 1)) / 2; };
  EXPECT_EQ(Pixel(5, row_middle(kAmp1Row)), RGB(128, 0, 0));
  EXPECT_EQ(Pixel(5, row_middle(kPitch1Row)), RGB(255, 0, 0));
  EXPECT_EQ(Pixel(5, row_middle(kCutoff1Row)), RGB(128, 128, 0));
  EXPECT_EQ(Pixel(5, row_middle(kAmp2Row)), RGB(0, 0, 128));
  EXPECT_EQ(Pixel(5, row_middle(kPitch2Row)), RGB(192, 192, 192)) << "not shown";
  EXPECT_EQ(Pixel(5, row_middle(kCutoff2Row)), RGB(192, 192, 192)) << "not shown";
  EXPECT_EQ(Pixel(5, row_middle(0)), RGB(192, 192, 192));
  EXPECT_EQ(Pixel(69, 10), RGB(0, 0, 0));
  // The level line after the sustain of each oscillator's amplitude and the
  // cutoff's level after its release.
  const EnvelopeCurve amp2 = Curve(kAmp2Row);
  EXPECT_EQ(Pixel(amp2.left[3].x + 20, amp2.left[3].y), RGB(0, 0, 128));
  const EnvelopeCurve cutoff1 = Curve(kCutoff1Row);
  EXPECT_EQ(Pixel(cutoff1.right[1].x + 15, cutoff1.right[1].y), RGB(128, 128, 0));
  // The grid's divider.
  EXPECT_EQ(Pixel(layout.Divider(), 5), RGB(200, 200, 200));
}

TEST_F(EnvelopeGraph, DraggingAHandleRewritesTheEditBufferAndTellsTheEditor) {
  const M1Program before = program_;
  const EnvelopeCurve amp = Curve(kAmp1Row);
  const GraphPoint p1 = *amp.handles[1];
  const GraphLayout layout = Layout();
  // Forty pixels later and down to level 50.
  const GraphPoint to{p1.x + 40, UnipolarY(layout, 50)};
  Drag(p1, to);
  EXPECT_EQ(graph_changes, 1);
  EXPECT_EQ(program_[92], TimeIndexForPixels(to.x - 70));
  EXPECT_NE(program_[92], before[92]);
  EXPECT_EQ(program_[93], UnipolarLevelAt(layout, to.y));
  EXPECT_NEAR(program_[93], 50, 1);
  for (std::size_t i = 0; i < program_.size(); ++i) {
    if (i != 92 && i != 93) {
      EXPECT_EQ(program_[i], before[i]) << "byte " << i;
    }
  }
  EXPECT_EQ(GetFocus(), editor_);
}

TEST_F(EnvelopeGraph, PitchDecayHandleChangesOnlyTheDecayTime) {
  // Select the pitch envelope: switch amplitude 1 off, so pitch is first shown.
  const GraphLayout layout = Layout();
  Press({10, layout.RowTop(kAmp1Row) + 3});
  Release({10, layout.RowTop(kAmp1Row) + 3});
  PumpMessages();
  EXPECT_EQ(Settings.GraphAmp1, 0);
  EXPECT_EQ(Pixel(5, layout.RowTop(kAmp1Row) + 3), RGB(192, 192, 192));
  const M1Program before = program_;
  const GraphPoint p2 = *Curve(kPitch1Row).handles[2];
  Drag(p2, {p2.x + 30, 10});
  EXPECT_EQ(graph_changes, 1);
  EXPECT_NE(program_[66], before[66]);
  for (std::size_t i = 0; i < program_.size(); ++i) {
    if (i != 66) {
      EXPECT_EQ(program_[i], before[i]) << "byte " << i;
    }
  }
}

TEST_F(EnvelopeGraph, MarginRowsToggleTheirSettings) {
  const GraphLayout layout = Layout();
  auto click_row = [&](int row) {
    const int y = layout.RowTop(row) + 4;
    Press({30, y});
    Release({30, y});
    PumpMessages();
  };
  click_row(kCutoff2Row);
  EXPECT_EQ(Settings.GraphCutoff2, 1);
  EXPECT_EQ(Pixel(5, layout.RowTop(kCutoff2Row) + 6), RGB(0, 128, 128));
  click_row(kCutoff2Row);
  EXPECT_EQ(Settings.GraphCutoff2, 0);
  click_row(kPitch1Row);
  EXPECT_EQ(Settings.GraphPitch1, 0);
  const SettingsRecord before = Settings;
  click_row(0);
  click_row(4);
  for (int row : kSelectionOrder) EXPECT_EQ(IsShown(Settings, row), IsShown(before, row)) << row;
  EXPECT_EQ(graph_changes, 0);
  EXPECT_EQ(program_, TestProgram());
}

TEST_F(EnvelopeGraph, PressOffTheHandlesMovesTheWindow) {
  const RECT before = Place(graph_);
  const GraphPoint from{300, 40};
  Drag(from, {from.x + 45, from.y + 25});
  const RECT after = Place(graph_);
  EXPECT_EQ(after.left, before.left + 45);
  EXPECT_EQ(after.top, before.top + 25);
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
  EXPECT_EQ(graph_changes, 0);
  EXPECT_EQ(program_, TestProgram());
  EXPECT_EQ(GetFocus(), editor_);
}

TEST_F(EnvelopeGraph, LongEnvelopesScrollByLinesNotWhileTracking) {
  program_[94] = 99;  // amplitude 1 decay: far beyond the section
  RefreshEnvelopeGraph(graph_);
  PumpMessages();
  HWND bar = GetDlgItem(graph_, 1);
  EXPECT_TRUE(IsWindowEnabled(bar));
  const int line = Layout().LeftWidth() / 10;
  SendMessageA(graph_, WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), LPARAM(bar));
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), line);
  SendMessageA(graph_, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 500), LPARAM(bar));
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), line);
  SendMessageA(graph_, WM_HSCROLL, MAKEWPARAM(SB_LINELEFT, 0), LPARAM(bar));
  SendMessageA(graph_, WM_HSCROLL, MAKEWPARAM(SB_LINELEFT, 0), LPARAM(bar));
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 0);
  PumpMessages();
}

TEST_F(EnvelopeGraph, ClosingRemembersThePlace) {
  SetWindowPos(graph_, nullptr, 150, 110, 480, 260, SWP_NOZORDER | SWP_NOACTIVATE);
  PumpMessages();
  DestroyWindow(graph_);
  graph_ = nullptr;
  EXPECT_EQ(Settings.GraphX, 150);
  EXPECT_EQ(Settings.GraphY, 110);
  EXPECT_EQ(Settings.GraphW, 480);
  EXPECT_EQ(Settings.GraphH, 260);
}

TEST_F(EnvelopeGraph, MadeLikeTheEditorItEditsItsCreationParameterAndTellsTheModuleWindow) {
  DestroyWindow(graph_);
  graph_ = nullptr;
  M1Program other = TestProgram();
  ModuleWindow = editor_;
  graph_ = CreateWindowExA(0, "Qv_SysexGraph", "", WS_POPUP | WS_VISIBLE | WS_THICKFRAME,
                           Settings.GraphX, Settings.GraphY, Settings.GraphW, Settings.GraphH,
                           nullptr, nullptr, GetModuleHandleA(nullptr), &other);
  ASSERT_NE(graph_, nullptr);
  graph_to_refresh = graph_;
  PumpMessages();
  const GraphPoint p5 = *Curve(kAmp1Row).handles[5];
  Drag(p5, {p5.x + 25, 3});
  ModuleWindow = nullptr;
  EXPECT_EQ(graph_changes, 1);
  EXPECT_NE(other[98], program_[98]) << "the release time of the window's own program";
  EXPECT_EQ(other[98], TimeIndexForPixels(p5.x + 25 - RightX(Layout(), 0)));
  EXPECT_EQ(program_, TestProgram());
}

TEST_F(EnvelopeGraph, OscillatorTwoOfASingleProgramShowsNothing) {
  program_[kM1OscillatorMode] = 0;
  Settings.GraphAmp1 = Settings.GraphPitch1 = Settings.GraphCutoff1 = 0;
  RefreshEnvelopeGraph(graph_);
  PumpMessages();
  const GraphLayout layout = Layout();
  // The row is lit, but neither the curve nor its handles are drawn.
  EXPECT_EQ(Pixel(5, layout.RowTop(kAmp2Row) + 6), RGB(0, 0, 128));
  const EnvelopeCurve amp2 = Curve(kAmp2Row);
  EXPECT_EQ(Pixel(amp2.left[3].x + 20, amp2.left[3].y), RGB(255, 255, 255));
  // A press where its handle would be moves the window instead.
  const RECT before = Place(graph_);
  const GraphPoint p1 = *amp2.handles[1];
  Drag(p1, {p1.x + 10, p1.y + 10});
  EXPECT_EQ(Place(graph_).left, before.left + 10);
  EXPECT_EQ(graph_changes, 0);
  M1Program expected = TestProgram();
  expected[kM1OscillatorMode] = 0;
  EXPECT_EQ(program_, expected);
}

TEST_F(EnvelopeGraph, AHandleDraggedPastTheLeftEdgeStopsAtItsLeftBound) {
  const GraphPoint p1 = *Curve(kAmp1Row).handles[1];
  Drag(p1, {-60, p1.y});
  EXPECT_EQ(graph_changes, 1);
  EXPECT_EQ(program_[92], 0) << "attack time";
  EXPECT_EQ(program_[93], 99) << "attack level";
}

TEST_F(EnvelopeGraph, ResizingKeepsTheMarginAndSplitsTheRest) {
  SetWindowPos(graph_, nullptr, 0, 0, 800, 400, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  PumpMessages();
  const GraphLayout layout = Layout();
  RECT one{}, two{};
  GetWindowRect(GetDlgItem(graph_, 1), &one);
  GetWindowRect(GetDlgItem(graph_, 2), &two);
  MapWindowPoints(nullptr, graph_, reinterpret_cast<POINT*>(&one), 2);
  MapWindowPoints(nullptr, graph_, reinterpret_cast<POINT*>(&two), 2);
  EXPECT_EQ(one.left, 70);
  EXPECT_EQ(one.right, two.left);
  EXPECT_EQ(two.right, layout.width);
  EXPECT_EQ(one.right - one.left, (3 * layout.width - 210) / 4);
  EXPECT_EQ(Pixel(5, layout.RowTop(kAmp1Row) + 6), RGB(128, 0, 0));
  EXPECT_EQ(Pixel(layout.Divider(), 5), RGB(200, 200, 200));
}

TEST_F(EnvelopeGraph, Screenshot) {
  Settings.GraphPitch2 = 1;
  Settings.GraphCutoff2 = 1;
  program_[64 + 40] = 15;
  program_[65 + 40] = 0xC0;
  program_[66 + 40] = 20;
  program_[67 + 40] = 35;
  program_[68 + 40] = 30;
  program_[78 + 40] = 25;
  program_[79 + 40] = 40;
  program_[80 + 40] = 12;
  program_[81 + 40] = 90;
  program_[82 + 40] = 30;
  program_[83 + 40] = 0xE0;
  program_[84 + 40] = 45;
  program_[85 + 40] = 10;
  RefreshEnvelopeGraph(graph_);
  PumpMessages();
  // The selected amplitude 1 shows its handles as black squares.
  const GraphPoint p3 = *Curve(kAmp1Row).handles[3];
  EXPECT_EQ(Pixel(p3.x - 4, p3.y), RGB(0, 0, 0));
  std::string path = qv::wine::Screenshot(graph_, "editor_envelope_graph");
  EXPECT_FALSE(path.empty());
}

}  // namespace
}  // namespace qv::wine
