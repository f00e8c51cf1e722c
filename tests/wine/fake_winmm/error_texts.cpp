// midiInGetErrorText / midiOutGetErrorText with the system's standard
// texts for the multimedia and MIDI error codes.
#include <windows.h>
#include <mmsystem.h>

#include <string>

#include "fake_midi.h"

namespace qv::fake {
namespace {

struct StandardText {
  UINT code;
  const char* text;
};

const StandardText kTexts[] = {
    {MMSYSERR_NOERROR, "The specified command was carried out."},
    {MMSYSERR_ERROR, "Undefined external error."},
    {MMSYSERR_BADDEVICEID, "A device ID has been used that is out of range for your system."},
    {MMSYSERR_NOTENABLED, "The driver was not enabled."},
    {MMSYSERR_ALLOCATED,
     "The specified device is already in use. Wait until it is free, and then try again."},
    {MMSYSERR_INVALHANDLE, "The specified device handle is invalid."},
    {MMSYSERR_NODRIVER, "There is no driver installed on your system!"},
    {MMSYSERR_NOMEM,
     "Not enough memory available for this task. Quit one or more applications to increase "
     "available memory, and then try again."},
    {MMSYSERR_NOTSUPPORTED,
     "This function is not supported. Use the Capabilities function to determine which functions "
     "and messages the driver supports."},
    {MMSYSERR_BADERRNUM, "An error number was specified that is not defined in the system."},
    {MMSYSERR_INVALFLAG, "An invalid flag was passed to a system function."},
    {MMSYSERR_INVALPARAM, "An invalid parameter was passed to a system function."},
    {MIDIERR_UNPREPARED,
     "The MIDI header was not prepared. Use the Prepare function to prepare the header, and then "
     "try again."},
    {MIDIERR_STILLPLAYING,
     "Cannot perform this operation while media data is still playing. Reset the device, or wait "
     "until the data is finished playing."},
    {MIDIERR_NOMAP,
     "A MIDI map was not found. There may be a problem with the driver, or the MIDIMAP.CFG file may "
     "be corrupt or missing."},
    {MIDIERR_NOTREADY,
     "The port is transmitting data to the device. Wait until the data has been transmitted, and "
     "then try again."},
    {MIDIERR_NODEVICE,
     "The current MIDI Mapper setup refers to a MIDI device that is not installed on the system."},
    {MIDIERR_INVALIDSETUP,
     "The current MIDI setup is damaged. Copy the original MIDIMAP.CFG file to the Windows SYSTEM "
     "directory, and then try again."},
};

MMRESULT CopyText(UINT code, LPSTR out, UINT size) {
  if (out == nullptr || size == 0) return MMSYSERR_INVALPARAM;
  std::string text;
  EnsureStarted();
  EnterCriticalSection(&Lock());
  bool known = ErrorText(code, text);
  LeaveCriticalSection(&Lock());
  if (!known) return MMSYSERR_BADERRNUM;
  lstrcpynA(out, text.c_str(), static_cast<int>(size));
  return MMSYSERR_NOERROR;
}

MMRESULT CopyTextW(UINT code, LPWSTR out, UINT size) {
  if (out == nullptr || size == 0) return MMSYSERR_INVALPARAM;
  std::string text;
  EnsureStarted();
  EnterCriticalSection(&Lock());
  bool known = ErrorText(code, text);
  LeaveCriticalSection(&Lock());
  if (!known) return MMSYSERR_BADERRNUM;
  out[0] = 0;
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, out, static_cast<int>(size));
  out[size - 1] = 0;
  return MMSYSERR_NOERROR;
}

}  // namespace

bool ErrorText(UINT code, std::string& text) {
  const auto& overrides = Devices().config.errorTexts;
  if (auto it = overrides.find(code); it != overrides.end()) {
    text = it->second;
    return true;
  }
  for (const StandardText& t : kTexts) {
    if (t.code == code) {
      text = t.text;
      return true;
    }
  }
  return false;
}

}  // namespace qv::fake

extern "C" {

MMRESULT WINAPI midiInGetErrorTextA(MMRESULT code, LPSTR text, UINT size) {
  return qv::fake::CopyText(code, text, size);
}
MMRESULT WINAPI midiOutGetErrorTextA(MMRESULT code, LPSTR text, UINT size) {
  return qv::fake::CopyText(code, text, size);
}
MMRESULT WINAPI midiInGetErrorTextW(MMRESULT code, LPWSTR text, UINT size) {
  return qv::fake::CopyTextW(code, text, size);
}
MMRESULT WINAPI midiOutGetErrorTextW(MMRESULT code, LPWSTR text, UINT size) {
  return qv::fake::CopyTextW(code, text, size);
}

}  // extern "C"
