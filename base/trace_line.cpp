#include "base/trace_line.h"

namespace qv {

WindowHandle TraceTarget::Target() {
  State state = state_.load();
  if (state == State::NotLookedFor) {
    std::lock_guard<std::mutex> lock(lookup_);
    state = state_.load();
    if (state == State::NotLookedFor) {
      WindowHandle notepad = windows_.FindTraceWindow();
      WindowHandle edit = notepad != nullptr ? windows_.FindEditArea(notepad) : nullptr;
      // A Notepad window without its edit area counts as no window: the
      // search is not repeated for every line.
      target_.store(edit);
      state = edit != nullptr ? State::Found : State::None;
      state_.store(state);
    }
  }
  return state == State::Found ? target_.load() : nullptr;
}

void TraceTarget::Write(std::string_view text) {
  WindowHandle target = Target();
  if (target == nullptr) return;
  std::lock_guard<std::mutex> whole(line_);
  for (char c : text) windows_.PostCharacter(target, static_cast<unsigned char>(c));
  windows_.PostCharacter(target, 13);
}

}  // namespace qv
