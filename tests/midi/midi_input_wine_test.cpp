// The manager receiving SysEx through the virtual input device: messages
// joined over several 32,000-byte buffers, and a driver that takes fewer
// buffers than asked for.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "manager/manager_ids.h"
#include "tests/wine/driver/driver.h"

namespace qv::wine {
namespace {

std::vector<std::uint8_t> Message(std::size_t length, std::uint8_t id) {
  std::vector<std::uint8_t> m(length);
  for (std::size_t i = 0; i < length; ++i) m[i] = static_cast<std::uint8_t>((i * 5) & 0x7F);
  m[0] = 0xF0;
  m[1] = id;
  m[length - 1] = 0xF7;
  return m;
}

class ManagerInput : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteKeyTree(kUserSettings);
    // Settings already there: no first-run welcome, no file-type question.
    ASSERT_TRUE(WriteDword(kUserSettings, "InputPort", 0));
    ASSERT_TRUE(WriteDword(kUserSettings, "OutputPort", 0));
    ASSERT_TRUE(WriteDword(kUserSettings, "ToolTips", 0));
    ASSERT_TRUE(WriteDword(kUserSettings, "ToolTipsCountdown", 0));
    ASSERT_TRUE(WriteEmpty(kUserSettings, "DisableExtensions"));
    ASSERT_TRUE(WriteEmpty(kUserSettings, "TitleSoundDisabled"));
  }

  // Starts the main program; the manager window, once shown.
  HWND StartManager(const std::string& midiScript = "") {
    StartOptions options;
    options.fakeMidiConfig = midiScript;
    program_ = Start(options);
    if (!program_.Started()) return nullptr;
    return WaitForWindow({"Qv_SysEx", "", program_.Id()}, 20000);
  }

  void EndProgram(HWND manager) {
    Close(manager);
    EXPECT_TRUE(program_.WaitExit(15000).has_value());
  }

  // Delivers bytes on input device 0 through a file.
  bool Deliver(const std::vector<std::uint8_t>& bytes, const std::string& name) {
    const std::string path = TestDir() + "\\" + name;
    if (!WriteFileBytes(path, bytes)) return false;
    return SendMidiScript(program_.Id(), "deliver-file 0 " + path);
  }

  std::vector<std::string> Received(HWND manager) {
    return ListLines(Item(manager, IDC_MANAGER_MESSAGE_LIST));
  }

  Program program_;
};

TEST_F(ManagerInput, SeventyThousandBytesBecomeOneEntry) {
  HWND manager = StartManager();
  ASSERT_NE(manager, nullptr);
  ASSERT_TRUE(WaitForIdle(program_.Id()));
  EXPECT_TRUE(Received(manager).empty());
  ClearMidiLog();
  ASSERT_TRUE(Deliver(Message(70000, 0x42), "seventy.bin"));
  EXPECT_TRUE(WaitUntil([&] { return !Received(manager).empty(); }, 10000));
  Pause(300);
  EXPECT_EQ(Received(manager), std::vector<std::string>{"70000 bytes [Korg]"});
  // The device returned it as two full buffers and one of 6,000 bytes.
  auto returned = MidiEvents("in.longdata", program_.Id());
  ASSERT_EQ(returned.size(), 3u);
  EXPECT_EQ(returned[0].Number("len"), 32000);
  EXPECT_EQ(returned[1].Number("len"), 32000);
  EXPECT_EQ(returned[2].Number("len"), 6000);
  EXPECT_TRUE(FindMessageBoxes(program_.Id()).empty());

  // The store on disk holds exactly what came.
  auto data = ReadFileBytes(TempDir() + "\\~temp.syx");
  ASSERT_TRUE(data.has_value());
  EXPECT_EQ(*data, Message(70000, 0x42));
  Screenshot(manager, "manager_received_70000");
  EndProgram(manager);
}

TEST_F(ManagerInput, MessageFillingItsLastBufferJoinsTheNextOne) {
  HWND manager = StartManager();
  ASSERT_NE(manager, nullptr);
  ASSERT_TRUE(WaitForIdle(program_.Id()));
  ASSERT_TRUE(Deliver(Message(32000, 0x43), "exact.bin"));
  ASSERT_TRUE(WaitForMidiEvents("in.longdata", 1, program_.Id()));
  Pause(300);
  EXPECT_TRUE(Received(manager).empty());
  ASSERT_TRUE(Deliver(Message(100, 0x41), "next.bin"));
  EXPECT_TRUE(WaitUntil([&] { return !Received(manager).empty(); }, 10000));
  EXPECT_EQ(Received(manager), std::vector<std::string>{"32100 bytes [Yamaha]"});
  ASSERT_TRUE(Deliver(Message(10, 0x7E), "third.bin"));
  EXPECT_TRUE(WaitUntil([&] { return Received(manager).size() == 2; }, 10000));
  EXPECT_EQ(Received(manager),
            (std::vector<std::string>{"32100 bytes [Yamaha]", "10 bytes [7e]"}));
  EndProgram(manager);
}

TEST_F(ManagerInput, DriverTakingTwelveBuffersLowersNumBuffersOnce) {
  ASSERT_TRUE(WriteDword(kUserSettings, "NumBuffers", 30));
  StartOptions options;
  options.fakeMidiConfig = "input-buffers 0 12\n";
  program_ = Start(options);
  ASSERT_TRUE(program_.Started());

  // First the driver's own refusal, then the information box.
  MessageBoxInfo refusal = WaitForMessageBox(program_.Id(), 20000);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal.caption, "OID/InAddBuffer Error");
  ASSERT_TRUE(AnswerMessageBox(refusal, IDOK));
  MessageBoxInfo info = WaitForMessageBox(program_.Id());
  ASSERT_TRUE(info);
  EXPECT_EQ(info.caption, "Quillon 97");
  EXPECT_EQ(info.text,
            "The previous error returned by your soundcard driver meant that it could not cope "
            "with the number of buffers Quillon likes to allocate. However, a reduced number of "
            "buffers has been allocated, and the program should work properly now and in "
            "future.\n\nSee the ReadNOW!.doc file for more information.");
  ASSERT_TRUE(AnswerMessageBox(info, IDOK));
  EXPECT_TRUE(WaitUntil([] { return ReadDword(kUserSettings, "NumBuffers") == std::optional<DWORD>(12); }, 5000))
      << "NumBuffers is " << ReadDword(kUserSettings, "NumBuffers").value_or(0);
  HWND manager = WaitForWindow({"Qv_SysEx", "", program_.Id()}, 20000);
  ASSERT_NE(manager, nullptr);
  // Receiving works with the twelve.
  ASSERT_TRUE(Deliver(Message(200, 0x42), "small.bin"));
  EXPECT_TRUE(WaitUntil([&] { return Received(manager).size() == 1; }, 10000));
  EndProgram(manager);

  // The next start asks for twelve and shows nothing.
  ClearMidiLog();
  manager = StartManager("input-buffers 0 12\n");
  ASSERT_NE(manager, nullptr);
  ASSERT_TRUE(WaitForIdle(program_.Id()));
  Pause(500);
  EXPECT_TRUE(FindMessageBoxes(program_.Id()).empty());
  EXPECT_EQ(MidiEvents("in.addbuffer", program_.Id()).size(), 12u);
  EndProgram(manager);
}

TEST_F(ManagerInput, DriverTakingNoBufferEndsTheProgram) {
  StartOptions options;
  options.fakeMidiConfig = "input-buffers 0 0\n";
  program_ = Start(options);
  ASSERT_TRUE(program_.Started());
  MessageBoxInfo refusal = WaitForMessageBox(program_.Id(), 20000);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal.caption, "OID/InAddBuffer Error");
  ASSERT_TRUE(AnswerMessageBox(refusal, IDOK));
  MessageBoxInfo stop = WaitForMessageBox(program_.Id());
  ASSERT_TRUE(stop);
  EXPECT_EQ(stop.caption, "Quillon 97");
  EXPECT_EQ(stop.text,
            "The previous error returned by your soundcard meant that it could not allocate a "
            "buffer. Because no buffers were allocated, Quillon is not able to continue.\n\n"
            "To fix this, you should try to remedy the problem mentioned in the previous error "
            "message in some way. Unfortunately the problem may really be an incompatibility "
            "with your sound card and Quillon, and there may be no solution.\n\n"
            "See the ReadNOW!.doc file for more information.");
  ASSERT_TRUE(AnswerMessageBox(stop, IDOK));
  EXPECT_EQ(program_.WaitExit(15000), std::optional<DWORD>(1));
  // The count is not lowered to nothing: the next start tries again.
  EXPECT_NE(ReadDword(kUserSettings, "NumBuffers"), std::optional<DWORD>(0));
}

TEST_F(ManagerInput, MessageCutOffByMinimisingIsNotKept) {
  HWND manager = StartManager();
  ASSERT_NE(manager, nullptr);
  ASSERT_TRUE(WaitForIdle(program_.Id()));
  // 40,000 bytes of a message whose end has not come: one full buffer has
  // been handed over, the rest waits in the next buffer.
  auto unfinished = Message(40000, 0x43);
  unfinished.back() = 0x11;
  ClearMidiLog();
  ASSERT_TRUE(Deliver(unfinished, "unfinished.bin"));
  ASSERT_TRUE(WaitForMidiEvents("in.longdata", 1, program_.Id()));
  Pause(300);
  EXPECT_TRUE(Received(manager).empty());

  // Minimised, the window closes the device, which hands back the rest.
  PostMessageW(manager, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitForMidiEvents("in.close", 1, program_.Id()));
  const auto reset = MidiEvents("in.reset", program_.Id());
  ASSERT_EQ(reset.size(), 1u);
  PostMessageW(manager, WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_TRUE(WaitForMidiEvents("in.start", 1, program_.Id(), 10000));
  Pause(300);
  EXPECT_TRUE(Received(manager).empty()) << "nothing of the cut message is listed";

  // The next message stands alone.
  const auto next = Message(10, 0x42);
  ASSERT_TRUE(Deliver(next, "next.bin"));
  EXPECT_TRUE(WaitUntil([&] { return !Received(manager).empty(); }, 10000));
  Pause(300);
  EXPECT_EQ(Received(manager), std::vector<std::string>{"10 bytes [Korg]"});
  auto data = ReadFileBytes(TempDir() + "\\~temp.syx");
  ASSERT_TRUE(data.has_value());
  ASSERT_GE(data->size(), next.size());
  EXPECT_TRUE(std::equal(next.begin(), next.end(), data->begin())) << "the cut part was dropped";
  EXPECT_TRUE(FindMessageBoxes(program_.Id()).empty());
  EndProgram(manager);
}

TEST_F(ManagerInput, ABurstOfManyMessagesIsListedWholeInOrderWithItsBytesStored) {
  // The driver waits for a queued buffer rather than dropping: the burst
  // comes as fast as the window gives its buffers back.
  HWND manager = StartManager("input-wait on\n");
  ASSERT_NE(manager, nullptr);
  ASSERT_TRUE(WaitForIdle(program_.Id()));
  const char* names[] = {"Korg", "Yamaha", "Roland", "7e"};
  const std::uint8_t ids[] = {0x42, 0x43, 0x41, 0x7E};
  std::vector<std::uint8_t> all;
  std::vector<std::uint8_t> lengths;
  std::vector<std::string> lines;
  for (int i = 0; i < 600; ++i) {
    // One long message in the middle spans three buffers.
    const std::size_t length = i == 300 ? 70000 : 5 + static_cast<std::size_t>((i * 37) % 400);
    auto m = Message(length, ids[i % 4]);
    m[2] = static_cast<std::uint8_t>(i & 0x7F);
    all.insert(all.end(), m.begin(), m.end());
    for (int shift = 0; shift < 32; shift += 8) lengths.push_back(static_cast<std::uint8_t>(length >> shift));
    lines.push_back(std::to_string(length) + " bytes [" + names[i % 4] + "]");
  }
  ClearMidiLog();
  ASSERT_TRUE(Deliver(all, "burst.bin"));
  HWND list = Item(manager, IDC_MANAGER_MESSAGE_LIST);
  EXPECT_TRUE(WaitUntil([&] { return ListLines(list).size() >= lines.size(); }, 60000));
  Pause(300);
  EXPECT_EQ(ListLines(list), lines);
  EXPECT_EQ(ReadFileBytes(TempDir() + "\\~temp.syx"), all);
  EXPECT_EQ(ReadFileBytes(TempDir() + "\\~temp.lst"), lengths);
  EXPECT_TRUE(MidiEvents("in.nobuffer", program_.Id()).empty());
  EXPECT_TRUE(FindMessageBoxes(program_.Id()).empty());
  Screenshot(manager, "manager_received_burst");
  EndProgram(manager);
}

TEST_F(ManagerInput, StoredCountAboveThirtyIsBounded) {
  ASSERT_TRUE(WriteDword(kUserSettings, "NumBuffers", 500));
  ClearMidiLog();
  HWND manager = StartManager();
  ASSERT_NE(manager, nullptr);
  ASSERT_TRUE(WaitForIdle(program_.Id()));
  Pause(300);
  EXPECT_TRUE(FindMessageBoxes(program_.Id()).empty());
  EXPECT_EQ(MidiEvents("in.addbuffer", program_.Id()).size(), 30u);
  EndProgram(manager);
}

TEST_F(ManagerInput, FolderListShowsTheThreeLineForms) {
  auto standard = Message(50, 0x42);
  std::vector<std::uint8_t> current(116, 0), old(116, 0);
  std::memcpy(current.data(), "Kestrovallian+", 14);
  std::memcpy(old.data(), "Kestrovallian-", 14);
  std::memcpy(old.data() + 14, "Old name", 8);
  ASSERT_TRUE(WriteFileBytes(BinDir() + "\\plain.syx", standard));
  ASSERT_TRUE(WriteFileBytes(BinDir() + "\\current.syx", current));
  ASSERT_TRUE(WriteFileBytes(BinDir() + "\\old.syx", old));
  ASSERT_TRUE(WriteFileBytes(BinDir() + "\\~hidden.syx", standard));
  HWND manager = StartManager();
  ASSERT_NE(manager, nullptr);
  ASSERT_TRUE(WaitForIdle(program_.Id()));
  auto lines = ListLines(Item(manager, IDC_MANAGER_FILE_LIST));
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, (std::vector<std::string>{"* plain.syx", "- Old name", "current.syx"}));
  EXPECT_EQ(ListSelection(Item(manager, IDC_MANAGER_FILE_LIST)), -1);
  EndProgram(manager);
}

}  // namespace
}  // namespace qv::wine
