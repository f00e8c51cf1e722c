#pragma once
// The program's MIDI output: the device named by Settings.OutputPort, opened
// by each module window (notices as window messages) or by the command-line
// send (notices through SendCompletionCallback). Window layer only.
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "midi/midi_output.h"
#include "midi/midi_output_completions.h"

namespace qv {

// Opens device OutputPort. `window`: MM_MOM_DONE notices go to it; none:
// they go to SendCompletionCallback. On failure shows "Couldn't open MIDI
// output device..." owned by the window (or by none). An output already open
// is left as it is (the device is not opened a second time). Returns
// OutputOpen().
bool OpenMidiOutput(HWND window);
// Resets and closes the device when open.
void CloseMidiOutput();
bool OutputOpen();

// Sends a copy of `length` bytes as one long message and returns once the
// device has accepted it; the copy is kept until the device is done with it.
// Refusals show the system's text under "Qv/OutPrepareHeader Error" and
// "Qv/OutLongMsg Error" (owner ModuleWindow). True when accepted.
bool SendSysExBuffer(const std::uint8_t* bytes, std::size_t length);

// For a module window's MM_MOM_DONE (wParam: device, lParam: header):
// releases the finished message and says what it was. Notices of another
// device or of a header that is not ours give kind None.
OutputCompletion ReleaseOutputDone(WPARAM device, LPARAM header);

// The output's block registry and the shared completion state, for the file
// sender.
MidiOutput& ProgramOutput();
OutputCompletions& ProgramOutputCompletions();
// Whether a MM_MOM_DONE notice comes from the device open now.
bool IsCurrentOutputDevice(WPARAM device);

}  // namespace qv
