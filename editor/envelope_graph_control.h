#pragma once
// The envelope graph window (class Qv_SysexGraph): the envelopes of the
// editor's edit buffer drawn as lines, edited by dragging their handles.
// Window layer only.
#include <windows.h>

#include "editor/m1_program.h"

namespace qv {

// Sent to the editor window, synchronously and with both parameters 0,
// after a handle drag has changed the edit buffer.
inline constexpr UINT kGraphChangedMessage = WM_USER + 200;

LRESULT CALLBACK EnvelopeGraphProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The window draws and edits the M1Program whose address is its creation
// parameter (the last argument of CreateWindowEx): the editor's edit
// buffer, which must outlive the window. Without one it shows a blank
// program. It tells the open module window (ModuleWindow) of its changes.
//
// CreateEnvelopeGraph makes that window: a visible top-level pop-up with a
// sizing border, no caption, no owner and an empty title, at GraphX, GraphY
// with the size GraphW x GraphH of Settings, editing `program`; `editor`
// (in place of ModuleWindow) gets the graph-changed message and the
// keyboard focus back after each press. Returns null when the window can't
// be made. Destroy it with DestroyWindow; it remembers its place in
// Settings as it goes.
HWND CreateEnvelopeGraph(HWND editor, M1Program* program);

// Has the graph repaint the edit buffer (the whole window, erased first).
// A null window is ignored.
void RefreshEnvelopeGraph(HWND graph);

}  // namespace qv
