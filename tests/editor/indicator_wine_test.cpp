// The indicator control under Wine: real windows of the class in this test
// program's own process, driven by its messages and clicks, checked by what
// it answers, what it tells its parent and the colours it paints.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "tests/wine/driver/driver.h"

// The control and its state logic are compiled into this test program, so
// that it can register the class and create the controls itself.
#include "editor/indicator_control.cpp"
#include "editor/indicator_state.cpp"

namespace qv {
// The module cursor of the main program: the arrow here.
void SetModuleCursor() { SetCursor(LoadCursorA(nullptr, IDC_ARROW)); }
}  // namespace qv

namespace qv::wine {
namespace {

constexpr int kIndicatorId = 3245;
constexpr COLORREF kGrey = RGB(192, 192, 192);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

struct Command {
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Command> commands_seen;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {
    commands_seen.push_back({wParam, lParam});
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterClasses() {
  static bool done = false;
  if (done) return;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  // As the main program registers it: no style, four extra bytes, no icon,
  // no cursor, no background brush.
  WNDCLASSA indicator{};
  indicator.lpfnWndProc = IndicatorControlProc;
  indicator.cbWndExtra = 4;
  indicator.hInstance = instance;
  indicator.lpszClassName = kIndicatorClassName;
  ASSERT_NE(RegisterClassA(&indicator), 0);
  WNDCLASSA parent{};
  parent.lpfnWndProc = ParentProc;
  parent.hInstance = instance;
  parent.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  parent.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  parent.lpszClassName = "Qv_IndicatorTestParent";
  ASSERT_NE(RegisterClassA(&parent), 0);
  done = true;
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

class IndicatorControl : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(RegisterClasses());
    commands_seen.clear();
    parent_ = CreateWindowExA(0, "Qv_IndicatorTestParent", "Indicator test",
                              WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 260, 140, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(parent_, nullptr);
    // Four sizes: two like the dialog's 7 x 9 units, two larger to look at.
    control_ = Create(20, 20, 14, 18, kIndicatorId);
    ASSERT_NE(control_, nullptr);
    PumpMessages();
  }
  void TearDown() override {
    if (parent_) DestroyWindow(parent_);
    PumpMessages();
  }

  HWND Create(int x, int y, int w, int h, int id) {
    HWND c = CreateWindowExA(0, kIndicatorClassName, "", WS_CHILD | WS_VISIBLE, x, y, w, h,
                             parent_, reinterpret_cast<HMENU>(INT_PTR(id)),
                             GetModuleHandleA(nullptr), nullptr);
    UpdateWindow(c);
    return c;
  }

  static int Height(HWND c) {
    RECT r{};
    GetClientRect(c, &r);
    return r.bottom;
  }
  // The colour painted at the left edge of a half, away from the text.
  static COLORREF UpperColour(HWND c) { return Pixel(c, 0, 1); }
  static COLORREF LowerColour(HWND c) { return Pixel(c, 0, Height(c) - 2); }
  static COLORREF Pixel(HWND c, int x, int y) {
    UpdateWindow(c);
    HDC dc = GetDC(c);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(c, dc);
    return colour;
  }
  static LRESULT Tracking(HWND c) { return SendMessageA(c, 1125, 0, 0); }
  static LRESULT Velocity(HWND c) { return SendMessageA(c, 1126, 0, 0); }
  static void ClickAt(HWND c, int y) {
    SendMessageA(c, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, y));
    SendMessageA(c, WM_LBUTTONUP, 0, MAKELPARAM(2, y));
  }

  HWND parent_ = nullptr;
  HWND control_ = nullptr;
};

TEST_F(IndicatorControl, NewControlIsGreyAndOff) {
  EXPECT_EQ(ClassName(control_), "Qv_TimeTrack");
  EXPECT_EQ(GetWindowLongA(control_, 0), MAKELONG(1, 1));
  EXPECT_EQ(Tracking(control_), 0);
  EXPECT_EQ(Velocity(control_), 0);
  EXPECT_EQ(UpperColour(control_), kGrey);
  EXPECT_EQ(LowerColour(control_), kGrey);
  EXPECT_TRUE(commands_seen.empty());
}

TEST_F(IndicatorControl, ClicksOnTheUpperHalfCycleAndNotifyTheParent) {
  struct Step { LRESULT answer; COLORREF colour; };
  const Step steps[] = {{1, kRed}, {17, kBlue}, {0, kGrey}};
  for (std::size_t i = 0; i < 3; ++i) {
    ClickAt(control_, 1);
    ASSERT_EQ(commands_seen.size(), i + 1);
    EXPECT_EQ(LOWORD(commands_seen[i].wParam), kIndicatorId);
    EXPECT_EQ(HIWORD(commands_seen[i].wParam), 0);
    EXPECT_EQ(commands_seen[i].lParam, 0);
    EXPECT_EQ(Tracking(control_), steps[i].answer) << "click " << i + 1;
    EXPECT_EQ(Velocity(control_), 0);
    EXPECT_EQ(UpperColour(control_), steps[i].colour) << "click " << i + 1;
    EXPECT_EQ(LowerColour(control_), kGrey);
  }
}

TEST_F(IndicatorControl, SetMessageShowsBothStatesAndTheAnswersFollow) {
  EXPECT_EQ(SendMessageA(control_, 243, 2, 0), 0);
  EXPECT_EQ(Tracking(control_), 1);
  EXPECT_EQ(Velocity(control_), 17);
  EXPECT_EQ(UpperColour(control_), kRed);
  EXPECT_EQ(LowerColour(control_), kBlue);
  EXPECT_TRUE(commands_seen.empty());
  // Only the low 16 bits of each parameter count.
  SendMessageA(control_, 243, 0x10001, 0x20002);
  EXPECT_EQ(Tracking(control_), 0);
  EXPECT_EQ(Velocity(control_), 1);
}

TEST_F(IndicatorControl, TheMiddleRowBelongsToTheLowerHalf) {
  const int h = Height(control_);
  ClickAt(control_, (h + 1) / 2);
  EXPECT_EQ(Tracking(control_), 0);
  EXPECT_EQ(Velocity(control_), 1);
  ClickAt(control_, (h + 1) / 2 - 1);
  EXPECT_EQ(Tracking(control_), 1);
}

TEST_F(IndicatorControl, SharedObjectsOutliveAllButTheLastControl) {
  HWND second = Create(40, 20, 14, 18, 3246);
  ASSERT_NE(second, nullptr);
  DestroyWindow(control_);
  control_ = nullptr;
  SendMessageA(second, 243, 0, 2);
  EXPECT_EQ(UpperColour(second), kBlue);
  EXPECT_EQ(LowerColour(second), kRed);
  DestroyWindow(second);
  // A control made after the last one went away gets fresh objects.
  HWND third = Create(60, 20, 14, 18, 3247);
  SendMessageA(third, 243, 2, 2);
  EXPECT_EQ(UpperColour(third), kRed);
  EXPECT_EQ(LowerColour(third), kRed);
}

TEST_F(IndicatorControl, Screenshot) {
  // The three looks side by side, at the dialog's size and larger.
  HWND big_off = Create(60, 20, 28, 36, 3250);
  HWND big_mixed = Create(100, 20, 28, 36, 3251);
  HWND big_other = Create(140, 20, 28, 36, 3252);
  HWND small_mixed = Create(40, 20, 14, 18, 3246);
  SendMessageA(big_mixed, 243, 2, 0);
  SendMessageA(big_other, 243, 0, 2);
  SendMessageA(small_mixed, 243, 2, 0);
  for (HWND c : {big_off, big_mixed, big_other, small_mixed}) UpdateWindow(c);
  PumpMessages();
  EXPECT_EQ(UpperColour(big_mixed), kRed);
  EXPECT_EQ(LowerColour(big_other), kRed);
  std::string path = Screenshot(parent_, "editor_indicator");
  EXPECT_FALSE(path.empty());
}

}  // namespace
}  // namespace qv::wine
