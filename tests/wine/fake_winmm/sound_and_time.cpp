// Start-up sounds are recorded, not played; the multimedia timer functions
// work on the high-resolution clock.
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <map>
#include <string>

#include "event_log.h"
#include "fake_midi.h"

namespace qv::fake {
namespace {

// The size of a wave image in memory, from its RIFF header; 0 when the
// bytes do not start like one.
uint32_t RiffSize(const uint8_t* bytes) {
  if (bytes[0] != 'R' || bytes[1] != 'I' || bytes[2] != 'F' || bytes[3] != 'F') return 0;
  uint32_t body = bytes[4] | bytes[5] << 8 | bytes[6] << 16 | static_cast<uint32_t>(bytes[7]) << 24;
  return body + 8;
}

void RecordSound(const char* api, const void* sound, HMODULE module, DWORD flags, bool wide) {
  EnsureStarted();
  char head[64];
  snprintf(head, sizeof head, "api=%s flags=0x%lX", api, flags);
  std::string fields = head;
  if (sound == nullptr) {
    LogEvent("sound.stop", fields);
    return;
  }
  const uint8_t* bytes = nullptr;
  if (flags & SND_MEMORY) {
    bytes = static_cast<const uint8_t*>(sound);
  } else if ((flags & SND_RESOURCE) == SND_RESOURCE) {
    HRSRC found = wide ? FindResourceW(module, static_cast<LPCWSTR>(sound), L"WAVE")
                       : FindResourceA(module, static_cast<LPCSTR>(sound), "WAVE");
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    bytes = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
    if (!bytes) {
      LogEvent("sound.play", fields + " resource=missing");
      return;
    }
  }
  if (bytes) {
    uint32_t size = RiffSize(bytes);
    LogEvent("sound.play", fields + " size=" + std::to_string(size) + " head=" + HexBytes(bytes, 16));
    return;
  }
  std::string name;
  if (wide) {
    char narrow[MAX_PATH] = {};
    WideCharToMultiByte(CP_ACP, 0, static_cast<LPCWSTR>(sound), -1, narrow, MAX_PATH, nullptr, nullptr);
    name = narrow;
  } else {
    name = static_cast<const char*>(sound);
  }
  LogEvent("sound.play", fields + " name=" + Escaped(name));
}

struct TimerEvent {
  LPTIMECALLBACK callback;
  DWORD_PTR user;
  UINT id;
  HANDLE timer;
};

std::map<UINT, TimerEvent*> timers;
UINT nextTimerId = 0;

void CALLBACK TimerFired(PVOID context, BOOLEAN) {
  auto* e = static_cast<TimerEvent*>(context);
  e->callback(e->id, 0, e->user, 0, 0);
}

}  // namespace
}  // namespace qv::fake

using namespace qv::fake;

extern "C" {

BOOL WINAPI sndPlaySoundA(LPCSTR sound, UINT flags) {
  RecordSound("sndPlaySoundA", sound, nullptr, flags, false);
  return TRUE;
}
BOOL WINAPI sndPlaySoundW(LPCWSTR sound, UINT flags) {
  RecordSound("sndPlaySoundW", sound, nullptr, flags, true);
  return TRUE;
}
BOOL WINAPI PlaySoundA(LPCSTR sound, HMODULE module, DWORD flags) {
  RecordSound("PlaySoundA", sound, module, flags, false);
  return TRUE;
}
BOOL WINAPI PlaySoundW(LPCWSTR sound, HMODULE module, DWORD flags) {
  RecordSound("PlaySoundW", sound, module, flags, true);
  return TRUE;
}

DWORD WINAPI timeGetTime(void) { return static_cast<DWORD>(static_cast<uint64_t>(NowMs())); }

MMRESULT WINAPI timeBeginPeriod(UINT period) { return period ? TIMERR_NOERROR : TIMERR_NOCANDO; }
MMRESULT WINAPI timeEndPeriod(UINT period) { return period ? TIMERR_NOERROR : TIMERR_NOCANDO; }

MMRESULT WINAPI timeGetDevCaps(LPTIMECAPS caps, UINT size) {
  if (!caps || size < sizeof(TIMECAPS)) return TIMERR_NOCANDO;
  caps->wPeriodMin = 1;
  caps->wPeriodMax = 1000000;
  return TIMERR_NOERROR;
}

MMRESULT WINAPI timeGetSystemTime(LPMMTIME time, UINT size) {
  if (!time || size < sizeof(MMTIME)) return TIMERR_NOCANDO;
  time->wType = TIME_MS;
  time->u.ms = timeGetTime();
  return TIMERR_NOERROR;
}

// Only function callbacks (what a program without a window would use).
MMRESULT WINAPI timeSetEvent(UINT delay, UINT, LPTIMECALLBACK callback, DWORD_PTR user, UINT flags) {
  if (!callback || (flags & (TIME_CALLBACK_EVENT_SET | TIME_CALLBACK_EVENT_PULSE))) return 0;
  EnsureStarted();
  auto* e = new TimerEvent{callback, user, 0, nullptr};
  EnterCriticalSection(&Lock());
  e->id = static_cast<UINT>(++nextTimerId);
  timers[e->id] = e;
  LeaveCriticalSection(&Lock());
  DWORD period = (flags & TIME_PERIODIC) ? (delay ? delay : 1) : 0;
  if (!CreateTimerQueueTimer(&e->timer, nullptr, TimerFired, e, delay, period, WT_EXECUTEDEFAULT)) {
    EnterCriticalSection(&Lock());
    timers.erase(e->id);
    LeaveCriticalSection(&Lock());
    delete e;
    return 0;
  }
  return e->id;
}

MMRESULT WINAPI timeKillEvent(UINT id) {
  EnsureStarted();
  EnterCriticalSection(&Lock());
  auto it = timers.find(id);
  TimerEvent* e = it == timers.end() ? nullptr : it->second;
  if (e) timers.erase(it);
  LeaveCriticalSection(&Lock());
  if (!e) return MMSYSERR_INVALPARAM;
  DeleteTimerQueueTimer(nullptr, e->timer, INVALID_HANDLE_VALUE);  // waits for a running callback
  delete e;
  return TIMERR_NOERROR;
}

}  // extern "C"
