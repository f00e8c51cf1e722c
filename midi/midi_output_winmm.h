#pragma once
// The output device operations through winmm. Window layer only.
#include <windows.h>
#include <mmsystem.h>

#include <string>
#include <string_view>

#include "midi/midi_output.h"
#include "midi/midi_output_completions.h"

namespace qv {

class WinmmOutputDriver : public OutputDriver {
 public:
  // `device` is the identifier to open (-1 the MIDI mapper). With a window,
  // completion notices are posted to it; without, they go to
  // SendCompletionCallback, which hands them to `completions`.
  void SetTarget(int device, HWND window, OutputCompletions* completions);
  HMIDIOUT Handle() const { return handle_; }

  unsigned Open() override;
  unsigned Reset() override;
  unsigned Close() override;
  unsigned Prepare(OutputBlock& block) override;
  unsigned SendLong(OutputBlock& block) override;
  void Release(OutputBlock& block) override;
  bool IsDone(const OutputBlock& block) override;
  std::string ErrorText(unsigned code, std::size_t max_chars) override;

 private:
  int device_ = 0;
  HWND window_ = nullptr;
  OutputCompletions* completions_ = nullptr;
  HMIDIOUT handle_ = nullptr;
};

// The function notification of an output opened without a window: records
// each done-notice (dwInstance is the OutputCompletions) and traces "!".
// Calls no multimedia function.
void CALLBACK SendCompletionCallback(HMIDIOUT device, UINT message, DWORD_PTR instance,
                                     DWORD_PTR param1, DWORD_PTR param2);

// Where the callback's trace line goes; none: no trace.
extern void (*CompletionTrace)(std::string_view line);

}  // namespace qv
