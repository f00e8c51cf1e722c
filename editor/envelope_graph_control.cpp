// The envelope graph window. A margin of envelope buttons on the left, the
// attack-to-sustain section and the release section each with a scroll bar
// below, the shown envelopes drawn in their colours, and square handles on
// the selected one. Dragging a handle rewrites the edit buffer and tells
// the editor; dragging anywhere else moves the window.
#include <windows.h>

#include "base/process_state.h"
#include "base/window_plumbing.h"
#include "editor/envelope_graph_control.h"
#include "editor/envelope_graph_drag.h"
#include "editor/envelope_graph_envelopes.h"
#include "editor/envelope_graph_geometry.h"
#include "editor/envelope_graph_scroll.h"
#include "settings/settings.h"
#include "settings/window_position_win32.h"

namespace qv {

namespace {

constexpr int kBar1Id = 1;
constexpr int kBar2Id = 2;

// The pens and brushes are shared by every graph window: made by the first,
// deleted by the last. Indexed by margin row.
int instance_count = 0;
HPEN pens[kGraphRowCount] = {};
HBRUSH brushes[kGraphRowCount] = {};

COLORREF RowColour(int row) {
  switch (row) {
    case kAmp1Row: return RGB(128, 0, 0);
    case kPitch1Row: return RGB(255, 0, 0);
    case kCutoff1Row: return RGB(128, 128, 0);
    case kAmp2Row: return RGB(0, 0, 128);
    case kPitch2Row: return RGB(0, 0, 255);
    default: return RGB(0, 128, 128);
  }
}

// Only one graph exists at a time; its state lives here and outlasts it.
// The edit buffer comes with the window's creation; the editor is the one
// named at creation, else the open module window.
HWND editor_window = nullptr;
M1Program* edit_buffer = nullptr;
HWND bar1 = nullptr;
HWND bar2 = nullptr;
GraphScroll scroll;
int selected = kNoEnvelopeRow;
// The handles of the envelope drawn selected in the last paint, the row they
// belong to, and where that paint put its P1 and P2.
HandleTable handles = NoHandles();
int handles_row = kNoEnvelopeRow;
int last_p1x = 0;
int last_p2x = 0;

enum class Drag { None, Moving, Handle };
Drag drag = Drag::None;
int drag_handle = kNoHandle;
DragBounds bounds;
RECT focus{};
POINT press{};
int press_left = 0, press_top = 0, press_width = 0, press_height = 0;
bool busy = false;

M1Program& Program() {
  // Without an edit buffer the graph shows a blank program.
  static M1Program blank = BlankM1Program();
  return edit_buffer != nullptr ? *edit_buffer : blank;
}

GraphLayout CurrentLayout(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return MakeGraphLayout(client.right, client.bottom, GetSystemMetrics(SM_CYHSCROLL));
}

HWND Editor() { return editor_window != nullptr ? editor_window : ModuleWindow; }

void GiveFocusToEditor() {
  HWND editor = Editor();
  if (editor != nullptr && IsWindow(editor)) SetFocus(editor);
}

void MakeSharedObjects() {
  for (int row : kSelectionOrder) {
    pens[row] = CreatePen(PS_SOLID, 0, RowColour(row));
    brushes[row] = CreateSolidBrush(RowColour(row));
  }
}

void DeleteSharedObjects() {
  for (int row = 0; row < kGraphRowCount; ++row) {
    if (pens[row]) DeleteObject(pens[row]);
    if (brushes[row]) DeleteObject(brushes[row]);
    pens[row] = nullptr;
    brushes[row] = nullptr;
  }
}

LRESULT OnCreate(HWND window, LPARAM creation) {
  edit_buffer = static_cast<M1Program*>(reinterpret_cast<CREATESTRUCTA*>(creation)->lpCreateParams);
  if (++instance_count == 1) MakeSharedObjects();
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
  bar1 = CreateWindowExA(0, "SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_HORZ, 0, 0, 0, 0,
                         window, reinterpret_cast<HMENU>(INT_PTR(kBar1Id)), instance, nullptr);
  bar2 = CreateWindowExA(0, "SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_HORZ, 0, 0, 0, 0,
                         window, reinterpret_cast<HMENU>(INT_PTR(kBar2Id)), instance, nullptr);
  return 0;
}

LRESULT OnSize(LPARAM size) {
  const int w = LOWORD(size), h = HIWORD(size);
  const int cy = GetSystemMetrics(SM_CYHSCROLL);
  const int left = (3 * w - 210) / 4;
  MoveWindow(bar1, kGraphMargin, h - cy, left, cy, TRUE);
  MoveWindow(bar2, kGraphMargin + left, h - cy, w - left - kGraphMargin, cy, TRUE);
  return 0;
}

LRESULT OnDestroy(HWND window) {
  RememberGraphWindowRect(window);
  // A drag cut off by the window's end leaves nothing behind.
  if (drag == Drag::Moving) {
    HDC screen = GetDC(nullptr);
    DrawFocusRect(screen, &focus);
    ReleaseDC(nullptr, screen);
  }
  drag = Drag::None;
  busy = false;
  bar1 = bar2 = nullptr;
  editor_window = nullptr;
  edit_buffer = nullptr;
  if (instance_count > 0 && --instance_count == 0) DeleteSharedObjects();
  return 0;
}

LRESULT OnHScroll(HWND window, WPARAM request, LPARAM bar_window) {
  HWND bar = reinterpret_cast<HWND>(bar_window);
  const bool first = bar == bar1;
  if (!first) bar = bar2;
  int& offset = first ? scroll.offset1 : scroll.offset2;
  int range_min = 0, range_max = 0;
  GetScrollRange(bar, SB_CTL, &range_min, &range_max);
  const std::optional<int> moved = ScrolledOffset(offset, LOWORD(request), HIWORD(request),
                                                  CurrentLayout(window).LeftWidth(), range_max);
  if (!moved) return 0;
  offset = *moved;
  SetScrollPos(bar, SB_CTL, -offset, FALSE);
  InvalidateRect(window, nullptr, TRUE);
  return 0;
}

void FitBar(HWND bar, int extent, int view, int& offset) {
  const ScrollFit fit = FitScrollBar(extent, view, offset);
  SetScrollRange(bar, SB_CTL, 0, fit.range_max, TRUE);
  EnableWindow(bar, TRUE);
  if (!fit.enabled) {
    EnableWindow(bar, FALSE);
  } else if (fit.set_position) {
    SetScrollPos(bar, SB_CTL, fit.range_max, TRUE);
  }
  offset = fit.offset;
}

void Text(HDC dc, int x, int y, const char* text) { TextOutA(dc, x, y, text, lstrlenA(text)); }

void DrawMargin(HDC dc, const GraphLayout& layout) {
  const int h = layout.height;
  SelectObject(dc, GetStockObject(NULL_PEN));
  SelectObject(dc, GetStockObject(LTGRAY_BRUSH));
  Rectangle(dc, 0, 0, kGraphMargin, h + 1);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  SetTextAlign(dc, TA_BOTTOM | TA_CENTER);
  Text(dc, 35, h / 8 - 2, "Osc. 1");
  Text(dc, 35, 5 * h / 8 - 2, "Osc. 2");
  SetTextColor(dc, RGB(255, 255, 255));
  SetTextAlign(dc, TA_TOP | TA_CENTER);
  for (int row : {kAmp1Row, kAmp2Row, kPitch1Row, kPitch2Row, kCutoff1Row, kCutoff2Row}) {
    if (IsShown(Settings, row)) {
      SelectObject(dc, brushes[row]);
      Rectangle(dc, 0, layout.RowTop(row), kGraphMargin, layout.RowTop(row + 1) + 1);
    }
    Text(dc, 35, layout.RowTop(row) + 1, RowLabel(row));
  }
  SelectObject(dc, GetStockObject(BLACK_PEN));
  MoveToEx(dc, kGraphMargin - 1, 0, nullptr);
  LineTo(dc, kGraphMargin - 1, h + 1);
  if (IsEnvelopeRow(selected)) {
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    SelectObject(dc, GetStockObject(WHITE_PEN));
    Rectangle(dc, 3, layout.RowTop(selected) + 2, 67, layout.RowTop(selected + 1) - 2);
  }
}

void DrawGrid(HDC dc, const GraphLayout& layout) {
  HPEN grid = CreatePen(PS_SOLID, 0, RGB(200, 200, 200));
  HGDIOBJ previous = SelectObject(dc, grid);
  MoveToEx(dc, layout.Divider(), 0, nullptr);
  LineTo(dc, layout.Divider(), layout.height + 1);
  MoveToEx(dc, kGraphMargin, layout.ZeroLine(), nullptr);
  LineTo(dc, layout.width + 1, layout.ZeroLine());
  SelectObject(dc, previous);
  DeleteObject(grid);
}

void DrawLine(HDC dc, const std::vector<GraphPoint>& points) {
  std::vector<POINT> line;
  line.reserve(points.size());
  for (const GraphPoint& p : points) line.push_back({p.x, p.y});
  Polyline(dc, line.data(), int(line.size()));
}

// Records and draws the selected envelope's handles from..to that the
// device context shows.
void DrawHandles(HDC dc, const EnvelopeCurve& curve, int from, int to, int row) {
  for (int n = from; n <= to; ++n) {
    const std::optional<GraphPoint>& h = curve.handles[std::size_t(n)];
    if (!h || !PtVisible(dc, h->x, h->y)) continue;
    handles[std::size_t(n)] = *h;
    HGDIOBJ old_pen = SelectObject(dc, GetStockObject(BLACK_PEN));
    HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, h->x - 4, h->y - 4, h->x + 5, h->y + 5);
    SelectObject(dc, old_brush);
    SelectObject(dc, old_pen);
  }
  handles_row = row;
}

LRESULT OnPaint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  const GraphLayout layout = CurrentLayout(window);
  const M1Program& program = Program();

  handles = NoHandles();
  handles_row = kNoEnvelopeRow;
  selected = SettleSelection(selected, Settings, program);

  const int saved = SaveDC(dc);
  DrawMargin(dc, layout);
  const GraphExtents extents = ComputeExtents(program);
  DrawGrid(dc, layout);

  const int left_width = layout.LeftWidth();
  HRGN section_a = CreateRectRgn(kGraphMargin, 0, kGraphMargin + left_width, layout.height);
  HRGN section_b = CreateRectRgn(kGraphMargin + left_width, 0, layout.width, layout.height);

  scroll.extent1 = extents.left + 50;
  scroll.extent2 = extents.right + 50;
  FitBar(bar1, scroll.extent1, left_width, scroll.offset1);
  FitBar(bar2, scroll.extent2, layout.RightWidth(), scroll.offset2);

  const bool second = HasSecondOscillator(program);
  for (int row : kDrawingOrder) {
    if (RowOscillator(row) == 2 && !second) continue;
    if (!IsShown(Settings, row)) continue;
    const EnvelopeCurve curve = BuildCurve(program, row, layout, scroll);
    SelectObject(dc, pens[row]);
    SelectClipRgn(dc, section_a);
    DrawLine(dc, curve.left);
    if (row == selected) {
      last_p1x = curve.p1.x;
      last_p2x = curve.p2.x;
      DrawHandles(dc, curve, 0, 3, row);
    }
    SelectClipRgn(dc, section_b);
    DrawLine(dc, curve.right);
    if (row == selected) DrawHandles(dc, curve, 4, 6, row);
  }

  SelectClipRgn(dc, nullptr);
  DeleteObject(section_a);
  DeleteObject(section_b);
  RestoreDC(dc, saved);
  EndPaint(window, &paint);
  return 0;
}

void DrawFocusOnScreen() {
  HDC screen = GetDC(nullptr);
  DrawFocusRect(screen, &focus);
  ReleaseDC(nullptr, screen);
}

void DrawFocusOnWindow(HWND window) {
  HDC dc = GetDC(window);
  DrawFocusRect(dc, &focus);
  ReleaseDC(window, dc);
}

RECT HandleFocus(GraphPoint p) { return {p.x - 4, p.y - 4, p.x + 5, p.y + 5}; }

GraphPoint PointOf(LPARAM position) {
  return {short(LOWORD(position)), short(HIWORD(position))};
}

LRESULT OnButtonDown(HWND window, LPARAM position) {
  const GraphPoint p = PointOf(position);
  const GraphLayout layout = CurrentLayout(window);
  if (p.x <= kGraphMargin) {
    selected = ToggleMarginRow(MarginRowAt(p.y, layout.height), selected, Settings, Program());
    InvalidateRect(window, nullptr, TRUE);
    return 0;
  }
  const int hit = IsEnvelopeRow(handles_row) ? HitHandle(handles, p.x, p.y) : kNoHandle;
  if (hit == kNoHandle) {
    RECT place{};
    GetWindowRect(window, &place);
    press = {p.x, p.y};
    press_left = place.left;
    press_top = place.top;
    press_width = place.right - place.left;
    press_height = place.bottom - place.top;
    SetCapture(window);
    drag = Drag::Moving;
    focus = place;
    DrawFocusOnScreen();
    return 0;
  }
  bounds = BoundsFor(hit, handles_row, layout, scroll, last_p1x, last_p2x,
                     handles[std::size_t(kHandleCount - 1)].x);
  focus = HandleFocus(ClampInto(bounds, p));
  DrawFocusOnWindow(window);
  SetCapture(window);
  drag = Drag::Handle;
  drag_handle = hit;
  return 0;
}

LRESULT OnMouseMove(HWND window, LPARAM position) {
  GraphPoint p = PointOf(position);
  const bool over_handle =
      IsEnvelopeRow(handles_row) && HitHandle(handles, p.x, p.y) != kNoHandle;
  if (drag != Drag::Moving && (drag == Drag::Handle || over_handle)) {
    SetCursor(LoadCursorA(nullptr, IDC_CROSS));
  } else {
    SetModuleCursor();
  }
  if (busy) return 0;
  busy = true;
  if (drag == Drag::Moving) {
    DrawFocusOnScreen();
    focus.left = p.x - press.x + press_left;
    focus.top = p.y - press.y + press_top;
    focus.right = focus.left + press_width;
    focus.bottom = focus.top + press_height;
    DrawFocusOnScreen();
  } else if (drag == Drag::Handle) {
    DrawFocusOnWindow(window);
    focus = HandleFocus(ClampInto(bounds, p));
    DrawFocusOnWindow(window);
  }
  busy = false;
  return 0;
}

LRESULT OnButtonUp(HWND window, LPARAM position) {
  if (drag == Drag::Moving) {
    drag = Drag::None;
    ReleaseCapture();
    DrawFocusOnScreen();
    SetWindowPos(window, nullptr, focus.left, focus.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else if (drag == Drag::Handle) {
    ReleaseCapture();
    DropHandle(Program(), handles_row, drag_handle, bounds, CurrentLayout(window),
               PointOf(position));
    drag = Drag::None;
    // The editor's repaint of the graph takes the last focus rectangle away.
    HWND editor = Editor();
    if (editor != nullptr) SendMessageA(editor, kGraphChangedMessage, 0, 0);
  }
  GiveFocusToEditor();
  return 0;
}

}  // namespace

LRESULT CALLBACK EnvelopeGraphProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: return OnCreate(window, lParam);
    case WM_SIZE: return OnSize(lParam);
    case WM_DESTROY: return OnDestroy(window);
    case WM_HSCROLL: return OnHScroll(window, wParam, lParam);
    case WM_PAINT: return OnPaint(window);
    case WM_LBUTTONDOWN: return OnButtonDown(window, lParam);
    case WM_MOUSEMOVE: return OnMouseMove(window, lParam);
    case WM_LBUTTONUP: return OnButtonUp(window, lParam);
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

HWND CreateEnvelopeGraph(HWND editor, M1Program* program) {
  HWND graph = CreateWindowExA(0, "Qv_SysexGraph", "", WS_POPUP | WS_VISIBLE | WS_THICKFRAME,
                               Settings.GraphX, Settings.GraphY, Settings.GraphW,
                               Settings.GraphH, nullptr, nullptr, GetModuleHandleA(nullptr),
                               program);
  if (graph != nullptr) editor_window = editor;
  return graph;
}

void RefreshEnvelopeGraph(HWND graph) {
  if (graph != nullptr) InvalidateRect(graph, nullptr, TRUE);
}

}  // namespace qv
