// The fake output devices: the midiOut* exports, the record of everything
// sent, completions after a scripted delay, and the responders that let a
// test play an instrument answering requests.
#include <windows.h>
#include <mmsystem.h>

#include <cstring>
#include <string>

#include "event_log.h"
#include "fake_midi.h"

namespace qv::fake {
namespace {

struct Locked {
  Locked() {
    EnsureStarted();
    EnterCriticalSection(&Lock());
  }
  ~Locked() { LeaveCriticalSection(&Lock()); }
};

std::string Dev(int device) { return "dev=" + std::to_string(device); }

OpenOutput* FindByHandle(HMIDIOUT handle) {
  for (OpenOutput& out : Devices().outputs)
    if (out.handle == handle) return &out;
  return nullptr;
}

Notice MakeNotice(const OpenOutput& out, UINT message, DWORD_PTR p1) {
  Notice n;
  n.callbackType = out.callbackType;
  n.callback = out.callback;
  n.instance = out.instance;
  n.handle = out.handle;
  n.message = message;
  n.param1 = p1;
  return n;
}

// Marks a header done and makes its completion notice.
void Complete(OpenOutput& out, MIDIHDR* h, Notices& notices) {
  h->dwFlags = (h->dwFlags & ~MHDR_INQUEUE) | MHDR_DONE;
  LogEvent("out.done", Dev(out.device) + " len=" + std::to_string(h->dwBufferLength));
  notices.push_back(MakeNotice(out, MOM_DONE, reinterpret_cast<DWORD_PTR>(h)));
}

bool Matches(const Responder& r, int device, const uint8_t* bytes, size_t count) {
  if (r.outDevice != kAnyDevice && r.outDevice != device) return false;
  if (count < r.pattern.size() || (!r.prefix && count != r.pattern.size())) return false;
  for (size_t i = 0; i < r.pattern.size(); ++i)
    if (r.pattern[i] >= 0 && r.pattern[i] != bytes[i]) return false;
  return true;
}

void RunResponders(int device, const uint8_t* bytes, size_t count) {
  auto& responders = Devices().config.responders;
  for (auto it = responders.begin(); it != responders.end(); ++it) {
    if (!Matches(*it, device, bytes, count)) continue;
    LogEvent("respond", "out=" + std::to_string(device) + " in=" + std::to_string(it->inDevice) +
                            " after=" + std::to_string(it->delayMs) +
                            " len=" + std::to_string(it->reply.size()));
    ScheduleDelivery(it->inDevice, it->delayMs, it->reply);
    if (it->remaining > 0 && --it->remaining == 0) responders.erase(it);
    return;  // the first matching responder answers
  }
}

bool ValidHeader(MIDIHDR* h, UINT size) { return h != nullptr && size >= offsetof(MIDIHDR, dwOffset); }

}  // namespace
}  // namespace qv::fake

using namespace qv::fake;

extern "C" {

UINT WINAPI midiOutGetNumDevs(void) {
  Locked l;
  return static_cast<UINT>(Devices().config.outputNames.size());
}

static MMRESULT OutputCaps(UINT_PTR id, std::string& name) {
  const Config& c = Devices().config;
  int device = DeviceFromId(id);
  MMRESULT r = MMSYSERR_NOERROR;
  if (device == kMapper) {
    if (c.outputMapper) name = c.outputMapperName; else r = MMSYSERR_BADDEVICEID;
  } else if (device < 0 || static_cast<size_t>(device) >= c.outputNames.size()) {
    r = MMSYSERR_BADDEVICEID;
  } else {
    name = c.outputNames[static_cast<size_t>(device)];
  }
  if (r == MMSYSERR_NOERROR) r = ScriptedFailure("out.caps", device);
  LogEvent("out.caps", "dev=" + std::to_string(device) + " result=" + std::to_string(r));
  return r;
}

MMRESULT WINAPI midiOutGetDevCapsA(UINT_PTR id, LPMIDIOUTCAPSA caps, UINT size) {
  Locked l;
  if (caps == nullptr) return MMSYSERR_INVALPARAM;
  std::string name;
  MMRESULT r = OutputCaps(id, name);
  if (r != MMSYSERR_NOERROR) return r;
  MIDIOUTCAPSA full = {};
  full.wMid = 0xFF;
  full.wPid = 2;
  full.vDriverVersion = 0x0100;
  lstrcpynA(full.szPname, name.c_str(), MAXPNAMELEN);
  full.wTechnology = DeviceFromId(id) == kMapper ? MOD_MAPPER : MOD_MIDIPORT;
  full.wChannelMask = 0xFFFF;
  memcpy(caps, &full, size < sizeof full ? size : sizeof full);
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI midiOutGetDevCapsW(UINT_PTR id, LPMIDIOUTCAPSW caps, UINT size) {
  Locked l;
  if (caps == nullptr) return MMSYSERR_INVALPARAM;
  std::string name;
  MMRESULT r = OutputCaps(id, name);
  if (r != MMSYSERR_NOERROR) return r;
  MIDIOUTCAPSW full = {};
  full.wMid = 0xFF;
  full.wPid = 2;
  full.vDriverVersion = 0x0100;
  MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, full.szPname, MAXPNAMELEN);
  full.szPname[MAXPNAMELEN - 1] = 0;
  full.wTechnology = DeviceFromId(id) == kMapper ? MOD_MAPPER : MOD_MIDIPORT;
  full.wChannelMask = 0xFFFF;
  memcpy(caps, &full, size < sizeof full ? size : sizeof full);
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI midiOutOpen(LPHMIDIOUT result, UINT id, DWORD_PTR callback, DWORD_PTR instance,
                            DWORD flags) {
  Notices notices;
  MMRESULT r = MMSYSERR_NOERROR;
  {
    Locked l;
    State& s = Devices();
    int device = DeviceFromId(id);
    DWORD type = flags & CALLBACK_TYPEMASK;
    const char* kind = type == CALLBACK_WINDOW ? "window" : type == CALLBACK_FUNCTION ? "function"
                     : type == CALLBACK_THREAD ? "thread" : type == CALLBACK_EVENT ? "event" : "null";
    bool exists = device == kMapper ? s.config.outputMapper
                                    : device >= 0 && static_cast<size_t>(device) < s.config.outputNames.size();
    bool busy = false;
    for (const OpenOutput& o : s.outputs) busy = busy || o.device == device;
    if (result == nullptr) r = MMSYSERR_INVALPARAM;
    else if (!exists) r = MMSYSERR_BADDEVICEID;
    else if (busy) r = MMSYSERR_ALLOCATED;
    else r = ScriptedFailure("out.open", device);
    if (r == MMSYSERR_NOERROR) {
      OpenOutput out;
      out.device = device;
      out.handle = reinterpret_cast<HMIDIOUT>(s.nextHandle++);
      out.callbackType = type;
      out.callback = callback;
      out.instance = instance;
      s.outputs.push_back(out);
      *result = out.handle;
      notices.push_back(MakeNotice(out, MOM_OPEN, 0));
    }
    LogEvent("out.open", Dev(device) + " callback=" + kind + " result=" + std::to_string(r));
  }
  Dispatch(notices);
  return r;
}

MMRESULT WINAPI midiOutClose(HMIDIOUT handle) {
  Notices notices;
  MMRESULT r = MMSYSERR_NOERROR;
  {
    Locked l;
    OpenOutput* out = FindByHandle(handle);
    int device = out ? out->device : -2;
    if (!out) r = MMSYSERR_INVALHANDLE;
    else if (!out->pending.empty()) r = MIDIERR_STILLPLAYING;
    else r = ScriptedFailure("out.close", device);
    if (r == MMSYSERR_NOERROR) {
      notices.push_back(MakeNotice(*out, MOM_CLOSE, 0));
      auto& v = Devices().outputs;
      v.erase(v.begin() + (out - v.data()));
    }
    LogEvent("out.close", Dev(device) + " result=" + std::to_string(r));
  }
  Dispatch(notices);
  return r;
}

MMRESULT WINAPI midiOutPrepareHeader(HMIDIOUT handle, LPMIDIHDR h, UINT size) {
  Locked l;
  OpenOutput* out = FindByHandle(handle);
  int device = out ? out->device : -2;
  MMRESULT r = MMSYSERR_NOERROR;
  if (!out) r = MMSYSERR_INVALHANDLE;
  else if (!ValidHeader(h, size) || h->lpData == nullptr) r = MMSYSERR_INVALPARAM;
  else r = ScriptedFailure("out.prepare", device);
  if (r == MMSYSERR_NOERROR) h->dwFlags |= MHDR_PREPARED;
  LogEvent("out.prepare", Dev(device) + " result=" + std::to_string(r));
  return r;
}

MMRESULT WINAPI midiOutUnprepareHeader(HMIDIOUT handle, LPMIDIHDR h, UINT size) {
  Locked l;
  OpenOutput* out = FindByHandle(handle);
  int device = out ? out->device : -2;
  MMRESULT r = MMSYSERR_NOERROR;
  if (!out) r = MMSYSERR_INVALHANDLE;
  else if (!ValidHeader(h, size)) r = MMSYSERR_INVALPARAM;
  else if (h->dwFlags & MHDR_INQUEUE) r = MIDIERR_STILLPLAYING;
  else r = ScriptedFailure("out.unprepare", device);
  if (r == MMSYSERR_NOERROR) h->dwFlags &= ~MHDR_PREPARED;
  LogEvent("out.unprepare", Dev(device) + " result=" + std::to_string(r));
  return r;
}

MMRESULT WINAPI midiOutLongMsg(HMIDIOUT handle, LPMIDIHDR h, UINT size) {
  Locked l;
  State& s = Devices();
  OpenOutput* out = FindByHandle(handle);
  int device = out ? out->device : -2;
  MMRESULT r = MMSYSERR_NOERROR;
  if (!out) r = MMSYSERR_INVALHANDLE;
  else if (!ValidHeader(h, size) || h->lpData == nullptr) r = MMSYSERR_INVALPARAM;
  else if (!(h->dwFlags & MHDR_PREPARED)) r = MIDIERR_UNPREPARED;
  else if (h->dwFlags & MHDR_INQUEUE) r = MIDIERR_STILLPLAYING;
  else r = ScriptedFailure("out.long", device);
  std::string fields = Dev(device) + " len=" + std::to_string(h ? h->dwBufferLength : 0) +
                       " result=" + std::to_string(r);
  if (r != MMSYSERR_NOERROR) {
    LogEvent("out.long", fields);
    return r;
  }
  const auto* bytes = reinterpret_cast<const uint8_t*>(h->lpData);
  LogEvent("out.long", fields + " data=" + HexBytes(bytes, h->dwBufferLength));
  h->dwFlags = (h->dwFlags | MHDR_INQUEUE) & ~MHDR_DONE;
  out->pending.push_back(h);
  // Completion comes after the wire time of this message, behind any
  // message still under way, plus the scripted delay.
  double now = NowMs();
  double start = out->busyUntilMs > now ? out->busyUntilMs : now;
  double wire = s.config.bytesPerSecond > 0 ? h->dwBufferLength * 1000.0 / s.config.bytesPerSecond : 0;
  out->busyUntilMs = start + wire;
  HMIDIOUT target = handle;
  Schedule(out->busyUntilMs + s.config.doneDelayMs, [target, h]() {
    Notices notices;
    OpenOutput* o = FindByHandle(target);
    if (!o) return notices;
    for (auto it = o->pending.begin(); it != o->pending.end(); ++it) {
      if (*it != h) continue;
      o->pending.erase(it);
      Complete(*o, h, notices);
      break;
    }
    return notices;
  });
  RunResponders(device, bytes, h->dwBufferLength);
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI midiOutShortMsg(HMIDIOUT handle, DWORD message) {
  Locked l;
  OpenOutput* out = FindByHandle(handle);
  int device = out ? out->device : -2;
  MMRESULT r = out ? ScriptedFailure("out.short", device) : MMSYSERR_INVALHANDLE;
  uint8_t bytes[3] = {static_cast<uint8_t>(message), static_cast<uint8_t>(message >> 8),
                      static_cast<uint8_t>(message >> 16)};
  size_t len = bytes[0] >= 0xF8 || bytes[0] == 0xF6 ? 1 : (bytes[0] & 0xE0) == 0xC0 || bytes[0] == 0xF1 || bytes[0] == 0xF3 ? 2 : 3;
  LogEvent("out.short", Dev(device) + " result=" + std::to_string(r) + " msg=" + HexBytes(bytes, len));
  if (r == MMSYSERR_NOERROR) RunResponders(device, bytes, len);
  return r;
}

MMRESULT WINAPI midiOutReset(HMIDIOUT handle) {
  Notices notices;
  MMRESULT r;
  {
    Locked l;
    OpenOutput* out = FindByHandle(handle);
    int device = out ? out->device : -2;
    r = out ? ScriptedFailure("out.reset", device) : MMSYSERR_INVALHANDLE;
    size_t returned = 0;
    if (r == MMSYSERR_NOERROR) {
      returned = out->pending.size();
      for (MIDIHDR* h : out->pending) Complete(*out, h, notices);
      out->pending.clear();
      out->busyUntilMs = 0;
    }
    LogEvent("out.reset", Dev(device) + " returned=" + std::to_string(returned) +
                              " result=" + std::to_string(r));
  }
  Dispatch(notices);
  return r;
}

MMRESULT WINAPI midiOutGetID(HMIDIOUT handle, LPUINT id) {
  Locked l;
  OpenOutput* out = FindByHandle(handle);
  if (!out) return MMSYSERR_INVALHANDLE;
  if (!id) return MMSYSERR_INVALPARAM;
  *id = static_cast<UINT>(out->device);
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI midiOutMessage(HMIDIOUT, UINT, DWORD_PTR, DWORD_PTR) { return MMSYSERR_NOTSUPPORTED; }

MMRESULT WINAPI midiOutGetVolume(HMIDIOUT, LPDWORD volume) {
  if (!volume) return MMSYSERR_INVALPARAM;
  *volume = 0xFFFFFFFF;
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI midiOutSetVolume(HMIDIOUT, DWORD) { return MMSYSERR_NOERROR; }

}  // extern "C"
