// The output device operations through winmm.
#include "midi/midi_output_winmm.h"

namespace qv {

void (*CompletionTrace)(std::string_view line) = nullptr;

void CALLBACK SendCompletionCallback(HMIDIOUT, UINT message, DWORD_PTR instance,
                                     DWORD_PTR param1, DWORD_PTR) {
  if (message != MOM_DONE) return;
  if (CompletionTrace) CompletionTrace("!");
  auto* completions = reinterpret_cast<OutputCompletions*>(instance);
  if (completions) completions->Post(reinterpret_cast<const void*>(param1));
}

void WinmmOutputDriver::SetTarget(int device, HWND window, OutputCompletions* completions) {
  device_ = device;
  window_ = window;
  completions_ = completions;
}

unsigned WinmmOutputDriver::Open() {
  const UINT id = device_ == -1 ? MIDI_MAPPER : static_cast<UINT>(device_);
  MMRESULT r;
  if (window_ != nullptr) {
    r = midiOutOpen(&handle_, id, reinterpret_cast<DWORD_PTR>(window_), 0, CALLBACK_WINDOW);
  } else {
    r = midiOutOpen(&handle_, id, reinterpret_cast<DWORD_PTR>(&SendCompletionCallback),
                    reinterpret_cast<DWORD_PTR>(completions_), CALLBACK_FUNCTION);
  }
  if (r != MMSYSERR_NOERROR) handle_ = nullptr;
  return r;
}

unsigned WinmmOutputDriver::Reset() { return midiOutReset(handle_); }

unsigned WinmmOutputDriver::Close() {
  MMRESULT r = midiOutClose(handle_);
  if (r == MMSYSERR_NOERROR) handle_ = nullptr;
  return r;
}

unsigned WinmmOutputDriver::Prepare(OutputBlock& block) {
  auto* header = new MIDIHDR{};
  header->lpData = reinterpret_cast<LPSTR>(block.bytes.data());
  header->dwBufferLength = static_cast<DWORD>(block.bytes.size());
  block.device_header = header;
  return midiOutPrepareHeader(handle_, header, sizeof(MIDIHDR));
}

unsigned WinmmOutputDriver::SendLong(OutputBlock& block) {
  return midiOutLongMsg(handle_, static_cast<MIDIHDR*>(block.device_header), sizeof(MIDIHDR));
}

void WinmmOutputDriver::Release(OutputBlock& block) {
  auto* header = static_cast<MIDIHDR*>(block.device_header);
  if (header == nullptr) return;
  if ((header->dwFlags & MHDR_PREPARED) != 0 && handle_ != nullptr)
    midiOutUnprepareHeader(handle_, header, sizeof(MIDIHDR));
  delete header;
  block.device_header = nullptr;
}

bool WinmmOutputDriver::IsDone(const OutputBlock& block) {
  const auto* header = static_cast<const MIDIHDR*>(block.device_header);
  return header != nullptr && (header->dwFlags & MHDR_DONE) != 0;
}

std::string WinmmOutputDriver::ErrorText(unsigned code, std::size_t max_chars) {
  if (max_chars == 0) return {};
  std::string text(max_chars, '\0');
  if (midiOutGetErrorTextA(code, text.data(), static_cast<UINT>(max_chars)) != MMSYSERR_NOERROR)
    return "MIDI error " + std::to_string(code) + ".";
  text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
  return text;
}

}  // namespace qv
