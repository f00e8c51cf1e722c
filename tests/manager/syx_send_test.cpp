#include "manager/syx_send.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "manager/syx_send_acknowledge.h"
#include "tests/manager/syx_send_test_files.h"
#include "tests/midi/fake_midi_output_driver.h"
#include "base/file_names.h"
#include "tests/support/recording_reporter.h"

namespace qv {
namespace {

using test::Bytes;
using test::Concatenated;
using test::FakeOutputDriver;
using test::KestrovallianFile;
using test::RecordingReporter;
using test::SysExMessage;
using test::TempFolder;

// A sender on a fake device with a fake clock: the pause advances the clock,
// and every accepted send is stamped with the time it went out.
struct SendBench {
  FakeOutputDriver driver;
  RecordingReporter reporter;
  MidiOutput output{driver};
  OutputCompletions state;
  unsigned now_ms = 0;
  std::vector<unsigned> send_times;
  std::vector<bool> cursor;
  std::unique_ptr<SyxSender> sender;

  SendBench() {
    driver.on_sent = [this](void*) { send_times.push_back(now_ms); };
    sender = std::make_unique<SyxSender>(
        output, reporter, state,
        SyxSender::Hooks{[this](bool busy) { cursor.push_back(busy); },
                         [this](unsigned ms) { now_ms += ms; }});
    RecordingReporter open_reporter;
    output.Open(open_reporter);
  }
  // The device reports the latest block done after `wire_ms`.
  void CompleteLatest(unsigned wire_ms) {
    now_ms += wire_ms;
    sender->OnOutputDone(driver.sent_headers.back());
  }
};

TEST(SyxSend, AKestrovallianFileGoesOutOneMessageAtATimeAfterThePause) {
  const std::vector<Bytes> messages = {SysExMessage(10, 1), SysExMessage(70000, 2),
                                       SysExMessage(170, 3)};
  TempFolder folder;
  const std::string path = folder.Write("three.syx", KestrovallianFile(messages));
  for (unsigned pause : {0u, 20u, 150u}) {
    SCOPED_TRACE(pause);
    SendBench bench;
    ASSERT_TRUE(bench.sender->SendSyxFile(path, pause));
    EXPECT_EQ(bench.state.SendState(), kSendWaiting);
    EXPECT_EQ(bench.driver.sent.size(), 1u);
    std::vector<unsigned> completion_times;
    while (bench.sender->Active()) {
      bench.now_ms += 7;  // the time the device takes for the block
      completion_times.push_back(bench.now_ms);
      bench.sender->OnOutputDone(bench.driver.sent_headers.back());
    }
    EXPECT_EQ(bench.driver.sent, messages);
    ASSERT_EQ(bench.send_times.size(), 3u);
    for (std::size_t i = 1; i < 3; ++i)
      EXPECT_GE(bench.send_times[i], completion_times[i - 1] + pause) << i;
    EXPECT_EQ(bench.state.SendState(), kSendFinished);
    EXPECT_EQ(bench.cursor, (std::vector<bool>{true, false}));
    EXPECT_EQ(bench.output.OutstandingCount(), 0u);
    EXPECT_EQ(bench.driver.live_headers, 0);
    EXPECT_TRUE(bench.reporter.boxes.empty());
  }
}

TEST(SyxSend, AStandardFileGoesOutAsOneMessage) {
  const Bytes whole = Concatenated({SysExMessage(300, 1), SysExMessage(600000, 2),
                                    SysExMessage(12, 3)});
  TempFolder folder;
  const std::string path = folder.Write("standard.syx", whole);
  SendBench bench;
  ASSERT_TRUE(bench.sender->SendSyxFile(path, 20));
  bench.CompleteLatest(5);
  EXPECT_FALSE(bench.sender->Active());
  ASSERT_EQ(bench.driver.sent.size(), 1u);
  EXPECT_EQ(bench.driver.sent[0], whole);
  EXPECT_EQ(bench.now_ms, 5u);  // no pause for a single block
  EXPECT_EQ(bench.state.SendState(), kSendFinished);
  EXPECT_EQ(bench.driver.live_headers, 0);
}

TEST(SyxSend, FilesThatCannotBeSentSayWhyAndSendNothing) {
  TempFolder folder;
  Bytes no_messages = KestrovallianFile({});
  Bytes damaged = KestrovallianFile({SysExMessage(40), SysExMessage(50)});
  damaged.resize(damaged.size() - 10);
  struct Case {
    const char* name;
    std::string path;
    std::string text;
  };
  const std::string missing = folder.PathOf("missing.syx");
  const std::string empty_path = folder.Write("empty.syx", no_messages);
  const std::string damaged_path = folder.Write("damaged.syx", damaged);
  const std::vector<Case> cases = {
      {"missing", missing, "Couldn't open the file to send it:\n" + missing},
      {"count 0", empty_path, "There is nothing to send in this file:\n" + empty_path},
      {"damaged", damaged_path,
       "This file is damaged (its message table doesn't match its data), so nothing "
       "was sent:\n" + damaged_path},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SendBench bench;
    EXPECT_FALSE(bench.sender->SendSyxFile(c.path, 20));
    ASSERT_EQ(bench.reporter.boxes.size(), 1u);
    EXPECT_EQ(bench.reporter.boxes[0].text, c.text);
    EXPECT_EQ(bench.reporter.boxes[0].caption, "Error");
    EXPECT_EQ(bench.reporter.boxes[0].icon, BoxIcon::Exclamation);
    EXPECT_TRUE(bench.driver.sent.empty());
    EXPECT_FALSE(bench.sender->Active());
    EXPECT_EQ(bench.state.SendState(), kSendFinished);
    EXPECT_EQ(bench.cursor, (std::vector<bool>{true, false}));
  }
}

// A name as the system gives it for letters the code page lacks: refused
// as such, even where a file of that very name exists.
TEST(SyxSend, ANameWithLostLettersIsRefusedAsSuchAndNothingIsSent) {
  TempFolder folder;
  const std::string path = folder.Write("??????.syx", KestrovallianFile({SysExMessage(40)}));
  SendBench bench;
  EXPECT_FALSE(bench.sender->SendSyxFile(path, 20));
  ASSERT_EQ(bench.reporter.boxes.size(), 1u);
  EXPECT_EQ(bench.reporter.boxes[0].text, UnusableFileNameMessage("??????.syx"));
  EXPECT_EQ(bench.reporter.boxes[0].caption, "File name not usable");
  EXPECT_TRUE(bench.driver.sent.empty());
  EXPECT_FALSE(bench.sender->Active());
  EXPECT_EQ(bench.state.SendState(), kSendFinished);
}

TEST(SyxSend, ARefusedBlockEndsTheSend) {
  const std::vector<Bytes> messages = {SysExMessage(10, 1), SysExMessage(20, 2),
                                       SysExMessage(30, 3)};
  TempFolder folder;
  const std::string path = folder.Write("three.syx", KestrovallianFile(messages));
  struct Case {
    const char* name;
    std::deque<unsigned> send_results;
    std::size_t accepted;
    std::string caption;
  };
  const std::vector<Case> cases = {
      {"first block", {67}, 0, "Qv/OutLongMsg Error"},
      {"second block", {0, 67}, 1, "SNB/OutLongMsg Error"},
      {"third block", {0, 0, 67}, 2, "SNB/OutLongMsg Error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SendBench bench;
    bench.driver.send_results = c.send_results;
    bench.sender->SendSyxFile(path, 20);
    for (std::size_t i = 0; i < c.accepted && bench.sender->Active(); ++i)
      bench.CompleteLatest(3);
    EXPECT_FALSE(bench.sender->Active());
    EXPECT_EQ(bench.driver.sent.size(), c.accepted);
    ASSERT_EQ(bench.reporter.boxes.size(), 1u);
    EXPECT_EQ(bench.reporter.boxes[0].caption, c.caption);
    EXPECT_EQ(bench.reporter.boxes[0].text, "Device error 67.");
    EXPECT_EQ(bench.driver.error_text_limits, (std::vector<std::size_t>{100}));
    EXPECT_EQ(bench.state.SendState(), kSendFinished);
    EXPECT_EQ(bench.cursor, (std::vector<bool>{true, false}));
    EXPECT_EQ(bench.driver.live_headers, 0);
  }
}

TEST(SyxSend, AClosedOutputReportsBothStepsAndFinishes) {
  TempFolder folder;
  const std::string path = folder.Write("one.syx", SysExMessage(10));
  SendBench bench;
  RecordingReporter close_reporter;
  bench.output.Close(close_reporter);
  EXPECT_FALSE(bench.sender->SendSyxFile(path, 20));
  ASSERT_EQ(bench.reporter.boxes.size(), 2u);
  EXPECT_EQ(bench.reporter.boxes[0].caption, "Qv/OutPrepareHeader Error");
  EXPECT_EQ(bench.reporter.boxes[1].caption, "Qv/OutLongMsg Error");
  EXPECT_EQ(bench.state.SendState(), kSendFinished);
  EXPECT_EQ(bench.driver.live_headers, 0);
}

TEST(SyxSend, AnAcknowledgementDuringASendDoesNotMoveItOn) {
  const std::vector<Bytes> messages = {SysExMessage(10, 1), SysExMessage(20, 2)};
  TempFolder folder;
  const std::string path = folder.Write("two.syx", KestrovallianFile(messages));
  SendBench bench;
  ASSERT_TRUE(bench.sender->SendSyxFile(path, 20));
  void* file_header = bench.driver.sent_headers.back();

  const Bytes ack = {0xF0, 0x7E, 0x00, 0xF7};
  ASSERT_TRUE(SendAcknowledgement(bench.output, bench.reporter, 10, true, 4, ack.data()));
  void* ack_header = bench.driver.sent_headers.back();
  EXPECT_EQ(bench.output.OutstandingCount(), 2u);

  bench.sender->OnOutputDone(ack_header);
  EXPECT_EQ(bench.driver.sent.size(), 2u);  // the file block and the acknowledgement
  EXPECT_EQ(bench.sender->NextIndex(), 1u);
  EXPECT_TRUE(bench.sender->Active());
  EXPECT_EQ(bench.output.OutstandingCount(), 1u);  // the file block is still out

  bench.sender->OnOutputDone(file_header);
  EXPECT_EQ(bench.driver.sent.size(), 3u);
  EXPECT_EQ(bench.driver.sent.back(), messages[1]);
  bench.CompleteLatest(1);
  EXPECT_FALSE(bench.sender->Active());
  EXPECT_EQ(bench.driver.live_headers, 0);
}

TEST(SyxSend, ANewSendIgnoresTheNoticesOfTheOldOne) {
  TempFolder folder;
  const std::string first =
      folder.Write("first.syx", KestrovallianFile({SysExMessage(10, 1), SysExMessage(11, 1)}));
  const std::string second =
      folder.Write("second.syx", KestrovallianFile({SysExMessage(20, 2), SysExMessage(21, 2)}));
  SendBench bench;
  ASSERT_TRUE(bench.sender->SendSyxFile(first, 0));
  void* old_header = bench.driver.sent_headers.back();
  ASSERT_TRUE(bench.sender->SendSyxFile(second, 0));
  bench.sender->OnOutputDone(old_header);
  EXPECT_EQ(bench.driver.sent.size(), 2u);  // nothing more went out
  EXPECT_EQ(bench.sender->NextIndex(), 1u);
  bench.CompleteLatest(1);
  bench.CompleteLatest(1);
  EXPECT_FALSE(bench.sender->Active());
  EXPECT_EQ(bench.driver.sent,
            (std::vector<Bytes>{SysExMessage(10, 1), SysExMessage(20, 2), SysExMessage(21, 2)}));
  EXPECT_EQ(bench.driver.live_headers, 0);
}

TEST(SyxSend, ANoticeWithoutASendOnlyRestoresTheCursor) {
  SendBench bench;
  bench.sender->SendNextBlock();
  EXPECT_EQ(bench.cursor, (std::vector<bool>{false}));
  EXPECT_EQ(bench.state.SendState(), kSendFinished);
  EXPECT_TRUE(bench.driver.sent.empty());
}

}  // namespace
}  // namespace qv
