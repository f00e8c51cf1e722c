// The program's MIDI output over winmm.
#include "midi/midi_output_win32.h"

#include "base/message_box_reporter.h"
#include "base/process_state.h"
#include "base/trace_line.h"
#include "midi/midi_output_winmm.h"
#include "settings/settings.h"

namespace qv {
namespace {

void TraceFromCallback(std::string_view line) { TraceLine(line); }

WinmmOutputDriver& Driver() {
  static WinmmOutputDriver driver;
  return driver;
}

}  // namespace

OutputCompletions& ProgramOutputCompletions() {
  static OutputCompletions completions;
  return completions;
}

MidiOutput& ProgramOutput() {
  static MidiOutput output(Driver());
  return output;
}

bool OpenMidiOutput(HWND window) {
  // Already open: the device, its notices and what is still out stay as
  // they are.
  if (OutputOpen()) return true;
  CompletionTrace = &TraceFromCallback;
  ProgramOutputCompletions().Clear();
  Driver().SetTarget(Settings.OutputPort, window, &ProgramOutputCompletions());
  MessageBoxReporter reporter(window != nullptr ? MessageBoxReporter::Owner::ModuleWindow
                                                : MessageBoxReporter::Owner::None);
  return ProgramOutput().Open(reporter);
}

void CloseMidiOutput() {
  MessageBoxReporter reporter(MessageBoxReporter::Owner::ModuleWindow);
  ProgramOutput().Close(reporter);
}

bool OutputOpen() { return ProgramOutput().OutputOpen(); }

bool SendSysExBuffer(const std::uint8_t* bytes, std::size_t length) {
  MessageBoxReporter reporter(MessageBoxReporter::Owner::ModuleWindow);
  return ProgramOutput().Send(bytes, length, kSingleSendCaptions, reporter);
}

bool IsCurrentOutputDevice(WPARAM device) {
  return Driver().Handle() != nullptr &&
         reinterpret_cast<HMIDIOUT>(device) == Driver().Handle();
}

OutputCompletion ReleaseOutputDone(WPARAM device, LPARAM header) {
  if (!IsCurrentOutputDevice(device)) return {};
  return ProgramOutput().Completed(reinterpret_cast<const void*>(header));
}

}  // namespace qv
