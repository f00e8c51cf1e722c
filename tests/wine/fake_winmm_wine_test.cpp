// The fake winmm.dll checked through the real winmm calls: this program
// imports winmm and gets the fake from its own folder.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <vector>

#include "tests/wine/driver/driver.h"

namespace qv::wine {
namespace {

constexpr DWORD kBufferSize = 32000;

double ClockMs() {
  LARGE_INTEGER f, n;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&n);
  return static_cast<double>(n.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

// A window that collects the device notices posted to it.
struct NoticeWindow {
  struct Notice {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  HWND window = nullptr;
  static std::vector<Notice>* sink;
  std::vector<Notice> notices;

  NoticeWindow() {
    static ATOM cls = [] {
      WNDCLASSW wc = {};
      wc.lpfnWndProc = Proc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"QvNoticeSink";
      return RegisterClassW(&wc);
    }();
    (void)cls;
    window = CreateWindowExW(0, L"QvNoticeSink", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    sink = &notices;
  }
  ~NoticeWindow() { DestroyWindow(window); }

  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m >= MM_MIM_OPEN && m <= MM_MOM_DONE && sink) sink->push_back({m, wp, lp});
    return DefWindowProcW(w, m, wp, lp);
  }

  // Pumps messages until `count` notices of the kind have come.
  std::vector<Notice> WaitFor(UINT message, size_t count, int timeoutMs = 5000) {
    std::vector<Notice> found;
    WaitUntil(
        [&] {
          MSG msg;
          while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
          found.clear();
          for (const Notice& n : notices)
            if (n.message == message) found.push_back(n);
          return found.size() >= count;
        },
        timeoutMs);
    return found;
  }
};
std::vector<NoticeWindow::Notice>* NoticeWindow::sink = nullptr;

struct InputBuffer {
  MIDIHDR header = {};
  std::vector<char> data = std::vector<char>(kBufferSize);
  InputBuffer() {
    header.lpData = data.data();
    header.dwBufferLength = kBufferSize;
  }
};

class FakeWinmm : public ::testing::Test {
 protected:
  void SetUp() override {
    midiInGetNumDevs();  // starts the fake's control thread
    ASSERT_TRUE(SendMidiScript(GetCurrentProcessId(), "reset"));
  }
  void Script(const std::string& lines) { ASSERT_TRUE(SendMidiScript(GetCurrentProcessId(), lines)); }
  // Events of this process logged since the test began.
  std::vector<MidiEvent> Events(const std::string& kind) {
    std::vector<MidiEvent> out;
    for (MidiEvent& e : MidiEvents(kind, GetCurrentProcessId()))
      if (e.t >= started_) out.push_back(std::move(e));
    return out;
  }
  double started_ = ClockMs();
};

TEST_F(FakeWinmm, DeviceCountsNamesAndMappers) {
  Script("inputs 2\noutputs 3\ninput-name 1 Korg M1 In\noutput-name 2 Synth Port B");
  EXPECT_EQ(midiInGetNumDevs(), 2u);
  EXPECT_EQ(midiOutGetNumDevs(), 3u);
  MIDIINCAPSA in = {};
  ASSERT_EQ(midiInGetDevCapsA(0, &in, sizeof in), MMSYSERR_NOERROR);
  EXPECT_STREQ(in.szPname, "Fake MIDI In 0");
  ASSERT_EQ(midiInGetDevCapsA(1, &in, sizeof in), MMSYSERR_NOERROR);
  EXPECT_STREQ(in.szPname, "Korg M1 In");
  EXPECT_EQ(midiInGetDevCapsA(2, &in, sizeof in), MMSYSERR_BADDEVICEID);
  MIDIOUTCAPSA out = {};
  ASSERT_EQ(midiOutGetDevCapsA(2, &out, sizeof out), MMSYSERR_NOERROR);
  EXPECT_STREQ(out.szPname, "Synth Port B");
  // The output mapper is there by default, the input mapper is not.
  ASSERT_EQ(midiOutGetDevCapsA(MIDI_MAPPER, &out, sizeof out), MMSYSERR_NOERROR);
  EXPECT_STREQ(out.szPname, "Microsoft MIDI Mapper");
  EXPECT_EQ(midiInGetDevCapsA(MIDI_MAPPER, &in, sizeof in), MMSYSERR_BADDEVICEID);
  Script("input-mapper on Sample Input Mapper\noutput-mapper off");
  ASSERT_EQ(midiInGetDevCapsA(MIDI_MAPPER, &in, sizeof in), MMSYSERR_NOERROR);
  EXPECT_STREQ(in.szPname, "Sample Input Mapper");
  EXPECT_EQ(midiOutGetDevCapsA(MIDI_MAPPER, &out, sizeof out), MMSYSERR_BADDEVICEID);
  // A name longer than the record holds is cut to 31 characters.
  Script("input-name 0 ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
  ASSERT_EQ(midiInGetDevCapsA(0, &in, sizeof in), MMSYSERR_NOERROR);
  EXPECT_EQ(std::string(in.szPname), "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234");
}

TEST_F(FakeWinmm, UnreadableCapabilitiesOfOneDevice) {
  Script("inputs 3\nfail in.caps 1 MMSYSERR_NODRIVER\nfail out.caps 0 MMSYSERR_ERROR 1");
  MIDIINCAPSA in = {};
  EXPECT_EQ(midiInGetDevCapsA(0, &in, sizeof in), MMSYSERR_NOERROR);
  EXPECT_EQ(midiInGetDevCapsA(1, &in, sizeof in), MMSYSERR_NODRIVER);
  EXPECT_EQ(midiInGetDevCapsA(2, &in, sizeof in), MMSYSERR_NOERROR);
  MIDIOUTCAPSA out = {};
  EXPECT_EQ(midiOutGetDevCapsA(0, &out, sizeof out), MMSYSERR_ERROR);
  EXPECT_EQ(midiOutGetDevCapsA(0, &out, sizeof out), MMSYSERR_NOERROR) << "refused once only";
  auto caps = Events("in.caps");
  ASSERT_EQ(caps.size(), 3u);
  EXPECT_EQ(caps[1].Number("result"), MMSYSERR_NODRIVER);
}

TEST_F(FakeWinmm, OpenRefusedGivesCodeAndStandardText) {
  Script("fail in.open 0 MMSYSERR_ALLOCATED\nfail out.open * MMSYSERR_NOMEM 1");
  HMIDIIN in = nullptr;
  MMRESULT r = midiInOpen(&in, 0, 0, 0, CALLBACK_NULL);
  EXPECT_EQ(r, MMSYSERR_ALLOCATED);
  char text[256];
  ASSERT_EQ(midiInGetErrorTextA(r, text, sizeof text), MMSYSERR_NOERROR);
  EXPECT_STREQ(text, "The specified device is already in use. Wait until it is free, and then try again.");
  HMIDIOUT out = nullptr;
  r = midiOutOpen(&out, 0, 0, 0, CALLBACK_NULL);
  EXPECT_EQ(r, MMSYSERR_NOMEM);
  ASSERT_EQ(midiOutGetErrorTextA(r, text, sizeof text), MMSYSERR_NOERROR);
  EXPECT_EQ(std::string(text).rfind("Not enough memory available for this task.", 0), 0u);
  // Refused once: the next open works, and a second open of the same device
  // is refused as a driver does.
  ASSERT_EQ(midiOutOpen(&out, 0, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
  HMIDIOUT again = nullptr;
  EXPECT_EQ(midiOutOpen(&again, 0, 0, 0, CALLBACK_NULL), MMSYSERR_ALLOCATED);
  EXPECT_EQ(midiOutClose(out), MMSYSERR_NOERROR);
  EXPECT_EQ(midiOutClose(out), MMSYSERR_INVALHANDLE);
  auto opens = Events("in.open");
  ASSERT_EQ(opens.size(), 1u);
  EXPECT_EQ(opens[0].Number("result"), MMSYSERR_ALLOCATED);
  EXPECT_EQ(opens[0].Field("callback"), "null");
}

TEST_F(FakeWinmm, ErrorTextsTruncateAndKnowTheirCodes) {
  struct Case {
    UINT code;
    const char* text;
  } cases[] = {
      {MMSYSERR_BADDEVICEID, "A device ID has been used that is out of range for your system."},
      {MMSYSERR_INVALHANDLE, "The specified device handle is invalid."},
      {MIDIERR_UNPREPARED,
       "The MIDI header was not prepared. Use the Prepare function to prepare the header, and then try again."},
      {MIDIERR_STILLPLAYING,
       "Cannot perform this operation while media data is still playing. Reset the device, or wait until the data "
       "is finished playing."},
  };
  for (const Case& c : cases) {
    char text[512];
    ASSERT_EQ(midiOutGetErrorTextA(c.code, text, sizeof text), MMSYSERR_NOERROR) << c.code;
    EXPECT_STREQ(text, c.text);
  }
  char small[11];
  ASSERT_EQ(midiInGetErrorTextA(MMSYSERR_INVALHANDLE, small, sizeof small), MMSYSERR_NOERROR);
  EXPECT_STREQ(small, "The specif");
  EXPECT_EQ(midiInGetErrorTextA(999, small, sizeof small), MMSYSERR_BADERRNUM);
  Script("error-text MMSYSERR_ALLOCATED Port busy (driver's own words)");
  char text[256];
  ASSERT_EQ(midiInGetErrorTextA(MMSYSERR_ALLOCATED, text, sizeof text), MMSYSERR_NOERROR);
  EXPECT_STREQ(text, "Port busy (driver's own words)");
}

TEST_F(FakeWinmm, SeventyThousandBytesComeBackInThreeBuffers) {
  NoticeWindow sink;
  HMIDIIN in = nullptr;
  ASSERT_EQ(midiInOpen(&in, 0, reinterpret_cast<DWORD_PTR>(sink.window), 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
  std::vector<std::unique_ptr<InputBuffer>> buffers;
  for (int i = 0; i < 4; ++i) {
    buffers.push_back(std::make_unique<InputBuffer>());
    ASSERT_EQ(midiInPrepareHeader(in, &buffers.back()->header, sizeof(MIDIHDR)), MMSYSERR_NOERROR);
    ASSERT_EQ(midiInAddBuffer(in, &buffers.back()->header, sizeof(MIDIHDR)), MMSYSERR_NOERROR);
  }
  ASSERT_EQ(midiInStart(in), MMSYSERR_NOERROR);
  std::vector<uint8_t> message(70000);
  message.front() = 0xF0;
  message.back() = 0xF7;
  for (size_t i = 1; i + 1 < message.size(); ++i) message[i] = static_cast<uint8_t>((i * 7) % 128);
  Script("deliver 0 " + HexText(message));
  auto longData = sink.WaitFor(MM_MIM_LONGDATA, 3);
  ASSERT_EQ(longData.size(), 3u);
  std::vector<uint8_t> joined;
  const DWORD expected[] = {32000, 32000, 6000};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(longData[i].wParam, reinterpret_cast<WPARAM>(in));
    auto* h = reinterpret_cast<MIDIHDR*>(longData[i].lParam);
    EXPECT_EQ(h, &buffers[i]->header) << "the oldest queued buffer fills first";
    EXPECT_EQ(h->dwBytesRecorded, expected[i]);
    EXPECT_TRUE(h->dwFlags & MHDR_DONE);
    EXPECT_FALSE(h->dwFlags & MHDR_INQUEUE);
    joined.insert(joined.end(), h->lpData, h->lpData + h->dwBytesRecorded);
  }
  EXPECT_EQ(joined, message);
  EXPECT_EQ(midiInClose(in), MIDIERR_STILLPLAYING) << "one buffer is still queued";
  ASSERT_EQ(midiInReset(in), MMSYSERR_NOERROR);
  for (auto& b : buffers) EXPECT_EQ(midiInUnprepareHeader(in, &b->header, sizeof(MIDIHDR)), MMSYSERR_NOERROR);
  EXPECT_EQ(midiInClose(in), MMSYSERR_NOERROR);
  auto logged = Events("in.longdata");
  ASSERT_EQ(logged.size(), 4u);
  EXPECT_EQ(logged[2].Number("len"), 6000);
  EXPECT_EQ(logged[3].Number("len"), 0) << "the reset returns the last buffer empty";
}

TEST_F(FakeWinmm, SeveralMessagesAndShortMessagesInOneDelivery) {
  NoticeWindow sink;
  HMIDIIN in = nullptr;
  ASSERT_EQ(midiInOpen(&in, 0, reinterpret_cast<DWORD_PTR>(sink.window), 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
  InputBuffer a, b, c;
  for (InputBuffer* x : {&a, &b, &c}) {
    ASSERT_EQ(midiInPrepareHeader(in, &x->header, sizeof(MIDIHDR)), MMSYSERR_NOERROR);
    ASSERT_EQ(midiInAddBuffer(in, &x->header, sizeof(MIDIHDR)), MMSYSERR_NOERROR);
  }
  // Delivered before start: lost, as on a real port.
  Script("deliver 0 F0 7F F7");
  ASSERT_TRUE(WaitUntil([&] { return !Events("in.dropped").empty(); }, 3000));
  ASSERT_EQ(midiInStart(in), MMSYSERR_NOERROR);
  Script("deliver 0 F0 01 F7 90 40 7F F0 02 03 F7 C0 05");
  auto longData = sink.WaitFor(MM_MIM_LONGDATA, 2);
  auto shortData = sink.WaitFor(MM_MIM_DATA, 2);
  ASSERT_EQ(longData.size(), 2u);
  ASSERT_EQ(shortData.size(), 2u);
  EXPECT_EQ(reinterpret_cast<MIDIHDR*>(longData[0].lParam)->dwBytesRecorded, 3u);
  EXPECT_EQ(reinterpret_cast<MIDIHDR*>(longData[1].lParam)->dwBytesRecorded, 4u);
  EXPECT_EQ(std::memcmp(b.data.data(), "\xF0\x02\x03\xF7", 4), 0);
  EXPECT_EQ(shortData[0].lParam, 0x7F4090);
  EXPECT_EQ(shortData[1].lParam, 0x05C0);
  ASSERT_EQ(midiInReset(in), MMSYSERR_NOERROR);
  for (InputBuffer* x : {&a, &b, &c}) midiInUnprepareHeader(in, &x->header, sizeof(MIDIHDR));
  EXPECT_EQ(midiInClose(in), MMSYSERR_NOERROR);
}

TEST_F(FakeWinmm, WithInputWaitSysExWaitsForTheNextQueuedBuffer) {
  Script("input-wait on");
  NoticeWindow sink;
  HMIDIIN in = nullptr;
  ASSERT_EQ(midiInOpen(&in, 0, reinterpret_cast<DWORD_PTR>(sink.window), 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
  std::vector<std::unique_ptr<InputBuffer>> buffers;
  for (int i = 0; i < 2; ++i) {
    buffers.push_back(std::make_unique<InputBuffer>());
    ASSERT_EQ(midiInPrepareHeader(in, &buffers.back()->header, sizeof(MIDIHDR)), MMSYSERR_NOERROR);
    ASSERT_EQ(midiInAddBuffer(in, &buffers.back()->header, sizeof(MIDIHDR)), MMSYSERR_NOERROR);
  }
  ASSERT_EQ(midiInStart(in), MMSYSERR_NOERROR);
  // Four messages, and a later delivery behind them, for two buffers.
  Script("deliver 0 F0 01 F7 F0 02 02 F7 F0 03 03 03 F7 F0 04 F7");
  Script("deliver 0 F0 05 F7");
  auto first = sink.WaitFor(MM_MIM_LONGDATA, 2);
  ASSERT_EQ(first.size(), 2u);
  Pause(200);
  EXPECT_EQ(sink.WaitFor(MM_MIM_LONGDATA, 3, 0).size(), 2u) << "the rest waits for a buffer";
  // Each buffer given back takes the next message, in order.
  const std::vector<std::vector<uint8_t>> expected = {
      {0xF0, 0x01, 0xF7}, {0xF0, 0x02, 0x02, 0xF7}, {0xF0, 0x03, 0x03, 0x03, 0xF7},
      {0xF0, 0x04, 0xF7}, {0xF0, 0x05, 0xF7}};
  for (size_t i = 0; i < expected.size(); ++i) {
    auto returned = sink.WaitFor(MM_MIM_LONGDATA, i + 1);
    ASSERT_GE(returned.size(), i + 1);
    auto* h = reinterpret_cast<MIDIHDR*>(returned[i].lParam);
    EXPECT_EQ(std::vector<uint8_t>(h->lpData, h->lpData + h->dwBytesRecorded), expected[i]);
    ASSERT_EQ(midiInUnprepareHeader(in, h, sizeof(MIDIHDR)), MMSYSERR_NOERROR);
    ASSERT_EQ(midiInPrepareHeader(in, h, sizeof(MIDIHDR)), MMSYSERR_NOERROR);
    ASSERT_EQ(midiInAddBuffer(in, h, sizeof(MIDIHDR)), MMSYSERR_NOERROR);
  }
  EXPECT_TRUE(Events("in.nobuffer").empty());
  ASSERT_EQ(midiInReset(in), MMSYSERR_NOERROR);
  for (auto& b : buffers) midiInUnprepareHeader(in, &b->header, sizeof(MIDIHDR));
  EXPECT_EQ(midiInClose(in), MMSYSERR_NOERROR);
}

TEST_F(FakeWinmm, OnlyKBuffersAcceptedAndPrepareRefused) {
  Script("input-buffers 0 12\nfail in.prepare 0 MMSYSERR_NOMEM 1");
  HMIDIIN in = nullptr;
  ASSERT_EQ(midiInOpen(&in, 0, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
  std::vector<std::unique_ptr<InputBuffer>> buffers;
  for (int i = 0; i < 30; ++i) buffers.push_back(std::make_unique<InputBuffer>());
  EXPECT_EQ(midiInPrepareHeader(in, &buffers[0]->header, sizeof(MIDIHDR)), MMSYSERR_NOMEM);
  EXPECT_EQ(midiInAddBuffer(in, &buffers[0]->header, sizeof(MIDIHDR)), MIDIERR_UNPREPARED);
  int accepted = 0;
  MMRESULT refusal = MMSYSERR_NOERROR;
  for (auto& b : buffers) {
    ASSERT_EQ(midiInPrepareHeader(in, &b->header, sizeof(MIDIHDR)), MMSYSERR_NOERROR);
    MMRESULT r = midiInAddBuffer(in, &b->header, sizeof(MIDIHDR));
    if (r != MMSYSERR_NOERROR) {
      refusal = r;
      break;
    }
    ++accepted;
  }
  EXPECT_EQ(accepted, 12);
  EXPECT_EQ(refusal, MMSYSERR_NOMEM);
  EXPECT_EQ(midiInUnprepareHeader(in, &buffers[0]->header, sizeof(MIDIHDR)), MIDIERR_STILLPLAYING);
  ASSERT_EQ(midiInReset(in), MMSYSERR_NOERROR);
  for (auto& b : buffers) midiInUnprepareHeader(in, &b->header, sizeof(MIDIHDR));
  EXPECT_EQ(midiInClose(in), MMSYSERR_NOERROR);
}

TEST_F(FakeWinmm, ResetReturnsEveryQueuedBufferEmpty) {
  NoticeWindow sink;
  HMIDIIN in = nullptr;
  ASSERT_EQ(midiInOpen(&in, 0, reinterpret_cast<DWORD_PTR>(sink.window), 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
  std::vector<std::unique_ptr<InputBuffer>> buffers;
  for (int i = 0; i < 5; ++i) {
    buffers.push_back(std::make_unique<InputBuffer>());
    buffers.back()->header.dwBytesRecorded = 1234;  // stale count from earlier use
    ASSERT_EQ(midiInPrepareHeader(in, &buffers.back()->header, sizeof(MIDIHDR)), MMSYSERR_NOERROR);
    ASSERT_EQ(midiInAddBuffer(in, &buffers.back()->header, sizeof(MIDIHDR)), MMSYSERR_NOERROR);
  }
  ASSERT_EQ(midiInStart(in), MMSYSERR_NOERROR);
  ASSERT_EQ(midiInReset(in), MMSYSERR_NOERROR);
  auto returned = sink.WaitFor(MM_MIM_LONGDATA, 5);
  ASSERT_EQ(returned.size(), 5u);
  for (size_t i = 0; i < 5; ++i) {
    auto* h = reinterpret_cast<MIDIHDR*>(returned[i].lParam);
    EXPECT_EQ(h, &buffers[i]->header);
    EXPECT_EQ(h->dwBytesRecorded, 0u);
    EXPECT_EQ(h->dwFlags & (MHDR_DONE | MHDR_INQUEUE), static_cast<DWORD>(MHDR_DONE));
  }
  auto resets = Events("in.reset");
  ASSERT_EQ(resets.size(), 1u);
  EXPECT_EQ(resets[0].Number("returned"), 5);
  for (auto& b : buffers) EXPECT_EQ(midiInUnprepareHeader(in, &b->header, sizeof(MIDIHDR)), MMSYSERR_NOERROR);
  EXPECT_EQ(midiInClose(in), MMSYSERR_NOERROR);
  EXPECT_EQ(sink.WaitFor(MM_MIM_CLOSE, 1).size(), 1u);
}

struct CallbackRecord {
  std::atomic<int> done{0};
  std::atomic<DWORD> thread{0};
  std::atomic<DWORD_PTR> header{0};
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
};

void CALLBACK OutputCallback(HMIDIOUT, UINT message, DWORD_PTR instance, DWORD_PTR p1, DWORD_PTR) {
  auto* rec = reinterpret_cast<CallbackRecord*>(instance);
  if (message != MOM_DONE) return;
  rec->thread = GetCurrentThreadId();
  rec->header = p1;
  rec->done++;
  SetEvent(rec->event);
}

TEST_F(FakeWinmm, LongMessageLoggedAndDoneCalledBackFromAnotherThread) {
  Script("done-delay 150");
  CallbackRecord rec;
  HMIDIOUT out = nullptr;
  ASSERT_EQ(midiOutOpen(&out, 0, reinterpret_cast<DWORD_PTR>(OutputCallback), reinterpret_cast<DWORD_PTR>(&rec),
                        CALLBACK_FUNCTION),
            MMSYSERR_NOERROR);
  char bytes[] = "\xF0\x42\x30\x19\x10\xF7";
  MIDIHDR h = {};
  h.lpData = bytes;
  h.dwBufferLength = 6;
  ASSERT_EQ(midiOutLongMsg(out, &h, sizeof h), MIDIERR_UNPREPARED);
  ASSERT_EQ(midiOutPrepareHeader(out, &h, sizeof h), MMSYSERR_NOERROR);
  double before = ClockMs();
  ASSERT_EQ(midiOutLongMsg(out, &h, sizeof h), MMSYSERR_NOERROR);
  double after = ClockMs();
  EXPECT_EQ(midiOutUnprepareHeader(out, &h, sizeof h), MIDIERR_STILLPLAYING);
  ASSERT_EQ(WaitForSingleObject(rec.event, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(rec.done.load(), 1);
  EXPECT_EQ(rec.header.load(), reinterpret_cast<DWORD_PTR>(&h));
  EXPECT_NE(rec.thread.load(), GetCurrentThreadId());
  EXPECT_TRUE(h.dwFlags & MHDR_DONE);
  EXPECT_EQ(midiOutUnprepareHeader(out, &h, sizeof h), MMSYSERR_NOERROR);
  EXPECT_EQ(midiOutClose(out), MMSYSERR_NOERROR);

  auto sent = Events("out.long");
  auto done = Events("out.done");
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].Number("result"), MIDIERR_UNPREPARED);
  EXPECT_EQ(sent[1].Bytes(), (std::vector<uint8_t>{0xF0, 0x42, 0x30, 0x19, 0x10, 0xF7}));
  EXPECT_GE(sent[1].t, before - 1);
  EXPECT_LE(sent[1].t, after + 1);
  ASSERT_EQ(done.size(), 1u);
  EXPECT_GE(done[0].t - sent[1].t, 140.0) << "completion waits for the scripted delay";
  EXPECT_EQ(Events("out.open")[0].Field("callback"), "function");
}

TEST_F(FakeWinmm, RefusedLongMessageAndResetOfPendingMessages) {
  Script("fail out.long 0 MIDIERR_NOTREADY 1\ndone-delay 20000");
  NoticeWindow sink;
  HMIDIOUT out = nullptr;
  ASSERT_EQ(midiOutOpen(&out, 0, reinterpret_cast<DWORD_PTR>(sink.window), 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
  char bytes[] = "\xF0\x7E\x7F\x06\x01\xF7";
  MIDIHDR h = {};
  h.lpData = bytes;
  h.dwBufferLength = 6;
  ASSERT_EQ(midiOutPrepareHeader(out, &h, sizeof h), MMSYSERR_NOERROR);
  EXPECT_EQ(midiOutLongMsg(out, &h, sizeof h), MIDIERR_NOTREADY);
  ASSERT_EQ(midiOutLongMsg(out, &h, sizeof h), MMSYSERR_NOERROR);
  EXPECT_EQ(midiOutClose(out), MIDIERR_STILLPLAYING);
  ASSERT_EQ(midiOutReset(out), MMSYSERR_NOERROR);
  auto done = sink.WaitFor(MM_MOM_DONE, 1, 2000);
  ASSERT_EQ(done.size(), 1u) << "the reset hands the pending message back at once";
  EXPECT_EQ(done[0].lParam, reinterpret_cast<LPARAM>(&h));
  EXPECT_EQ(done[0].wParam, reinterpret_cast<WPARAM>(out));
  EXPECT_EQ(midiOutUnprepareHeader(out, &h, sizeof h), MMSYSERR_NOERROR);
  EXPECT_EQ(midiOutClose(out), MMSYSERR_NOERROR);
  EXPECT_EQ(Events("out.reset")[0].Number("returned"), 1);
}

TEST_F(FakeWinmm, ResponderAnswersARequestOnTheInput) {
  Script("respond 0 0 50 C0 05 F0 42 30 19 10 F7 => F0 42 30 19 40 11 22 F7\n"
         "respond-once * 0 0 F0 7E * => F0 7E 01 F7");
  NoticeWindow sink;
  HMIDIIN in = nullptr;
  HMIDIOUT out = nullptr;
  ASSERT_EQ(midiInOpen(&in, 0, reinterpret_cast<DWORD_PTR>(sink.window), 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
  ASSERT_EQ(midiOutOpen(&out, 0, reinterpret_cast<DWORD_PTR>(sink.window), 0, CALLBACK_WINDOW), MMSYSERR_NOERROR);
  InputBuffer a, b;
  for (InputBuffer* x : {&a, &b}) {
    ASSERT_EQ(midiInPrepareHeader(in, &x->header, sizeof(MIDIHDR)), MMSYSERR_NOERROR);
    ASSERT_EQ(midiInAddBuffer(in, &x->header, sizeof(MIDIHDR)), MMSYSERR_NOERROR);
  }
  ASSERT_EQ(midiInStart(in), MMSYSERR_NOERROR);
  char request[] = "\xC0\x05\xF0\x42\x30\x19\x10\xF7";
  MIDIHDR h = {};
  h.lpData = request;
  h.dwBufferLength = 8;
  ASSERT_EQ(midiOutPrepareHeader(out, &h, sizeof h), MMSYSERR_NOERROR);
  ASSERT_EQ(midiOutLongMsg(out, &h, sizeof h), MMSYSERR_NOERROR);
  auto answer = sink.WaitFor(MM_MIM_LONGDATA, 1);
  ASSERT_EQ(answer.size(), 1u);
  auto* got = reinterpret_cast<MIDIHDR*>(answer[0].lParam);
  ASSERT_EQ(got->dwBytesRecorded, 8u);
  EXPECT_EQ(std::memcmp(got->lpData, "\xF0\x42\x30\x19\x40\x11\x22\xF7", 8), 0);
  auto sent = Events("out.long");
  auto delivered = Events("in.deliver");
  ASSERT_EQ(delivered.size(), 1u);
  EXPECT_GE(delivered[0].t - sent[0].t, 45.0);
  // A prefix pattern, answered once.
  sink.WaitFor(MM_MOM_DONE, 1);
  char identity[] = "\xF0\x7E\x7F\x06\x01\xF7";
  h.lpData = identity;
  h.dwBufferLength = 6;
  ASSERT_EQ(midiOutLongMsg(out, &h, sizeof h), MMSYSERR_NOERROR);
  EXPECT_EQ(sink.WaitFor(MM_MIM_LONGDATA, 2).size(), 2u);
  EXPECT_EQ(Events("respond").size(), 2u);
  midiOutReset(out);
  midiOutUnprepareHeader(out, &h, sizeof h);
  midiOutClose(out);
  midiInReset(in);
  for (InputBuffer* x : {&a, &b}) midiInUnprepareHeader(in, &x->header, sizeof(MIDIHDR));
  EXPECT_EQ(midiInClose(in), MMSYSERR_NOERROR);
}

TEST_F(FakeWinmm, ScriptErrorsAreRefused) {
  EXPECT_FALSE(SendMidiScript(GetCurrentProcessId(), "fail in.nothing 0 4"));
  EXPECT_FALSE(SendMidiScript(GetCurrentProcessId(), "deliver 0 F0 4"));
  EXPECT_FALSE(SendMidiScript(GetCurrentProcessId(), "inputs many"));
  EXPECT_GE(Events("control.error").size(), 3u);
}

TEST_F(FakeWinmm, StartUpSoundFromMemoryIsRecorded) {
  std::vector<uint8_t> wave = {'R', 'I', 'F', 'F', 36 + 8, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
  wave.resize(52, 0);
  EXPECT_TRUE(sndPlaySoundA(reinterpret_cast<LPCSTR>(wave.data()), SND_ASYNC | SND_MEMORY | SND_NODEFAULT));
  auto played = Events("sound.play");
  ASSERT_EQ(played.size(), 1u);
  EXPECT_EQ(played[0].Number("size"), 52);
  EXPECT_EQ(played[0].Field("api"), "sndPlaySoundA");
  EXPECT_EQ(played[0].Bytes("head"), std::vector<uint8_t>(wave.begin(), wave.begin() + 16));
}

TEST_F(FakeWinmm, TimeFunctions) {
  DWORD a = timeGetTime();
  EXPECT_EQ(timeBeginPeriod(1), TIMERR_NOERROR);
  Pause(30);
  DWORD b = timeGetTime();
  EXPECT_EQ(timeEndPeriod(1), TIMERR_NOERROR);
  EXPECT_GE(b - a, 25u);
  EXPECT_LT(b - a, 2000u);
}

}  // namespace
}  // namespace qv::wine
