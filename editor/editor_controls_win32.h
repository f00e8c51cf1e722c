#pragma once
// The editor window's controls as the parameter engine sees them. Window
// layer only.
#include <windows.h>

#include <functional>

#include "editor/editor_controls.h"

namespace qv {

class Win32EditorControls : public EditorControls {
 public:
  // send: sends (or defers) the edit buffer; graph: the graph window or none.
  Win32EditorControls(HWND window, const bool& program_page, std::function<void()> send,
                      const HWND& graph)
      : window_(window), program_page_(program_page), send_(std::move(send)), graph_(graph) {}

  void SetText(int control, std::string_view text) override;
  std::string GetText(int control) override;
  void SetCheck(int control, bool checked) override;
  bool IsChecked(int control) override;
  void SelectEntry(int control, int index) override;
  int SelectedEntry(int control) override;
  void Enable(int control, bool enabled) override;
  void Show(int control, bool shown) override;
  void Focus(int control) override;
  int FocusedControl() override;
  void SetTooltip(int control, std::string_view text) override;
  bool ProgramPageShown() override { return program_page_; }
  void SetIndicator(int control, int tracking, int velocity) override;
  int IndicatorTrackingBits(int control) override;
  int IndicatorVelocityBits(int control) override;
  void SendEditBuffer() override { send_(); }
  void RedrawGraph() override;

 private:
  HWND Item(int control) const { return GetDlgItem(window_, control); }
  HWND window_;
  const bool& program_page_;
  std::function<void()> send_;
  const HWND& graph_;
};

}  // namespace qv
