#pragma once
// The trace: lines typed into an open Notepad window titled
// "brannoc.log - Notepad", character by character, each ended by a carriage
// return. The window is looked for once, at the first line; when it is not
// there (or has no edit area), nothing is traced for the rest of the run.
#include <atomic>
#include <mutex>
#include <string_view>

#include "base/process_state.h"

namespace qv {

inline constexpr char kTraceWindowTitle[] = "brannoc.log - Notepad";
inline constexpr int kTraceEditAreaId = 15;

// What the trace needs of the windowing system.
class TraceWindows {
 public:
  virtual ~TraceWindows() = default;
  // The top-level window titled kTraceWindowTitle, or none.
  virtual WindowHandle FindTraceWindow() = 0;
  // Its child with identifier kTraceEditAreaId, or none.
  virtual WindowHandle FindEditArea(WindowHandle notepad) = 0;
  // Posts one character message; never waits for the target.
  virtual void PostCharacter(WindowHandle target, unsigned char c) = 0;
};

// Where the trace goes. Lines may come from the user-interface thread and
// from the output driver's completion callback.
class TraceTarget {
 public:
  explicit TraceTarget(TraceWindows& windows) : windows_(windows) {}
  void Write(std::string_view text);

 private:
  enum class State { NotLookedFor, None, Found };
  WindowHandle Target();

  TraceWindows& windows_;
  std::mutex lookup_;
  // Held while one line is posted, so that a line from the callback never
  // lands inside a line of the user-interface thread.
  std::mutex line_;
  std::atomic<State> state_{State::NotLookedFor};
  std::atomic<WindowHandle> target_{nullptr};
};

// The program's trace; defined by the window layer only.
void TraceLine(std::string_view text);

}  // namespace qv
