#pragma once
// What the parameter engine needs from the editor window's controls. The
// window implements it with its real controls; tests with a recording fake.
#include <string>
#include <string_view>

namespace qv {

class EditorControls {
 public:
  virtual ~EditorControls() = default;

  virtual void SetText(int control, std::string_view text) = 0;
  virtual std::string GetText(int control) = 0;
  virtual void SetCheck(int control, bool checked) = 0;
  virtual bool IsChecked(int control) = 0;
  // Selects a list entry; -1 leaves no entry selected.
  virtual void SelectEntry(int control, int index) = 0;
  // The selected entry, -1 when none.
  virtual int SelectedEntry(int control) = 0;
  virtual void Enable(int control, bool enabled) = 0;
  // Shows a control without activating it, or hides it.
  virtual void Show(int control, bool shown) = 0;
  virtual void Focus(int control) = 0;
  // The control that has the keyboard focus, 0 when none of the window's.
  virtual int FocusedControl() = 0;
  // Sets a control's tooltip text; nothing when the window has no tooltips.
  virtual void SetTooltip(int control, std::string_view text) = 0;
  // True while the program page (with the effect labels) is shown.
  virtual bool ProgramPageShown() = 0;

  // Indicator controls: states 0 negative, 1 off, 2 positive.
  virtual void SetIndicator(int control, int tracking, int velocity) = 0;
  // Their answers in the program's coding: 0 off, 1 positive, 0x11 negative.
  virtual int IndicatorTrackingBits(int control) = 0;
  virtual int IndicatorVelocityBits(int control) = 0;

  // Sends the edit buffer to the instrument (the window spaces the sends).
  virtual void SendEditBuffer() = 0;
  // Has the envelope graph redraw.
  virtual void RedrawGraph() = 0;
};

}  // namespace qv
