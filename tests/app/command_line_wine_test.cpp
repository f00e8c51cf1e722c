// The command-line forms of Mirelda.dat under Wine: the send form with no
// window and no sound, and the error messages of the instrument and bank
// forms.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/wine/driver/driver.h"

namespace qv::wine {
namespace {

constexpr char kLibrarianTitleEnd[] = " - Brindlecote Program Librarian";

void AppendNumber(std::vector<uint8_t>& bytes, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A file in the current Kestrovallian layout holding the messages.
std::vector<uint8_t> KestrovallianFile(const std::vector<std::vector<uint8_t>>& messages) {
  std::vector<uint8_t> file;
  for (char c : std::string("Kestrovallian+")) file.push_back(static_cast<uint8_t>(c));
  std::vector<uint8_t> name(100, 0);
  std::memcpy(name.data(), "three", 5);
  file.insert(file.end(), name.begin(), name.end());
  AppendNumber(file, static_cast<uint32_t>(messages.size()), 2);
  for (const auto& m : messages) AppendNumber(file, static_cast<uint32_t>(m.size()), 4);
  for (const auto& m : messages) file.insert(file.end(), m.begin(), m.end());
  return file;
}

class CommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteKeyTree(kUserSettings);
    ASSERT_TRUE(WriteDword(kUserSettings, "ToolTips", 0));
    ASSERT_TRUE(WriteDword(kUserSettings, "ToolTipsCountdown", 0));
    ASSERT_TRUE(WriteEmpty(kMachineSettings, "DisableExtensions"));
    ASSERT_TRUE(WriteDword(kMachineSettings, "FirstTime1", 1));
  }
  void TearDown() override {
    if (program_.Running()) program_.Kill();
    for (const std::string& path : made_) DeleteFileA(path.c_str());
  }
  void Begin(const std::string& arguments) {
    StartOptions options;
    options.arguments = arguments;
    program_ = Start(options);
    ASSERT_TRUE(program_.Started());
  }
  std::string Make(const std::string& path, const std::vector<uint8_t>& bytes) {
    EXPECT_TRUE(WriteFileBytes(path, bytes));
    made_.push_back(path);
    return path;
  }
  // The one box of a command-line error, answered; then the process ends
  // with 0 and no module window was shown.
  void ExpectCommandLineError(const std::string& text) {
    MessageBoxInfo box = WaitForMessageBox(program_.Id(), 20000);
    ASSERT_TRUE(box) << "no box \"" << text << "\"";
    EXPECT_EQ(box.caption, "Command line error");
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.owner, nullptr) << "the box has no owner";
    EXPECT_TRUE(FindWindows({"Qv_SysEx", "", program_.Id(), false}).empty());
    ASSERT_TRUE(AnswerMessageBox(box, IDOK));
    EXPECT_EQ(program_.WaitExit(10000), 0u);
  }
  Program program_;
  std::vector<std::string> made_;
};

TEST_F(CommandLine, SendFormSendsEachMessageOfAKestrovallianFileWithoutWindowOrSound) {
  const std::vector<std::vector<uint8_t>> messages = {
      {0xF0, 0x43, 0x10, 0x01, 0xF7}, {0xF0, 0x41, 0x10, 0x20, 0x30, 0xF7}, {0xF0, 0x7E, 0xF7}};
  std::string file = Make(TestDir() + "\\three in a row.syx", KestrovallianFile(messages));
  ASSERT_NO_FATAL_FAILURE(Begin("/send " + file));
  std::optional<DWORD> exit = program_.WaitExit(20000);
  ASSERT_TRUE(exit) << "the send form did not end";
  EXPECT_EQ(*exit, 0u);
  auto sent = MidiEvents("out.long", program_.Id());
  ASSERT_EQ(sent.size(), 3u);
  for (size_t i = 0; i < sent.size(); ++i) EXPECT_EQ(sent[i].Bytes(), messages[i]) << i;
  EXPECT_EQ(MidiEvents("out.open", program_.Id()).at(0).Field("callback"), "function");
  EXPECT_EQ(MidiEvents("out.close", program_.Id()).size(), 1u);
  EXPECT_TRUE(MidiEvents("sound.play", program_.Id()).empty()) << "no start-up sound";
  EXPECT_TRUE(MidiEvents("in.open", program_.Id()).empty()) << "no module window opened the input";
}

TEST_F(CommandLine, MissingInstrumentFileEndsTheProgramWithItsMessage) {
  ASSERT_NO_FATAL_FAILURE(Begin("/librarian " + TestDir() + "\\No such one.QvInstrument"));
  ASSERT_NO_FATAL_FAILURE(ExpectCommandLineError("Specified instrument file was not found."));
}

TEST_F(CommandLine, InstrumentSwitchWithoutAFileIsAMissingFile) {
  ASSERT_NO_FATAL_FAILURE(Begin("/librarian"));
  ASSERT_NO_FATAL_FAILURE(ExpectCommandLineError("Specified instrument file was not found."));
}

TEST_F(CommandLine, InstrumentFileOutsideTheProgramFolderEntersTheLibrarian) {
  std::vector<uint8_t> record(2048, 0);
  record[0] = 2;     // channel
  record[8] = 9;     // highest program
  record[16] = 100;  // program size
  std::memcpy(record.data() + 36, "F0 41 # F7", 10);
  std::memcpy(record.data() + 486, "F0 41 % F7", 10);
  std::string file = Make(TestDir() + "\\Roland D50.QvInstrument", record);
  // An empty bank of the definition's program size for the librarian to open.
  std::vector<uint8_t> bank(4 + 32000, 0);
  bank[0] = 100;
  Make(BinDir() + "\\Command line test.QvBank", bank);
  ASSERT_NO_FATAL_FAILURE(Begin("/librarian " + file));
  HWND librarian = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        librarian = FindTopWindow({"Qv_SysEx", "", program_.Id()});
        return librarian != nullptr && Text(librarian) == std::string("Roland D50") + kLibrarianTitleEnd;
      },
      20000))
      << (librarian ? Text(librarian) : "no window");
  Close(librarian);
  EXPECT_EQ(program_.WaitExit(15000), 0u);
}

TEST_F(CommandLine, BankFileOutsideTheProgramFolderIsNotFoundAndClosesTheTitleWindow) {
  std::string bank = Make(TestDir() + "\\Elsewhere.QvBank", {0xAA, 0, 0, 0});
  LoaderStandIn loader;
  ASSERT_NO_FATAL_FAILURE(Begin("/bankfile " + bank));
  MessageBoxInfo box = WaitForMessageBox(program_.Id(), 20000);
  ASSERT_TRUE(box);
  EXPECT_EQ(loader.CloseCount(), 1) << "the title window goes before the message";
  EXPECT_EQ(box.caption, "Command line error");
  EXPECT_EQ(box.text,
            "Specified bank file was not found; you must keep these files in the same folder as "
            "Mirelda.exe.");
  ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  EXPECT_EQ(program_.WaitExit(10000), 0u);
}

TEST_F(CommandLine, BankWithoutAFittingInstrumentEndsWithItsMessage) {
  std::string bank = Make(BinDir() + "\\Odd size.QvBank", {0x39, 0x30, 0, 0});
  ASSERT_NO_FATAL_FAILURE(Begin("/bankfile " + bank));
  ASSERT_NO_FATAL_FAILURE(ExpectCommandLineError(
      "Can't find an instrument that matches specified bank file. Be sure you have an instrument "
      "definition for the instrument used to create the bank file."));
}

}  // namespace
}  // namespace qv::wine
