// The trace into an open Notepad window.
#include <windows.h>

#include "base/trace_line.h"

namespace qv {

namespace {

class NotepadWindows : public TraceWindows {
 public:
  WindowHandle FindTraceWindow() override { return FindWindowA(nullptr, kTraceWindowTitle); }
  WindowHandle FindEditArea(WindowHandle notepad) override {
    return GetDlgItem(notepad, kTraceEditAreaId);
  }
  void PostCharacter(WindowHandle target, unsigned char c) override {
    PostMessageA(target, WM_CHAR, c, 1);
  }
};

}  // namespace

void TraceLine(std::string_view text) {
  static NotepadWindows windows;
  static TraceTarget target(windows);
  target.Write(text);
}

}  // namespace qv
