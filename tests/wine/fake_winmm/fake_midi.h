#pragma once
// Internal state of the substitute winmm.dll: scriptable virtual MIDI
// devices, start-up sounds and timers for the end-to-end tests. One instance
// per process; everything below is guarded by Lock().
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace qv::fake {

constexpr int kMapper = -1;
constexpr int kAnyDevice = -1000;  // "*" in a script

// A scripted refusal: the named call on the device returns `code`.
struct Failure {
  std::string call;  // e.g. "in.open", "out.long"
  int device = kAnyDevice;
  UINT code = MMSYSERR_ERROR;
  int remaining = -1;  // -1: for ever
};

// "When output device `outDevice` sends bytes matching `pattern`, deliver
// `reply` on input device `inDevice` after `delayMs`."
struct Responder {
  int outDevice = kAnyDevice;
  int inDevice = 0;
  int delayMs = 0;
  std::vector<int> pattern;  // byte values, -1 matches any byte
  bool prefix = false;       // pattern ended in "*": further bytes allowed
  std::vector<uint8_t> reply;
  int remaining = -1;
};

struct Config {
  std::vector<std::string> inputNames{"Fake MIDI In 0"};
  std::vector<std::string> outputNames{"Fake MIDI Out 0"};
  bool inputMapper = false;
  bool outputMapper = true;
  std::string inputMapperName = "Microsoft MIDI Mapper";
  std::string outputMapperName = "Microsoft MIDI Mapper";
  std::map<int, int> inputBufferLimit;  // device -> most queued buffers
  UINT bufferLimitCode = MMSYSERR_NOMEM;
  int doneDelayMs = 0;      // extra time before an output completion
  int bytesPerSecond = 0;   // 0: no wire time; 3125 is the MIDI rate
  bool inputWait = false;   // input with no queued buffer waits for one
  std::vector<Failure> failures;
  std::vector<Responder> responders;
  std::map<UINT, std::string> errorTexts;  // overrides of the standard texts
};

struct Notice {
  DWORD callbackType = CALLBACK_NULL;
  DWORD_PTR callback = 0;
  DWORD_PTR instance = 0;
  HANDLE handle = nullptr;
  UINT message = 0;
  DWORD_PTR param1 = 0;
  DWORD_PTR param2 = 0;
};
using Notices = std::vector<Notice>;

struct OpenInput {
  int device = 0;
  HMIDIIN handle = nullptr;
  DWORD callbackType = CALLBACK_NULL;
  DWORD_PTR callback = 0;
  DWORD_PTR instance = 0;
  std::deque<MIDIHDR*> queue;  // oldest first
  bool started = false;
  double startMs = 0;
  bool inSysEx = false;  // a message is under way in queue.front()
  std::vector<uint8_t> held;  // input waiting for a queued buffer (input-wait on)
};

struct OpenOutput {
  int device = 0;
  HMIDIOUT handle = nullptr;
  DWORD callbackType = CALLBACK_NULL;
  DWORD_PTR callback = 0;
  DWORD_PTR instance = 0;
  std::vector<MIDIHDR*> pending;  // sent, not yet done, in order
  double busyUntilMs = 0;
};

struct State {
  Config config;
  std::vector<OpenInput> inputs;
  std::vector<OpenOutput> outputs;
  uintptr_t nextHandle = 0x5100;
};

// Process-wide set-up: reads QV_FAKEMIDI_CONFIG, opens QV_FAKEMIDI_LOG and
// starts the control thread. Every export calls it first.
void EnsureStarted();
CRITICAL_SECTION& Lock();
State& Devices();

// Milliseconds from a high-resolution clock shared by all processes.
double NowMs();

// Runs `action` on the control thread at `dueMs` (NowMs() scale). The
// action runs with the lock held and returns notices to dispatch after it.
void Schedule(double dueMs, std::function<Notices()> action);

// Sends notices to windows, threads, events or callback functions. Call
// without holding the lock.
void Dispatch(const Notices& notices);

// Returns the scripted failure code for a call on a device, or 0.
UINT ScriptedFailure(const std::string& call, int device);

// Device id as the programs pass it (UINT_PTR, MIDI_MAPPER is -1).
int DeviceFromId(UINT_PTR id);

// Applies script lines (see tests/README.md). Returns false and sets
// `error` for a line it cannot read; the lines before it have been applied.
bool RunScript(const std::string& text, std::string& error);

// Input delivery: feeds bytes into the queued buffers of the open input
// device, returning the notices to dispatch. Lock held.
Notices DeliverInput(int device, const std::vector<uint8_t>& bytes);

// Goes on with input that waited for a queued buffer (input-wait on).
Notices ResumeHeldInput(int device);

// Schedules a delivery on input device `device` after `delayMs`.
void ScheduleDelivery(int device, int delayMs, std::vector<uint8_t> bytes);

// Standard error texts of the multimedia system, with scripted overrides.
bool ErrorText(UINT code, std::string& text);

}  // namespace qv::fake
