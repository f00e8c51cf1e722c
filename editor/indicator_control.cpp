// The indicator control (class Qv_TimeTrack): a tiny two-part control beside
// each envelope time. The upper half shows whether keyboard tracking acts on
// the time ("KT"), the lower half whether key velocity does ("VS"); each is
// off, positive or negative, and a click steps the clicked half on.
#include <windows.h>

#include "base/window_plumbing.h"
#include "editor/indicator_control.h"
#include "editor/indicator_state.h"

namespace qv {

namespace {

// Shared by every control of the class: made by the first, deleted by the last.
int instance_count = 0;
HBRUSH red_brush = nullptr;
HBRUSH blue_brush = nullptr;
HFONT shared_font = nullptr;

// Both states live in the window's four extra bytes: tracking in bytes 0-1,
// velocity in bytes 2-3.
IndicatorStates ReadStates(HWND window) {
  DWORD packed = DWORD(GetWindowLongA(window, 0));
  return {LOWORD(packed), HIWORD(packed)};
}

void WriteStates(HWND window, IndicatorStates states) {
  SetWindowLongA(window, 0, LONG(MAKELONG(states.tracking, states.velocity)));
}

void MakeSharedObjects(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  const int w = client.right, h = client.bottom;
  red_brush = CreateSolidBrush(RGB(255, 0, 0));
  blue_brush = CreateSolidBrush(RGB(0, 0, 255));
  shared_font = CreateFontA(-(h / 2), w / 4, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE,
                            ANSI_CHARSET, OUT_STRING_PRECIS, 15, DRAFT_QUALITY, VARIABLE_PITCH,
                            nullptr);
}

void DeleteSharedObjects() {
  if (red_brush) DeleteObject(red_brush);
  if (blue_brush) DeleteObject(blue_brush);
  if (shared_font) DeleteObject(shared_font);
  red_brush = blue_brush = nullptr;
  shared_font = nullptr;
}

HBRUSH BrushOf(IndicatorFill fill) {
  switch (fill) {
    case IndicatorFill::Red: return red_brush;
    case IndicatorFill::Blue: return blue_brush;
    default: return static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  }
}

void DrawHalf(HDC dc, IndicatorRect r, IndicatorLook look, int text_x) {
  RECT area = {r.left, r.top, r.right, r.bottom};
  FillRect(dc, &area, BrushOf(look.fill));
  TextOutA(dc, text_x, r.top, look.text, int(lstrlenA(look.text)));
}

LRESULT OnCreate(HWND window) {
  if (instance_count++ == 0) MakeSharedObjects(window);
  WriteStates(window, IndicatorStates{});
  return 0;
}

LRESULT OnDestroy() {
  if (instance_count > 0 && --instance_count == 0) DeleteSharedObjects();
  return 0;
}

LRESULT OnPaint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client{};
  GetClientRect(window, &client);
  const int w = client.right, h = client.bottom;
  const IndicatorStates states = ReadStates(window);

  HGDIOBJ old_pen = SelectObject(dc, GetStockObject(NULL_PEN));
  HGDIOBJ old_font = shared_font ? SelectObject(dc, shared_font) : nullptr;
  UINT old_align = SetTextAlign(dc, TA_TOP | TA_CENTER);
  int old_mode = SetBkMode(dc, TRANSPARENT);

  DrawHalf(dc, UpperHalfRect(w, h), UpperHalfLook(states.tracking), w / 2);
  DrawHalf(dc, LowerHalfRect(w, h), LowerHalfLook(states.velocity), w / 2);

  SetBkMode(dc, old_mode);
  SetTextAlign(dc, old_align);
  if (old_font) SelectObject(dc, old_font);
  SelectObject(dc, old_pen);
  EndPaint(window, &paint);
  return 0;
}

LRESULT OnSetStates(HWND window, WPARAM tracking, LPARAM velocity) {
  WriteStates(window, {LOWORD(tracking), LOWORD(velocity)});
  InvalidateRect(window, nullptr, FALSE);
  return 0;
}

LRESULT OnButtonDown(HWND window, LPARAM position) {
  RECT client{};
  GetClientRect(window, &client);
  IndicatorStates states = ReadStates(window);
  ClickIndicator(states, short(HIWORD(position)), client.bottom);
  WriteStates(window, states);
  InvalidateRect(window, nullptr, FALSE);
  SendMessageA(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), 0), 0);
  return 0;
}

}  // namespace

LRESULT CALLBACK IndicatorControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: return OnCreate(window);
    case WM_DESTROY: return OnDestroy();
    case WM_PAINT: return OnPaint(window);
    case kIndicatorSetMessage: return OnSetStates(window, wParam, lParam);
    case kIndicatorGetTracking: return IndicatorStateBits(ReadStates(window).tracking);
    case kIndicatorGetVelocity: return IndicatorStateBits(ReadStates(window).velocity);
    case WM_LBUTTONDOWN: return OnButtonDown(window, lParam);
    case WM_MOUSEMOVE:
      SetModuleCursor();
      return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace qv
