// The fake input devices: the midiIn* exports and the delivery of bytes
// into queued buffers the way a driver does it.
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

OpenInput* FindByHandle(HMIDIIN handle) {
  for (OpenInput& in : Devices().inputs)
    if (in.handle == handle) return &in;
  return nullptr;
}

OpenInput* FindByDevice(int device) {
  for (OpenInput& in : Devices().inputs)
    if (in.device == device) return &in;
  return nullptr;
}

Notice MakeNotice(const OpenInput& in, UINT message, DWORD_PTR p1, DWORD_PTR p2) {
  Notice n;
  n.callbackType = in.callbackType;
  n.callback = in.callback;
  n.instance = in.instance;
  n.handle = in.handle;
  n.message = message;
  n.param1 = p1;
  n.param2 = p2;
  return n;
}

DWORD Timestamp(const OpenInput& in) {
  return in.started ? static_cast<DWORD>(NowMs() - in.startMs) : 0;
}

// Hands the oldest queued buffer back to the program as it stands.
void ReturnFront(OpenInput& in, Notices& out) {
  MIDIHDR* h = in.queue.front();
  in.queue.pop_front();
  h->dwFlags = (h->dwFlags & ~MHDR_INQUEUE) | MHDR_DONE;
  LogEvent("in.longdata", Dev(in.device) + " len=" + std::to_string(h->dwBytesRecorded));
  out.push_back(MakeNotice(in, MIM_LONGDATA, reinterpret_cast<DWORD_PTR>(h), Timestamp(in)));
}

int ShortMessageLength(uint8_t status) {
  if (status < 0xC0) return 3;
  if (status < 0xE0) return 2;
  if (status < 0xF0) return 3;
  if (status == 0xF1 || status == 0xF3) return 2;
  if (status == 0xF2) return 3;
  return 1;
}

bool ValidHeader(MIDIHDR* h, UINT size) { return h != nullptr && size >= offsetof(MIDIHDR, dwOffset); }

}  // namespace

namespace {

// Feeds bytes into the queued buffers. With input-wait on, SysEx that finds
// no queued buffer waits (with everything behind it) until one is queued.
void Feed(OpenInput* in, const std::vector<uint8_t>& bytes, Notices& out) {
  const int device = in->device;
  size_t dropped = 0;
  size_t i = 0;
  while (i < bytes.size()) {
    uint8_t b = bytes[i];
    if (b >= 0xF8) {  // real-time bytes pass even in the middle of SysEx
      LogEvent("in.data", Dev(device) + " msg=" + HexBytes(&b, 1));
      out.push_back(MakeNotice(*in, MIM_DATA, b, Timestamp(*in)));
      ++i;
      continue;
    }
    if (in->inSysEx && b >= 0x80 && b != 0xF7) {
      // A status byte cuts the unfinished message off: its buffer returns.
      if (!in->queue.empty()) ReturnFront(*in, out);
      in->inSysEx = false;
      continue;
    }
    if (in->inSysEx || b == 0xF0) {
      if (in->queue.empty() && Devices().config.inputWait) {
        in->held.assign(bytes.begin() + static_cast<std::ptrdiff_t>(i), bytes.end());
        break;
      }
      in->inSysEx = b != 0xF7;
      ++i;
      if (in->queue.empty()) {
        ++dropped;
        continue;
      }
      MIDIHDR* h = in->queue.front();
      h->lpData[h->dwBytesRecorded++] = static_cast<char>(b);
      if (b == 0xF7 || h->dwBytesRecorded >= h->dwBufferLength) ReturnFront(*in, out);
      continue;
    }
    if (b >= 0x80) {
      int len = ShortMessageLength(b);
      if (i + static_cast<size_t>(len) > bytes.size()) len = static_cast<int>(bytes.size() - i);
      DWORD packed = 0;
      for (int k = 0; k < len; ++k) packed |= static_cast<DWORD>(bytes[i + k]) << (8 * k);
      LogEvent("in.data", Dev(device) + " msg=" + HexBytes(&bytes[i], static_cast<size_t>(len)));
      out.push_back(MakeNotice(*in, MIM_DATA, packed, Timestamp(*in)));
      i += static_cast<size_t>(len);
      continue;
    }
    LogEvent("in.stray", Dev(device) + " byte=" + HexBytes(&b, 1));
    ++i;
  }
  if (dropped) LogEvent("in.nobuffer", Dev(device) + " dropped=" + std::to_string(dropped));
}

}  // namespace

Notices DeliverInput(int device, const std::vector<uint8_t>& bytes) {
  Notices out;
  OpenInput* in = FindByDevice(device);
  std::string head = Dev(device) + " len=" + std::to_string(bytes.size());
  if (in == nullptr || !in->started) {
    LogEvent("in.dropped", head + (in ? " reason=stopped" : " reason=closed"));
    return out;
  }
  LogEvent("in.deliver", head);
  if (!in->held.empty()) {
    // Behind the input that already waits.
    in->held.insert(in->held.end(), bytes.begin(), bytes.end());
    return out;
  }
  Feed(in, bytes, out);
  return out;
}

// Goes on with input that waited for a buffer.
Notices ResumeHeldInput(int device) {
  Notices out;
  OpenInput* in = FindByDevice(device);
  if (in == nullptr || !in->started || in->held.empty() || in->queue.empty()) return out;
  std::vector<uint8_t> bytes;
  bytes.swap(in->held);
  Feed(in, bytes, out);
  return out;
}

void ScheduleDelivery(int device, int delayMs, std::vector<uint8_t> bytes) {
  Schedule(NowMs() + delayMs, [device, bytes = std::move(bytes)]() { return DeliverInput(device, bytes); });
}

}  // namespace qv::fake

using namespace qv::fake;

extern "C" {

UINT WINAPI midiInGetNumDevs(void) {
  Locked l;
  return static_cast<UINT>(Devices().config.inputNames.size());
}

static MMRESULT InputCaps(UINT_PTR id, std::string& name) {
  const Config& c = Devices().config;
  int device = DeviceFromId(id);
  MMRESULT r = MMSYSERR_NOERROR;
  if (device == kMapper) {
    if (c.inputMapper) name = c.inputMapperName; else r = MMSYSERR_BADDEVICEID;
  } else if (device < 0 || static_cast<size_t>(device) >= c.inputNames.size()) {
    r = MMSYSERR_BADDEVICEID;
  } else {
    name = c.inputNames[static_cast<size_t>(device)];
  }
  if (r == MMSYSERR_NOERROR) r = ScriptedFailure("in.caps", device);
  LogEvent("in.caps", "dev=" + std::to_string(device) + " result=" + std::to_string(r));
  return r;
}

MMRESULT WINAPI midiInGetDevCapsA(UINT_PTR id, LPMIDIINCAPSA caps, UINT size) {
  Locked l;
  if (caps == nullptr) return MMSYSERR_INVALPARAM;
  std::string name;
  MMRESULT r = InputCaps(id, name);
  if (r != MMSYSERR_NOERROR) return r;
  MIDIINCAPSA full = {};
  full.wMid = 0xFF;
  full.wPid = 1;
  full.vDriverVersion = 0x0100;
  lstrcpynA(full.szPname, name.c_str(), MAXPNAMELEN);
  memcpy(caps, &full, size < sizeof full ? size : sizeof full);
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI midiInGetDevCapsW(UINT_PTR id, LPMIDIINCAPSW caps, UINT size) {
  Locked l;
  if (caps == nullptr) return MMSYSERR_INVALPARAM;
  std::string name;
  MMRESULT r = InputCaps(id, name);
  if (r != MMSYSERR_NOERROR) return r;
  MIDIINCAPSW full = {};
  full.wMid = 0xFF;
  full.wPid = 1;
  full.vDriverVersion = 0x0100;
  MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, full.szPname, MAXPNAMELEN);
  full.szPname[MAXPNAMELEN - 1] = 0;
  memcpy(caps, &full, size < sizeof full ? size : sizeof full);
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI midiInOpen(LPHMIDIIN result, UINT id, DWORD_PTR callback, DWORD_PTR instance,
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
    bool exists = device == kMapper ? s.config.inputMapper
                                    : device >= 0 && static_cast<size_t>(device) < s.config.inputNames.size();
    if (result == nullptr) r = MMSYSERR_INVALPARAM;
    else if (!exists) r = MMSYSERR_BADDEVICEID;
    else if (FindByDevice(device)) r = MMSYSERR_ALLOCATED;
    else r = ScriptedFailure("in.open", device);
    if (r == MMSYSERR_NOERROR) {
      OpenInput in;
      in.device = device;
      in.handle = reinterpret_cast<HMIDIIN>(s.nextHandle++);
      in.callbackType = type;
      in.callback = callback;
      in.instance = instance;
      s.inputs.push_back(in);
      *result = in.handle;
      notices.push_back(MakeNotice(in, MIM_OPEN, 0, 0));
    }
    LogEvent("in.open", Dev(device) + " callback=" + kind + " result=" + std::to_string(r));
  }
  Dispatch(notices);
  return r;
}

MMRESULT WINAPI midiInClose(HMIDIIN handle) {
  Notices notices;
  MMRESULT r = MMSYSERR_NOERROR;
  {
    Locked l;
    OpenInput* in = FindByHandle(handle);
    int device = in ? in->device : -2;
    if (!in) r = MMSYSERR_INVALHANDLE;
    else if (!in->queue.empty()) r = MIDIERR_STILLPLAYING;
    else r = ScriptedFailure("in.close", device);
    if (r == MMSYSERR_NOERROR) {
      notices.push_back(MakeNotice(*in, MIM_CLOSE, 0, 0));
      auto& v = Devices().inputs;
      v.erase(v.begin() + (in - v.data()));
    }
    LogEvent("in.close", Dev(device) + " result=" + std::to_string(r));
  }
  Dispatch(notices);
  return r;
}

MMRESULT WINAPI midiInPrepareHeader(HMIDIIN handle, LPMIDIHDR h, UINT size) {
  Locked l;
  OpenInput* in = FindByHandle(handle);
  int device = in ? in->device : -2;
  MMRESULT r = MMSYSERR_NOERROR;
  if (!in) r = MMSYSERR_INVALHANDLE;
  else if (!ValidHeader(h, size) || h->lpData == nullptr) r = MMSYSERR_INVALPARAM;
  else r = ScriptedFailure("in.prepare", device);
  if (r == MMSYSERR_NOERROR) h->dwFlags |= MHDR_PREPARED;
  LogEvent("in.prepare", Dev(device) + " result=" + std::to_string(r));
  return r;
}

MMRESULT WINAPI midiInUnprepareHeader(HMIDIIN handle, LPMIDIHDR h, UINT size) {
  Locked l;
  OpenInput* in = FindByHandle(handle);
  int device = in ? in->device : -2;
  MMRESULT r = MMSYSERR_NOERROR;
  if (!in) r = MMSYSERR_INVALHANDLE;
  else if (!ValidHeader(h, size)) r = MMSYSERR_INVALPARAM;
  else if (h->dwFlags & MHDR_INQUEUE) r = MIDIERR_STILLPLAYING;
  else r = ScriptedFailure("in.unprepare", device);
  if (r == MMSYSERR_NOERROR) h->dwFlags &= ~MHDR_PREPARED;
  LogEvent("in.unprepare", Dev(device) + " result=" + std::to_string(r));
  return r;
}

MMRESULT WINAPI midiInAddBuffer(HMIDIIN handle, LPMIDIHDR h, UINT size) {
  Locked l;
  const Config& c = Devices().config;
  OpenInput* in = FindByHandle(handle);
  int device = in ? in->device : -2;
  MMRESULT r = MMSYSERR_NOERROR;
  if (!in) r = MMSYSERR_INVALHANDLE;
  else if (!ValidHeader(h, size) || h->dwBufferLength == 0) r = MMSYSERR_INVALPARAM;
  else if (!(h->dwFlags & MHDR_PREPARED)) r = MIDIERR_UNPREPARED;
  else if (h->dwFlags & MHDR_INQUEUE) r = MIDIERR_STILLPLAYING;
  else {
    auto limit = c.inputBufferLimit.find(device);
    if (limit == c.inputBufferLimit.end()) limit = c.inputBufferLimit.find(kAnyDevice);
    if (limit != c.inputBufferLimit.end() && in->queue.size() >= static_cast<size_t>(limit->second))
      r = c.bufferLimitCode;
    else
      r = ScriptedFailure("in.addbuffer", device);
  }
  if (r == MMSYSERR_NOERROR) {
    h->dwFlags = (h->dwFlags | MHDR_INQUEUE) & ~MHDR_DONE;
    h->dwBytesRecorded = 0;
    in->queue.push_back(h);
    if (!in->held.empty()) {
      const int device = in->device;
      Schedule(NowMs(), [device]() { return ResumeHeldInput(device); });
    }
  }
  LogEvent("in.addbuffer", Dev(device) + " len=" + std::to_string(h ? h->dwBufferLength : 0) +
                               " queued=" + std::to_string(in ? in->queue.size() : 0) +
                               " result=" + std::to_string(r));
  return r;
}

MMRESULT WINAPI midiInStart(HMIDIIN handle) {
  Locked l;
  OpenInput* in = FindByHandle(handle);
  int device = in ? in->device : -2;
  MMRESULT r = in ? ScriptedFailure("in.start", device) : MMSYSERR_INVALHANDLE;
  if (r == MMSYSERR_NOERROR && !in->started) {
    in->started = true;
    in->startMs = NowMs();
  }
  LogEvent("in.start", Dev(device) + " result=" + std::to_string(r));
  return r;
}

MMRESULT WINAPI midiInStop(HMIDIIN handle) {
  Notices notices;
  MMRESULT r;
  {
    Locked l;
    OpenInput* in = FindByHandle(handle);
    int device = in ? in->device : -2;
    r = in ? ScriptedFailure("in.stop", device) : MMSYSERR_INVALHANDLE;
    if (r == MMSYSERR_NOERROR) {
      // A message under way comes back as far as it got; empty buffers stay.
      if (in->inSysEx && !in->queue.empty()) ReturnFront(*in, notices);
      in->inSysEx = false;
      in->started = false;
    }
    LogEvent("in.stop", Dev(device) + " result=" + std::to_string(r));
  }
  Dispatch(notices);
  return r;
}

MMRESULT WINAPI midiInReset(HMIDIIN handle) {
  Notices notices;
  MMRESULT r;
  {
    Locked l;
    OpenInput* in = FindByHandle(handle);
    int device = in ? in->device : -2;
    r = in ? ScriptedFailure("in.reset", device) : MMSYSERR_INVALHANDLE;
    size_t returned = 0;
    if (r == MMSYSERR_NOERROR) {
      returned = in->queue.size();
      while (!in->queue.empty()) ReturnFront(*in, notices);
      in->held.clear();
      in->inSysEx = false;
      in->started = false;
    }
    LogEvent("in.reset", Dev(device) + " returned=" + std::to_string(returned) +
                             " result=" + std::to_string(r));
  }
  Dispatch(notices);
  return r;
}

MMRESULT WINAPI midiInGetID(HMIDIIN handle, LPUINT id) {
  Locked l;
  OpenInput* in = FindByHandle(handle);
  if (!in) return MMSYSERR_INVALHANDLE;
  if (!id) return MMSYSERR_INVALPARAM;
  *id = static_cast<UINT>(in->device);
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI midiInMessage(HMIDIIN, UINT, DWORD_PTR, DWORD_PTR) { return MMSYSERR_NOTSUPPORTED; }

}  // extern "C"
