// The parameter engine's view of the editor window's real controls.
#include "editor/editor_controls_win32.h"

#include <commctrl.h>

#include <string>

#include "base/process_state.h"
#include "editor/indicator_state.h"

namespace qv {

namespace {

bool IsComboBox(HWND control) {
  char name[16] = {};
  GetClassNameA(control, name, sizeof name);
  return lstrcmpiA(name, "ComboBox") == 0;
}

}  // namespace

void Win32EditorControls::SetText(int control, std::string_view text) {
  std::string copy(text);
  SetDlgItemTextA(window_, control, copy.c_str());
}

std::string Win32EditorControls::GetText(int control) {
  char text[256] = {};
  GetDlgItemTextA(window_, control, text, sizeof text);
  return text;
}

void Win32EditorControls::SetCheck(int control, bool checked) {
  CheckDlgButton(window_, control, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool Win32EditorControls::IsChecked(int control) {
  return IsDlgButtonChecked(window_, control) == BST_CHECKED;
}

void Win32EditorControls::SelectEntry(int control, int index) {
  HWND item = Item(control);
  if (IsComboBox(item))
    SendMessageA(item, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  else
    SendMessageA(item, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int Win32EditorControls::SelectedEntry(int control) {
  HWND item = Item(control);
  const LRESULT index = IsComboBox(item) ? SendMessageA(item, CB_GETCURSEL, 0, 0)
                                         : SendMessageA(item, LB_GETCURSEL, 0, 0);
  return index < 0 ? -1 : static_cast<int>(index);
}

void Win32EditorControls::Enable(int control, bool enabled) {
  EnableWindow(Item(control), enabled ? TRUE : FALSE);
}

void Win32EditorControls::Show(int control, bool shown) {
  ShowWindow(Item(control), shown ? SW_SHOWNA : SW_HIDE);
}

void Win32EditorControls::Focus(int control) { SetFocus(Item(control)); }

int Win32EditorControls::FocusedControl() {
  HWND focus = GetFocus();
  // The edit field of a combo box stands for the combo box.
  while (focus != nullptr && GetParent(focus) != window_) focus = GetParent(focus);
  return focus == nullptr ? 0 : GetDlgCtrlID(focus);
}

void Win32EditorControls::SetTooltip(int control, std::string_view text) {
  if (TooltipWindow == nullptr) return;
  std::string copy(text);
  TOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.hwnd = window_;
  tool.uFlags = TTF_IDISHWND;
  tool.uId = reinterpret_cast<UINT_PTR>(Item(control));
  tool.lpszText = copy.data();
  SendMessageA(TooltipWindow, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

void Win32EditorControls::SetIndicator(int control, int tracking, int velocity) {
  SendMessageA(Item(control), kIndicatorSetMessage, static_cast<WPARAM>(tracking),
               static_cast<LPARAM>(velocity));
}

int Win32EditorControls::IndicatorTrackingBits(int control) {
  return static_cast<int>(SendMessageA(Item(control), kIndicatorGetTracking, 0, 0));
}

int Win32EditorControls::IndicatorVelocityBits(int control) {
  return static_cast<int>(SendMessageA(Item(control), kIndicatorGetVelocity, 0, 0));
}

void Win32EditorControls::RedrawGraph() {
  if (graph_ != nullptr) InvalidateRect(graph_, nullptr, TRUE);
}

}  // namespace qv
