#pragma once
// A fake of the editor window's controls: records what the engine shows and
// answers from what the test (the "user") has put there. With an engine
// attached, setting an edit box's text notifies it like a real edit box.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "editor/editor_controls.h"
#include "editor/effect_layouts.h"
#include "editor/indicator_state.h"
#include "editor/parameter_engine.h"
#include "editor/parameter_map.h"

namespace qv::test {

class RecordingControls : public EditorControls {
 public:
  std::map<int, std::string> texts;
  std::map<int, bool> checks;
  std::map<int, int> selections;
  std::map<int, bool> enabled;
  std::map<int, bool> shown;
  std::map<int, std::string> tooltips;
  std::map<int, IndicatorStates> indicators;
  std::vector<int> focus_requests;
  int focus = 0;
  bool program_page = true;
  int sends = 0;
  int redraws = 0;
  ParameterEngine* engine = nullptr;

  static bool IsEditBox(int control) {
    if (control >= kFirstEffectBox && control < kFirstEffectBox + kEffectBoxCount) return true;
    const ParameterRow* row = FindParameterRow(control);
    return row && (row->kind == kKindNumber || row->kind == kKindOscillatorNumber ||
                   row->kind == kKindOutputPan || row->kind == kKindKey ||
                   row->kind == kKindOctave);
  }

  void SetText(int control, std::string_view text) override {
    texts[control] = std::string(text);
    if (engine && IsEditBox(control)) engine->OnControlEvent(control, ControlEvent::TextChanged);
  }
  std::string GetText(int control) override { return texts[control]; }
  void SetCheck(int control, bool checked) override { checks[control] = checked; }
  bool IsChecked(int control) override { return checks[control]; }
  void SelectEntry(int control, int index) override { selections[control] = index; }
  int SelectedEntry(int control) override {
    auto it = selections.find(control);
    return it == selections.end() ? -1 : it->second;
  }
  void Enable(int control, bool on) override { enabled[control] = on; }
  void Show(int control, bool on) override { shown[control] = on; }
  void Focus(int control) override {
    focus = control;
    focus_requests.push_back(control);
  }
  int FocusedControl() override { return focus; }
  void SetTooltip(int control, std::string_view text) override {
    tooltips[control] = std::string(text);
  }
  bool ProgramPageShown() override { return program_page; }
  void SetIndicator(int control, int tracking, int velocity) override {
    indicators[control] = {std::uint16_t(tracking), std::uint16_t(velocity)};
  }
  int IndicatorTrackingBits(int control) override {
    return IndicatorStateBits(indicators[control].tracking);
  }
  int IndicatorVelocityBits(int control) override {
    return IndicatorStateBits(indicators[control].velocity);
  }
  void SendEditBuffer() override { ++sends; }
  void RedrawGraph() override { ++redraws; }
};

// The user's side: typing into a box one keystroke at a time, leaving it,
// clicking a check box or radio button, choosing a list entry.
class User {
 public:
  User(RecordingControls& controls, ParameterEngine& engine)
      : controls_(controls), engine_(engine) {}

  void Enter(int control) {
    controls_.focus = control;
    engine_.OnControlEvent(control, ControlEvent::GotFocus);
  }
  // Clears the box and types the text key by key (each key a text change).
  void Type(int control, const std::string& text) {
    controls_.texts[control].clear();
    for (char c : text) {
      controls_.texts[control] += c;
      engine_.OnControlEvent(control, ControlEvent::TextChanged);
    }
  }
  void Leave(int control) { engine_.OnControlEvent(control, ControlEvent::LostFocus); }
  void Click(int control, bool checked) {
    controls_.checks[control] = checked;
    engine_.OnControlEvent(control, ControlEvent::Clicked);
  }
  void Choose(int list, int index) {
    controls_.selections[list] = index;
    engine_.OnControlEvent(list, ControlEvent::SelectionChanged);
  }
  void ClickIndicator(int control, int y, int height) {
    qv::ClickIndicator(controls_.indicators[control], y, height);
    engine_.OnControlEvent(control, ControlEvent::Clicked);
  }

 private:
  RecordingControls& controls_;
  ParameterEngine& engine_;
};

}  // namespace qv::test
