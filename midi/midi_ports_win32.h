#pragma once
// The port lists of the windows that show them (controls 105 and 106) and
// changing the open devices. Window layer only.
#include <windows.h>

namespace qv {

inline constexpr int kInputPortListId = 105;
inline constexpr int kOutputPortListId = 106;

// Fills both lists from the system's devices and selects the entries of
// InputPort and OutputPort. Every device keeps the position of its number:
// one whose capabilities cannot be read is listed by a placeholder.
void FillPortLists(HWND window);

// Closes the open device, opens `device` and stores it in the settings; when
// it cannot be opened, the previous device is stored and opened again, and
// the window's port list selects its entry again. Nothing happens when
// `device` is already the current one.
void SwitchInputPort(HWND window, int device);
void SwitchOutputPort(HWND window, int device);

}  // namespace qv
