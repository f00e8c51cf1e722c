#pragma once
// The editor's state that the parameter engine reads and changes. The
// editor window owns it for its whole life.
#include "editor/m1_program.h"

namespace qv {

struct EditorState {
  M1Program edit_buffer = BlankM1Program();
  int oscillator = 1;      // 1 or 2: which oscillator the per-oscillator rows show
  int effect = 1;          // 1 or 2: which effect the parameter boxes show
  int program_number = 0;  // 0..99
  // Set while the controls are being filled; their notifications are ignored.
  bool refresh_guard = false;
};

}  // namespace qv
