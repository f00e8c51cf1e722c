// The output, the file send and the port lists through the real winmm calls,
// on the virtual devices of the substitute winmm.dll. The sources under test
// are compiled into this program; their winmm calls are forwarded to the
// winmm.dll beside it.
#define _WINMM_
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/file_names.cpp"
#include "manager/syx_layout.cpp"
#include "manager/syx_send.cpp"
#include "manager/syx_send_acknowledge.cpp"
#include "manager/syx_send_file.cpp"
#include "manager/syx_send_loop.cpp"
#include "midi/midi_output.cpp"
#include "midi/midi_output_completions.cpp"
#include "midi/midi_output_winmm_win32.cpp"
#include "midi/midi_ports.cpp"
#include "midi/midi_ports_winmm_win32.cpp"
#include "tests/support/recording_reporter.h"
#include "tests/wine/driver/driver.h"

// ---- winmm, forwarded to the DLL in this program's folder ----------------
namespace {
HMODULE WinmmDll() {
  static HMODULE dll = LoadLibraryA("winmm.dll");
  return dll;
}
template <class F>
F Real(const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(WinmmDll(), name)));
}
}  // namespace

#define QV_FORWARD(ret, name, params, args)               \
  extern "C" ret WINAPI name params {                     \
    static auto real = Real<ret(WINAPI*) params>(#name); \
    return real args;                                     \
  }
QV_FORWARD(MMRESULT, midiOutOpen, (LPHMIDIOUT a, UINT b, DWORD_PTR c, DWORD_PTR d, DWORD e),
           (a, b, c, d, e))
QV_FORWARD(MMRESULT, midiOutReset, (HMIDIOUT a), (a))
QV_FORWARD(MMRESULT, midiOutClose, (HMIDIOUT a), (a))
QV_FORWARD(MMRESULT, midiOutPrepareHeader, (HMIDIOUT a, LPMIDIHDR b, UINT c), (a, b, c))
QV_FORWARD(MMRESULT, midiOutUnprepareHeader, (HMIDIOUT a, LPMIDIHDR b, UINT c), (a, b, c))
QV_FORWARD(MMRESULT, midiOutLongMsg, (HMIDIOUT a, LPMIDIHDR b, UINT c), (a, b, c))
QV_FORWARD(MMRESULT, midiOutGetErrorTextA, (MMRESULT a, LPSTR b, UINT c), (a, b, c))
QV_FORWARD(UINT, midiInGetNumDevs, (), ())
QV_FORWARD(UINT, midiOutGetNumDevs, (), ())
QV_FORWARD(MMRESULT, midiInGetDevCapsA, (UINT_PTR a, LPMIDIINCAPSA b, UINT c), (a, b, c))
QV_FORWARD(MMRESULT, midiOutGetDevCapsA, (UINT_PTR a, LPMIDIOUTCAPSA b, UINT c), (a, b, c))

namespace qv {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::RecordingReporter;

Bytes Message(std::size_t length, std::uint8_t seed) {
  Bytes m(length);
  for (std::size_t i = 0; i < length; ++i) m[i] = static_cast<std::uint8_t>((i * 5 + seed) & 0x7F);
  m.front() = 0xF0;
  m.back() = 0xF7;
  return m;
}

Bytes KestrovallianFile(const std::vector<Bytes>& messages) {
  const std::string magic = "Kestrovallian+";
  Bytes out(magic.begin(), magic.end());
  out.resize(out.size() + 100, 0);
  out.push_back(static_cast<std::uint8_t>(messages.size()));
  out.push_back(0);
  for (const Bytes& m : messages)
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(m.size() >> (8 * i)));
  for (const Bytes& m : messages) out.insert(out.end(), m.begin(), m.end());
  return out;
}

// The fake devices of this process, set back to a known state per test.
class OutputWine : public ::testing::Test {
 protected:
  void SetUp() override {
    midiOutGetNumDevs();  // starts the fake devices
    ASSERT_TRUE(wine::SendMidiScript(GetCurrentProcessId(), "reset"));
    wine::ClearMidiLog();
  }
  void Script(const std::string& lines) {
    ASSERT_TRUE(wine::SendMidiScript(GetCurrentProcessId(), lines)) << lines;
  }
  std::vector<wine::MidiEvent> Events(const std::string& kind) {
    return wine::MidiEvents(kind, GetCurrentProcessId());
  }
  std::string FilePath(const std::string& name, const Bytes& bytes) {
    std::string path = wine::TestDir() + "\\" + name;
    EXPECT_TRUE(wine::WriteFileBytes(path, bytes));
    return path;
  }
};

TEST_F(OutputWine, AKestrovallianFileGoesOutMessageByMessageAfterThePause) {
  Script("wire-rate 3125");
  const std::vector<Bytes> messages = {Message(10, 1), Message(100, 2), Message(30, 3)};
  const std::string path = FilePath("three.syx", KestrovallianFile(messages));
  constexpr unsigned kPause = 20;

  WinmmOutputDriver driver;
  OutputCompletions completions;
  driver.SetTarget(0, nullptr, &completions);
  RecordingReporter reporter;
  MidiOutput output(driver);
  ASSERT_TRUE(output.Open(reporter));
  SyxSender sender(output, reporter, completions, SyxSender::Hooks{{}, [](unsigned ms) { Sleep(ms); }});
  ASSERT_TRUE(sender.SendSyxFile(path, kPause));
  RunSyxSendLoop(sender, completions, {});
  output.Close(reporter);
  EXPECT_TRUE(reporter.boxes.empty());

  const auto sent = Events("out.long");
  const auto done = Events("out.done");
  ASSERT_EQ(sent.size(), 3u);
  ASSERT_EQ(done.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(sent[i].Bytes(), messages[i]) << i;
  for (std::size_t i = 1; i < 3; ++i)
    EXPECT_GE(sent[i].t - done[i - 1].t, kPause - 0.5) << "block " << i;
  EXPECT_EQ(Events("out.unprepare").size(), 3u);
  EXPECT_EQ(output.OutstandingCount(), 0u);
}

TEST_F(OutputWine, AStandardFileOfSeveralMessagesGoesOutAsOne) {
  Bytes whole;
  for (std::uint8_t i = 0; i < 4; ++i) {
    Bytes m = Message(50 + i, i);
    whole.insert(whole.end(), m.begin(), m.end());
  }
  const std::string path = FilePath("standard.syx", whole);
  WinmmOutputDriver driver;
  OutputCompletions completions;
  driver.SetTarget(0, nullptr, &completions);
  RecordingReporter reporter;
  MidiOutput output(driver);
  ASSERT_TRUE(output.Open(reporter));
  SyxSender sender(output, reporter, completions, SyxSender::Hooks{{}, [](unsigned ms) { Sleep(ms); }});
  ASSERT_TRUE(sender.SendSyxFile(path, 20));
  RunSyxSendLoop(sender, completions, {});
  output.Close(reporter);
  const auto sent = Events("out.long");
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].Bytes(), whole);
}

TEST_F(OutputWine, AnOutputThatCannotBeOpenedReportsAndLaterSendsFailUnderBothCaptions) {
  Script("fail out.open * 4");
  WinmmOutputDriver driver;
  OutputCompletions completions;
  driver.SetTarget(0, nullptr, &completions);
  RecordingReporter reporter;
  MidiOutput output(driver);
  EXPECT_FALSE(output.Open(reporter));
  EXPECT_FALSE(output.OutputOpen());
  ASSERT_EQ(reporter.boxes.size(), 1u);
  EXPECT_EQ(reporter.boxes[0].caption, "Error");
  EXPECT_EQ(reporter.boxes[0].text, std::string(kOutputOpenFailedText));

  const Bytes ten = Message(10, 9);
  EXPECT_FALSE(output.Send(ten.data(), ten.size(), kSingleSendCaptions, reporter));
  ASSERT_EQ(reporter.boxes.size(), 3u);
  EXPECT_EQ(reporter.boxes[1].caption, "Qv/OutPrepareHeader Error");
  EXPECT_EQ(reporter.boxes[2].caption, "Qv/OutLongMsg Error");
  EXPECT_FALSE(reporter.boxes[1].text.empty());
  for (const auto& refused : Events("out.long")) EXPECT_NE(refused.Field("result"), "0");
  EXPECT_EQ(output.OutstandingCount(), 0u);
}

TEST_F(OutputWine, OpeningAnOpenOutputTakesNoSecondHandle) {
  WinmmOutputDriver driver;
  OutputCompletions completions;
  driver.SetTarget(0, nullptr, &completions);
  RecordingReporter reporter;
  MidiOutput output(driver);
  ASSERT_TRUE(output.Open(reporter));
  const HMIDIOUT first = driver.Handle();
  EXPECT_TRUE(output.Open(reporter));
  EXPECT_TRUE(output.OutputOpen());
  EXPECT_EQ(driver.Handle(), first);
  EXPECT_TRUE(reporter.boxes.empty());
  EXPECT_EQ(Events("out.open").size(), 1u);

  // One close frees the device: it opens again at once.
  output.Close(reporter);
  ASSERT_EQ(Events("out.close").size(), 1u);
  EXPECT_EQ(Events("out.close")[0].Field("result"), "0");
  ASSERT_TRUE(output.Open(reporter));
  output.Close(reporter);
  EXPECT_TRUE(reporter.boxes.empty());
}

// Collects MM_MOM_DONE notices posted to a message-only window.
struct DoneWindow {
  static std::vector<LPARAM>* sink;
  std::vector<LPARAM> done;
  HWND window = nullptr;
  DoneWindow() {
    static ATOM cls = [] {
      WNDCLASSA wc = {};
      wc.lpfnWndProc = Proc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "QvSendDoneSink";
      return RegisterClassA(&wc);
    }();
    (void)cls;
    window = CreateWindowExA(0, "QvSendDoneSink", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    sink = &done;
  }
  ~DoneWindow() { DestroyWindow(window); }
  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == MM_MOM_DONE && sink) sink->push_back(lp);
    return DefWindowProcA(w, m, wp, lp);
  }
  void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
};
std::vector<LPARAM>* DoneWindow::sink = nullptr;

TEST_F(OutputWine, WithAWindowAnAcknowledgementDoesNotMoveTheFileSendOn) {
  Script("wire-rate 3125");
  const std::vector<Bytes> messages = {Message(200, 1), Message(20, 2)};
  const std::string path = FilePath("two.syx", KestrovallianFile(messages));
  DoneWindow sink;
  WinmmOutputDriver driver;
  OutputCompletions completions;
  driver.SetTarget(0, sink.window, &completions);
  RecordingReporter reporter;
  MidiOutput output(driver);
  ASSERT_TRUE(output.Open(reporter));
  SyxSender sender(output, reporter, completions, SyxSender::Hooks{{}, [](unsigned ms) { Sleep(ms); }});

  ASSERT_TRUE(sender.SendSyxFile(path, 0));
  const Bytes ack = {0xF0, 0x7E, 0x7F, 0x7F, 0xF7};
  ASSERT_TRUE(SendAcknowledgement(output, reporter, 10, true, 5, ack.data()));
  std::size_t handled = 0;
  ASSERT_TRUE(wine::WaitUntil(
      [&] {
        sink.Pump();
        for (; handled < sink.done.size(); ++handled)
          sender.OnOutputDone(reinterpret_cast<const void*>(sink.done[handled]));
        return !sender.Active();
      },
      5000));
  output.Close(reporter);
  const auto sent = Events("out.long");
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[0].Bytes(), messages[0]);
  EXPECT_EQ(sent[1].Bytes(), ack);
  // The second block waited for the first block's completion, not the
  // acknowledgement's.
  EXPECT_EQ(sent[2].Bytes(), messages[1]);
  const auto done = Events("out.done");
  ASSERT_GE(done.size(), 2u);
  EXPECT_GE(sent[2].t, done[1].t);
  EXPECT_TRUE(reporter.boxes.empty());
  EXPECT_EQ(output.OutstandingCount(), 0u);
}

TEST_F(OutputWine, PortListsFollowTheSystemsDevices) {
  Script("inputs 2\ninput-mapper off\noutputs 3\noutput-mapper on\nfail out.caps 1 2");
  WinmmPortQuery query;
  RecordingReporter reporter;
  int beeps = 0;
  PortListContents lists = BuildPortLists(query, reporter, [&] { ++beeps; }, -1, -1);
  EXPECT_EQ(lists.inputs, (std::vector<std::string>{"Fake MIDI In 0", "Fake MIDI In 1"}));
  EXPECT_EQ(lists.input_selection, -1);
  ASSERT_EQ(lists.outputs.size(), 4u);
  EXPECT_EQ(lists.outputs[0], "Fake MIDI Out 0");
  EXPECT_EQ(lists.outputs[1], UnreadableOutputEntry(1));
  EXPECT_EQ(lists.outputs[2], "Fake MIDI Out 2");
  EXPECT_EQ(lists.outputs[3], "Microsoft MIDI Mapper");
  EXPECT_EQ(lists.output_selection, 3);
  EXPECT_EQ(OutputPositionToDevice(3), -1);
  EXPECT_EQ(beeps, 1);
  EXPECT_TRUE(reporter.boxes.empty());
}

}  // namespace
}  // namespace qv
