#pragma once
// The program's MIDI input: the device named by Settings.InputPort, with a
// ring of 32,000-byte receive buffers, and the two handlers of the
// buffers it returns. Window layer only.
#include <windows.h>

#include <cstddef>

namespace qv {

// True while the input device is open.
extern bool InputOpen;

// Private message to the librarian or editor window: a message of the
// awaited length has arrived; lParam points at its bytes, valid only while
// the message is handled.
inline constexpr UINT kProgramReceived = WM_USER + 100;

// Creates the buffer set: NumBuffers buffers, bounded to 1..30.
void AllocateInputBuffers();
// Releases every buffer; after CloseMidiInput.
void FreeInputBuffers();
// Opens device InputPort with notices to `window`, queues the buffers and
// starts input. Shows the open-failure box (owner `window`) or the device's
// errors; lowers and saves NumBuffers when the driver takes fewer buffers,
// and ends the program when it takes none.
void OpenMidiInput(HWND window);
// Resets, unprepares and closes the device, if open. A message cut off by
// this is dropped, and buffers the reset returns are not handled.
void CloseMidiInput();

// MM_MIM_LONGDATA (wParam: device, lParam: header) in the manager: appends
// the bytes to the message store. True when the buffer held data.
bool ReceiveIntoStore(HWND window, WPARAM device, LPARAM header);
// The same notice in the librarian and the editor: sends kProgramReceived
// to `window` when a message of exactly `expected` bytes has arrived.
void ReceiveExpected(HWND window, WPARAM device, LPARAM header, std::size_t expected);

}  // namespace qv
