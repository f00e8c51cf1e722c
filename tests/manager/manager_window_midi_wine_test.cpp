// The manager window's MIDI traffic under Wine with the virtual devices: the
// two port lists and changing ports (the mapper, the current entry, a port
// that refuses to open), the acknowledgement of received data counted per
// returned buffer, and an acknowledgement during a file send.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "manager/manager_ids.h"
#include "tests/wine/driver/driver.h"

namespace qv::wine {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr char kOutputOpenFailed[] =
    "  Couldn't open MIDI output device.\nSome other program may be using it."
    "   Close the other program and try again.";
constexpr char kInputOpenFailed[] =
    "Couldn't open MIDI input device.\nSome other program may be using it. Close the "
    "other program and try again.";

Bytes Message(std::size_t length, std::uint8_t id, std::uint8_t seed) {
  Bytes m(length);
  for (std::size_t i = 0; i < length; ++i) m[i] = static_cast<std::uint8_t>((i * 7 + seed) & 0x7F);
  m[0] = 0xF0;
  m[1] = id;
  m[length - 1] = 0xF7;
  return m;
}

Bytes KestrovallianFile(const std::vector<Bytes>& messages) {
  const std::string magic = "Kestrovallian+";
  Bytes out(magic.begin(), magic.end());
  out.resize(out.size() + 100, 0);
  out.push_back(static_cast<std::uint8_t>(messages.size()));
  out.push_back(0);
  for (const Bytes& m : messages)
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(m.size() >> shift));
  for (const Bytes& m : messages) out.insert(out.end(), m.begin(), m.end());
  return out;
}

class ManagerWindowMidi : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteKeyTree(kUserSettings);
    ASSERT_TRUE(WriteDword(kUserSettings, "InputPort", 0));
    ASSERT_TRUE(WriteDword(kUserSettings, "OutputPort", 0));
    ASSERT_TRUE(WriteDword(kUserSettings, "ToolTips", 0));
    ASSERT_TRUE(WriteDword(kUserSettings, "ToolTipsCountdown", 0));
    ASSERT_TRUE(WriteDword(kUserSettings, "BlocksPause", 20));
    ASSERT_TRUE(WriteEmpty(kUserSettings, "TitleSoundDisabled"));
    ASSERT_TRUE(WriteEmpty(kMachineSettings, "DisableExtensions"));
    ASSERT_TRUE(WriteDword(kMachineSettings, "FirstTime1", 1));
    folder_ = TestDir() + "\\midi-files";
    CreateDirectoryA(folder_.c_str(), nullptr);
    for (const char* name : {"one.syx", "three.syx"}) DeleteFileA((folder_ + "\\" + name).c_str());
  }

  // The settings of a user who has Ack on with `ack` as the message.
  void StoreAcknowledgement(const Bytes& ack) {
    Bytes stored = ack;
    stored.resize(512, 0);
    ASSERT_TRUE(WriteBinary(kUserSettings, "AcknowledgeMessage", stored));
    ASSERT_TRUE(WriteDword(kUserSettings, "ReceiptLength", static_cast<DWORD>(ack.size())));
    ASSERT_TRUE(WriteDword(kUserSettings, "AcknowledgeReceipt", 1));
  }

  // Starts the program and waits for its window (visible or an icon).
  void StartManager(const std::string& midiScript) {
    StartOptions options;
    options.fakeMidiConfig = midiScript;
    options.workingDir = folder_;
    program_ = Start(options);
    ASSERT_TRUE(program_.Started());
    manager_ = WaitForWindow({"Qv_SysEx", "", program_.Id(), false}, 20000);
    ASSERT_NE(manager_, nullptr);
  }

  void EndProgram() {
    Close(manager_);
    EXPECT_EQ(program_.WaitExit(15000), std::optional<DWORD>(0));
  }

  HWND InputList() const { return Item(manager_, IDC_MANAGER_INPUT_PORT); }
  HWND OutputList() const { return Item(manager_, IDC_MANAGER_OUTPUT_PORT); }
  std::vector<std::string> Received() const { return ListLines(Item(manager_, IDC_MANAGER_MESSAGE_LIST)); }
  bool WaitForLines(std::size_t count) {
    return WaitUntil([&] { return Received().size() == count; }, 10000);
  }
  std::vector<MidiEvent> Events(const std::string& kind) { return MidiEvents(kind, program_.Id()); }

  bool Deliver(const Bytes& bytes, const std::string& name) {
    const std::string path = TestDir() + "\\" + name;
    return WriteFileBytes(path, bytes) && SendMidiScript(program_.Id(), "deliver-file 0 " + path);
  }

  // The program's next message box, checked and answered with OK.
  void ExpectBox(const std::string& caption, const std::string& text) {
    MessageBoxInfo box = WaitForMessageBox(program_.Id(), 10000);
    ASSERT_TRUE(box) << "no box \"" << text << "\"";
    EXPECT_EQ(box.caption, caption);
    EXPECT_EQ(box.text, text);
    ASSERT_TRUE(AnswerMessageBox(box, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box.window); }, 5000));
  }

  void ExpectNoBox() {
    for (const MessageBoxInfo& box : FindMessageBoxes(program_.Id())) {
      ADD_FAILURE() << "unexpected box \"" << box.caption << "\": " << box.text;
    }
  }

  std::string folder_;
  Program program_;
  HWND manager_ = nullptr;
};

TEST_F(ManagerWindowMidi, ThePortListsShowTheDevicesWithTheMappersLast) {
  ASSERT_NO_FATAL_FAILURE(StartManager(
      "inputs 2\ninput-name 1 Korg M1 In\noutputs 2\noutput-name 1 Korg M1 Out\n"
      "input-mapper off\noutput-mapper on"));
  ASSERT_TRUE(WaitForIdle(program_.Id()));
  EXPECT_EQ(ComboLines(InputList()), (std::vector<std::string>{"Fake MIDI In 0", "Korg M1 In"}));
  EXPECT_EQ(ComboLines(OutputList()),
            (std::vector<std::string>{"Fake MIDI Out 0", "Korg M1 Out", "Microsoft MIDI Mapper"}));
  EXPECT_EQ(ComboSelection(InputList()), 0);
  EXPECT_EQ(ComboSelection(OutputList()), 0);
  ExpectNoBox();

  // The mapper, the last entry, is device -1 and is stored so.
  ClearMidiLog();
  SelectComboLine(OutputList(), 2);
  ASSERT_TRUE(WaitForMidiEvents("out.open", 1, program_.Id()));
  EXPECT_EQ(Events("out.close").at(0).Number("dev"), 0);
  EXPECT_EQ(Events("out.open").at(0).Number("dev"), -1);
  EXPECT_EQ(Events("out.open").at(0).Field("callback"), "window");

  // Choosing the entry that is current opens and closes nothing.
  ASSERT_TRUE(WaitForIdle(program_.Id()));
  ClearMidiLog();
  SelectComboLine(OutputList(), 2);
  ASSERT_TRUE(WaitForIdle(program_.Id()));
  Pause(300);
  EXPECT_TRUE(Events("out.open").empty());
  EXPECT_TRUE(Events("out.close").empty());
  EXPECT_TRUE(Events("in.open").empty());
  EXPECT_TRUE(Events("in.close").empty());
  EXPECT_FALSE(IsIconic(manager_));
  ExpectNoBox();

  EndProgram();
  EXPECT_EQ(ReadDword(kUserSettings, "OutputPort"), std::optional<DWORD>(0xFFFFFFFFu));
  EXPECT_EQ(ReadDword(kUserSettings, "InputPort"), std::optional<DWORD>(0));
}

TEST_F(ManagerWindowMidi, AStoredInputMapperSelectsNothingWithoutOne) {
  ASSERT_TRUE(WriteDword(kUserSettings, "InputPort", 0xFFFFFFFFu));
  ASSERT_NO_FATAL_FAILURE(StartManager("inputs 2\ninput-mapper off"));
  // The mapper cannot be opened where there is none: the input's box, and
  // the window goes to an icon. (The window is restored once as the dialog
  // is first shown, and tries again: the box may come a second time.)
  ASSERT_NO_FATAL_FAILURE(ExpectBox("Error", kInputOpenFailed));
  if (WaitForMessageBox(program_.Id(), 2000)) {
    ASSERT_NO_FATAL_FAILURE(ExpectBox("Error", kInputOpenFailed));
  }
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(manager_) != FALSE; }, 5000));
  ExpectNoBox();
  EXPECT_EQ(ComboLines(InputList()), (std::vector<std::string>{"Fake MIDI In 0", "Fake MIDI In 1"}));
  EXPECT_EQ(ComboSelection(InputList()), -1);
  EXPECT_EQ(Events("in.open").at(0).Number("dev"), -1);
  EXPECT_NE(Events("in.open").at(0).Field("result"), "0");
  program_.Kill();
}

TEST_F(ManagerWindowMidi, APortThatRefusesToOpenFallsBackToThePreviousOne) {
  const Bytes message = Message(12, 0x42, 1);
  ASSERT_TRUE(WriteFileBytes(folder_ + "\\one.syx", message));
  ASSERT_NO_FATAL_FAILURE(StartManager("inputs 2\noutputs 2"));
  ASSERT_TRUE(WaitForIdle(program_.Id()));

  // Output 1 refuses: its box, then output 0 is open again.
  ASSERT_TRUE(SendMidiScript(program_.Id(), "fail out.open 1 MMSYSERR_ALLOCATED"));
  ClearMidiLog();
  SelectComboLine(OutputList(), 1);
  ASSERT_NO_FATAL_FAILURE(ExpectBox("Error", kOutputOpenFailed));
  ASSERT_TRUE(WaitForMidiEvents("out.open", 2, program_.Id()));
  auto opens = Events("out.open");
  EXPECT_EQ(opens[0].Number("dev"), 1);
  EXPECT_NE(opens[0].Field("result"), "0");
  EXPECT_EQ(opens[1].Number("dev"), 0);
  EXPECT_EQ(opens[1].Field("result"), "0");
  ASSERT_TRUE(WaitForIdle(program_.Id()));
  EXPECT_FALSE(IsIconic(manager_));
  EXPECT_EQ(ComboSelection(OutputList()), 0) << "the list shows the device in use";

  // The output still works: a file goes out on device 0.
  ASSERT_EQ(ListLines(Item(manager_, IDC_MANAGER_FILE_LIST)), std::vector<std::string>{"* one.syx"});
  SelectListLine(Item(manager_, IDC_MANAGER_FILE_LIST), 0);
  ASSERT_TRUE(WaitUntil([&] { return ItemText(manager_, IDC_MANAGER_SEND) == "Send"; }, 5000));
  ClickItem(manager_, IDC_MANAGER_SEND);
  ASSERT_TRUE(WaitForMidiEvents("out.done", 1, program_.Id()));
  EXPECT_EQ(Events("out.long").at(0).Number("dev"), 0);
  EXPECT_EQ(Events("out.long").at(0).Bytes(), message);

  // Input 1 refuses: the input's box, then input 0 is open again.
  ASSERT_TRUE(SendMidiScript(program_.Id(), "fail in.open 1 MMSYSERR_ALLOCATED"));
  ClearMidiLog();
  SelectComboLine(InputList(), 1);
  ASSERT_NO_FATAL_FAILURE(ExpectBox("Error", kInputOpenFailed));
  ASSERT_TRUE(WaitForMidiEvents("in.open", 2, program_.Id()));
  opens = Events("in.open");
  EXPECT_EQ(opens[0].Number("dev"), 1);
  EXPECT_NE(opens[0].Field("result"), "0");
  EXPECT_EQ(opens[1].Number("dev"), 0);
  EXPECT_EQ(opens[1].Field("result"), "0");
  ASSERT_TRUE(WaitForIdle(program_.Id()));
  EXPECT_FALSE(IsIconic(manager_));
  EXPECT_EQ(ComboSelection(InputList()), 0) << "the list shows the device in use";
  ExpectNoBox();

  // Received data still arrives on input 0.
  ASSERT_TRUE(Deliver(Message(20, 0x43, 2), "twenty.bin"));
  ASSERT_TRUE(WaitForLines(1));

  EndProgram();
  EXPECT_EQ(ReadDword(kUserSettings, "OutputPort"), std::optional<DWORD>(0));
  EXPECT_EQ(ReadDword(kUserSettings, "InputPort"), std::optional<DWORD>(0));
}

TEST_F(ManagerWindowMidi, EveryReturnedBufferOfDataIsAcknowledgedOnce) {
  const Bytes ack = {0xF0, 0x7E, 0x7F, 0x0C, 0x01, 0xF7};
  ASSERT_NO_FATAL_FAILURE(StoreAcknowledgement(ack));
  ASSERT_NO_FATAL_FAILURE(StartManager("inputs 1"));
  ASSERT_TRUE(WaitForIdle(program_.Id()));
  EXPECT_EQ(CheckState(Item(manager_, IDC_MANAGER_ACK)), BST_CHECKED);

  // A 10-byte message comes back in one buffer: one acknowledgement.
  ClearMidiLog();
  ASSERT_TRUE(Deliver(Message(10, 0x42, 3), "ten.bin"));
  ASSERT_TRUE(WaitForLines(1));
  ASSERT_TRUE(WaitForMidiEvents("out.done", 1, program_.Id()));
  Pause(500);
  ASSERT_EQ(Events("out.long").size(), 1u);
  EXPECT_EQ(Events("out.long")[0].Bytes(), ack);

  // 70,000 bytes fill two 32,000-byte buffers and end in a third: three.
  ClearMidiLog();
  ASSERT_TRUE(Deliver(Message(70000, 0x42, 4), "seventy.bin"));
  ASSERT_TRUE(WaitForLines(2));
  EXPECT_EQ(Received().back(), "70000 bytes [Korg]");
  ASSERT_TRUE(WaitForMidiEvents("out.done", 3, program_.Id()));
  Pause(500);
  const auto sent = Events("out.long");
  ASSERT_EQ(sent.size(), 3u);
  for (const MidiEvent& e : sent) EXPECT_EQ(e.Bytes(), ack);
  EXPECT_EQ(Events("in.longdata").size(), 3u);

  // Ack off: nothing is answered.
  Click(Item(manager_, IDC_MANAGER_ACK));
  ASSERT_TRUE(WaitUntil([&] { return CheckState(Item(manager_, IDC_MANAGER_ACK)) == BST_UNCHECKED; }, 5000));
  ClearMidiLog();
  ASSERT_TRUE(Deliver(Message(10, 0x42, 5), "ten-again.bin"));
  ASSERT_TRUE(WaitForLines(3));
  Pause(500);
  EXPECT_TRUE(Events("out.long").empty());
  ExpectNoBox();
  EndProgram();
}

TEST_F(ManagerWindowMidi, AnAcknowledgementDuringAFileSendDoesNotMoveTheSendOn) {
  const Bytes ack = {0xF0, 0x7E, 0x7F, 0x0C, 0x01, 0xF7};
  ASSERT_NO_FATAL_FAILURE(StoreAcknowledgement(ack));
  // A first block of about a second on the wire, then two short ones.
  const std::vector<Bytes> blocks = {Message(3000, 0x42, 6), Message(300, 0x42, 7),
                                     Message(20, 0x42, 8)};
  ASSERT_TRUE(WriteFileBytes(folder_ + "\\three.syx", KestrovallianFile(blocks)));
  ASSERT_NO_FATAL_FAILURE(StartManager("inputs 1\nwire-rate 3125"));
  ASSERT_TRUE(WaitForIdle(program_.Id()));
  ASSERT_EQ(ListLines(Item(manager_, IDC_MANAGER_FILE_LIST)), std::vector<std::string>{"three.syx"});

  ClearMidiLog();
  SelectListLine(Item(manager_, IDC_MANAGER_FILE_LIST), 0);
  ASSERT_TRUE(WaitUntil([&] { return ItemText(manager_, IDC_MANAGER_SEND) == "Send"; }, 5000));
  ClickItem(manager_, IDC_MANAGER_SEND);
  ASSERT_TRUE(WaitForMidiEvents("out.long", 1, program_.Id()));
  // Data arrives while the first block is on the wire: the acknowledgement
  // goes out behind it and is done just after it.
  ASSERT_TRUE(Deliver(Message(10, 0x43, 9), "during.bin"));
  ASSERT_TRUE(WaitForMidiEvents("out.done", 4, program_.Id(), 20000));
  ASSERT_TRUE(WaitForLines(1));

  const auto sent = Events("out.long");
  const auto done = Events("out.done");
  ASSERT_EQ(sent.size(), 4u);
  ASSERT_EQ(done.size(), 4u);
  EXPECT_EQ(sent[0].Bytes(), blocks[0]);
  EXPECT_EQ(sent[1].Bytes(), ack);
  EXPECT_EQ(sent[2].Bytes(), blocks[1]);
  EXPECT_EQ(sent[3].Bytes(), blocks[2]);
  // Done in the order sent (the wire takes one message after another).
  EXPECT_EQ(done[0].Number("len"), 3000);
  EXPECT_EQ(done[1].Number("len"), 6);
  EXPECT_EQ(done[2].Number("len"), 300);
  // Each block waited for its predecessor's completion and the pause; the
  // acknowledgement's completion did not send the third block early.
  EXPECT_GE(sent[2].t - done[0].t, 19.5);
  EXPECT_GE(sent[3].t - done[2].t, 19.5);
  ExpectNoBox();
  EndProgram();
}

// A message is kept whole or not at all: when the store is emptied (Clear)
// or rewritten (OK in the message editor) while a long message is still
// arriving, the rest of that message makes no entry of its own.
TEST_F(ManagerWindowMidi, AMessageCutByClearOrTheEditorLeavesNoTail) {
  ASSERT_NO_FATAL_FAILURE(StartManager("inputs 1"));
  ASSERT_TRUE(WaitForIdle(program_.Id()));
  const Bytes message = Message(40000, 0x42, 3);
  const Bytes head(message.begin(), message.begin() + 32000);
  const Bytes tail(message.begin() + 32000, message.end());
  for (const char* cut : {"Clear", "editor OK"}) {
    SCOPED_TRACE(cut);
    ClearMidiLog();
    // The first 32,000 bytes fill a buffer; the message goes on.
    ASSERT_TRUE(Deliver(head, "head.bin"));
    ASSERT_TRUE(WaitForMidiEvents("in.longdata", 1, program_.Id()));
    ASSERT_TRUE(WaitForIdle(program_.Id()));
    size_t lines = 0;
    if (std::string(cut) == "Clear") {
      ClickItem(manager_, IDC_MANAGER_CLEAR);
      ASSERT_TRUE(WaitForLines(0));
    } else {
      lines = Received().size();
      // A new message, not the selected one edited.
      SendMessageA(Item(manager_, IDC_MANAGER_MESSAGE_LIST), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
      ASSERT_TRUE(WaitUntil([&] { return ItemText(manager_, IDC_MANAGER_CREATE) == "Create"; }, 5000));
      ClickItem(manager_, IDC_MANAGER_CREATE);
      HWND editor = WaitForWindow({"#32770", "Create/Edit SysEx Message", program_.Id()}, 10000);
      ASSERT_NE(editor, nullptr);
      SetItemText(editor, 400, "F0 7D 01 F7");
      ClickItem(editor, 111);
      ASSERT_TRUE(WaitUntil([&] { return !IsWindow(editor); }, 10000));
      ASSERT_TRUE(WaitForLines(++lines));
    }
    ASSERT_TRUE(Deliver(tail, "tail.bin"));
    ASSERT_TRUE(WaitForMidiEvents("in.longdata", 2, program_.Id()));
    ASSERT_TRUE(WaitForIdle(program_.Id()));
    Pause(300);
    EXPECT_EQ(Received().size(), lines) << "no entry for the tail";
    // The next message is kept whole.
    ASSERT_TRUE(Deliver(Message(12, 0x43, 4), "next.bin"));
    ASSERT_TRUE(WaitForLines(lines + 1));
    EXPECT_EQ(Received().back(), "12 bytes [Yamaha]");
  }
  ExpectNoBox();
  EndProgram();
}

// Choosing the output entry already in use while a file goes out changes
// nothing: the device stays open and the send goes on to its last block.
TEST_F(ManagerWindowMidi, ChoosingTheOutputInUseDuringASendChangesNothing) {
  const std::vector<Bytes> blocks = {Message(3000, 0x42, 6), Message(300, 0x42, 7),
                                     Message(20, 0x42, 8)};
  ASSERT_TRUE(WriteFileBytes(folder_ + "\\three.syx", KestrovallianFile(blocks)));
  ASSERT_NO_FATAL_FAILURE(StartManager("inputs 1\noutputs 2\nwire-rate 3125"));
  ASSERT_TRUE(WaitForIdle(program_.Id()));
  ClearMidiLog();
  SelectListLine(Item(manager_, IDC_MANAGER_FILE_LIST), 0);
  ASSERT_TRUE(WaitUntil([&] { return ItemText(manager_, IDC_MANAGER_SEND) == "Send"; }, 5000));
  ClickItem(manager_, IDC_MANAGER_SEND);
  ASSERT_TRUE(WaitForMidiEvents("out.long", 1, program_.Id()));
  SelectComboLine(OutputList(), 0);
  ASSERT_TRUE(WaitForMidiEvents("out.done", 3, program_.Id(), 20000));
  Pause(300);
  const auto sent = Events("out.long");
  ASSERT_EQ(sent.size(), 3u);
  for (size_t i = 0; i < blocks.size(); ++i) EXPECT_EQ(sent[i].Bytes(), blocks[i]) << i;
  EXPECT_TRUE(Events("out.reset").empty());
  EXPECT_TRUE(Events("out.close").empty());
  EXPECT_TRUE(Events("out.open").empty());
  EXPECT_EQ(ComboSelection(OutputList()), 0);
  ExpectNoBox();
  EndProgram();
}

}  // namespace
}  // namespace qv::wine
