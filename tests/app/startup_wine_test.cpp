// The main program's start and end under Wine: the module loop, the
// start-up sound, the store's temporary files, the launcher's window and the
// trace.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "librarian/librarian_ids.h"
#include "manager/manager_ids.h"
#include "tests/wine/driver/driver.h"

namespace qv::wine {
namespace {

constexpr UINT kLoaderAnnounce = WM_USER + 7845;
const char kManagerTitle[] = "Brindlecote Kestrovallian 97";
const char kLibrarianTitleEnd[] = " - Brindlecote Program Librarian";

// Settings of a user who has run the program before: no welcome, no
// tooltip message, no file-type question.
void SettingsOfAnOldHand(bool sound) {
  DeleteKeyTree(kUserSettings);
  ASSERT_TRUE(WriteDword(kUserSettings, "ToolTips", 0));
  ASSERT_TRUE(WriteDword(kUserSettings, "ToolTipsCountdown", 0));
  ASSERT_TRUE(WriteEmpty(kMachineSettings, "DisableExtensions"));
  // Has entered every module before: no first-use advice on the way, and
  // has chosen the Korg M1 definition, so the librarian is entered at once.
  for (const char* marker : {"FirstTime0", "FirstTime1", "FirstTime2"}) {
    ASSERT_TRUE(WriteDword(kMachineSettings, marker, 1));
  }
  ASSERT_TRUE(WriteDword(kUserSettings, "LibrarianInstrument", 0));
  if (!sound) {
    ASSERT_TRUE(WriteEmpty(kUserSettings, "TitleSoundDisabled"));
  }
}

void PutInt(std::vector<uint8_t>& record, size_t at, int32_t value) {
  for (int i = 0; i < 4; ++i) record[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
}

void PutText(std::vector<uint8_t>& record, size_t at, const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) record[at + i] = static_cast<uint8_t>(text[i]);
}

// The only definition in the program folder, describing a Korg M1, and an
// empty bank of its program size.
void KorgM1DefinitionAndBank() {
  std::vector<uint8_t> record(2048, 0);
  PutInt(record, 0, 1);    // channel
  PutInt(record, 4, 0);    // lowest program
  PutInt(record, 8, 99);   // highest program
  PutInt(record, 16, 170); // program size
  PutInt(record, 20, 1);   // name extraction
  PutText(record, 36, "C! # F0 42 3! 19 10 F7;170,0");
  PutText(record, 486, "C! # %");
  PutText(record, 936, "6 7 8 9 10 11 12 14 15 16 ");
  ASSERT_TRUE(WriteFileBytes(BinDir() + "\\Korg M1.QvInstrument", record));
  std::vector<uint8_t> bank(32004, 0);
  PutInt(bank, 0, 170);
  ASSERT_TRUE(WriteFileBytes(BinDir() + "\\Korg M1.QvBank", bank));
}

// A Korg M1 on the fake ports: every program request is answered with a
// program dump.
std::string KorgM1Answers() {
  std::vector<uint8_t> dump(5 + 164 + 1, 0);
  const uint8_t head[] = {0xF0, 0x42, 0x30, 0x19, 0x40};
  for (size_t i = 0; i < sizeof head; ++i) dump[i] = head[i];
  dump.back() = 0xF7;
  return "respond 0 0 20 C0 ?? F0 42 30 19 10 F7 => " + HexText(dump) + "\n";
}

HWND ModuleWindow(DWORD pid, int timeoutMs = 20000) {
  return WaitForWindow({"Qv_SysEx", "", pid}, timeoutMs);
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

class Startup : public ::testing::Test {
 protected:
  void Begin(bool sound = false, const std::string& arguments = "") {
    ASSERT_NO_FATAL_FAILURE(SettingsOfAnOldHand(sound));
    ASSERT_NO_FATAL_FAILURE(KorgM1DefinitionAndBank());
    StartOptions options;
    options.arguments = arguments;
    options.fakeMidiConfig = KorgM1Answers();
    program_ = Start(options);
    ASSERT_TRUE(program_.Started());
  }
  // The librarian's window, once it shows; none after 20 s.
  HWND LibrarianWindow() {
    HWND librarian = nullptr;
    bool shown = WaitUntil(
        [&] {
          librarian = FindTopWindow({"Qv_SysEx", "", program_.Id()});
          return librarian && EndsWith(Text(librarian), kLibrarianTitleEnd);
        },
        20000);
    return shown ? librarian : nullptr;
  }
  Program program_;
};

TEST_F(Startup, ModuleEndingWithTwoIsFollowedByTheLibrarianAndZeroEndsTheProgram) {
  ASSERT_NO_FATAL_FAILURE(Begin());
  HWND manager = ModuleWindow(program_.Id());
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(Text(manager), kManagerTitle);
  PostCommand(manager, IDC_MANAGER_LIBRARIAN);
  HWND librarian = LibrarianWindow();
  ASSERT_NE(librarian, nullptr) << "no librarian window after the manager ended with 2";
  EXPECT_FALSE(IsWindow(manager)) << "only one module window at a time";
  EXPECT_EQ(FindWindows({"Qv_SysEx", "", program_.Id()}).size(), 1u);
  Close(librarian);
  EXPECT_EQ(program_.WaitExit(15000), 0u);
}

TEST_F(Startup, EachModuleWindowShowsAndLooksRight) {
  ASSERT_NO_FATAL_FAILURE(Begin());
  HWND manager = ModuleWindow(program_.Id());
  ASSERT_NE(manager, nullptr);
  Pause(700);
  EXPECT_FALSE(Screenshot(manager, "module_manager").empty());
  PostCommand(manager, IDC_MANAGER_LIBRARIAN);
  HWND librarian = LibrarianWindow();
  ASSERT_NE(librarian, nullptr);
  Pause(700);
  EXPECT_FALSE(Screenshot(librarian, "module_librarian").empty());
  PostCommand(librarian, IDC_LIBRARIAN_EDITOR);
  HWND editor = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        editor = FindTopWindow({"Qv_SysEx", "Korg M1 - Brindlecote Program Editor", program_.Id()});
        return editor != nullptr;
      },
      20000));
  Pause(1500);
  for (const MessageBoxInfo& box : FindMessageBoxes(program_.Id()))
    ADD_FAILURE() << "unexpected box \"" << box.caption << "\": " << box.text;
  EXPECT_FALSE(Screenshot(editor, "module_editor").empty());
  Screenshot(nullptr, "module_editor_screen");
  Close(editor);
  EXPECT_EQ(program_.WaitExit(15000), 0u);
}

TEST_F(Startup, StoreFilesAreGoneAfterANormalExit) {
  // Left over from an earlier run that did not end normally.
  std::string data = TempDir() + "~temp.syx", lengths = TempDir() + "~temp.lst";
  ASSERT_TRUE(WriteFileBytes(data, {0xF0, 0x7E, 0xF7}));
  ASSERT_TRUE(WriteFileBytes(lengths, {3, 0, 0, 0}));
  ASSERT_NO_FATAL_FAILURE(Begin());
  HWND manager = ModuleWindow(program_.Id());
  ASSERT_NE(manager, nullptr);
  Close(manager);
  ASSERT_EQ(program_.WaitExit(15000), 0u);
  EXPECT_FALSE(FileExists(data));
  EXPECT_FALSE(FileExists(lengths));
}

// A second start while the first holds received messages (a .syx file
// double-clicked in Explorer starts one): each keeps its store in files of
// its own, and neither the second one's start nor its end touches the
// first one's messages.
TEST_F(Startup, ASecondProgramKeepsItsStoreApartFromTheFirst) {
  const std::vector<uint8_t> kept = {0xF0, 0x42, 0x30, 0x12, 0xF7};
  const std::vector<uint8_t> other = {0xF0, 0x43, 0x10, 0x00, 0xF7};
  const std::string data = TempDir() + "~temp.syx", lengths = TempDir() + "~temp.lst";
  ASSERT_NO_FATAL_FAILURE(Begin());
  HWND first = ModuleWindow(program_.Id());
  ASSERT_NE(first, nullptr);
  ASSERT_TRUE(WaitForIdle(program_.Id()));
  ASSERT_TRUE(SendMidiScript(program_.Id(), "deliver 0 F0 42 30 12 F7"));
  HWND firstList = GetDlgItem(first, IDC_MANAGER_MESSAGE_LIST);
  ASSERT_TRUE(WaitUntil([&] { return ListLines(firstList).size() == 1; }, 10000));
  ASSERT_EQ(ReadFileBytes(data), std::optional<std::vector<uint8_t>>(kept));

  Program second = Start(StartOptions{});
  ASSERT_TRUE(second.Started());
  HWND secondWindow = ModuleWindow(second.Id());
  ASSERT_NE(secondWindow, nullptr);
  ASSERT_TRUE(WaitForIdle(second.Id()));
  EXPECT_EQ(ReadFileBytes(data), std::optional<std::vector<uint8_t>>(kept))
      << "the second start emptied the first one's store";
  ASSERT_TRUE(SendMidiScript(second.Id(), "deliver 0 F0 43 10 00 F7"));
  HWND secondList = GetDlgItem(secondWindow, IDC_MANAGER_MESSAGE_LIST);
  ASSERT_TRUE(WaitUntil([&] { return ListLines(secondList).size() == 1; }, 10000));
  EXPECT_EQ(ReadFileBytes(TempDir() + "~temp1.syx"), std::optional<std::vector<uint8_t>>(other));
  EXPECT_EQ(ReadFileBytes(data), std::optional<std::vector<uint8_t>>(kept));
  Close(secondWindow);
  ASSERT_EQ(second.WaitExit(15000), 0u);
  EXPECT_FALSE(FileExists(TempDir() + "~temp1.syx"));
  EXPECT_EQ(ReadFileBytes(data), std::optional<std::vector<uint8_t>>(kept))
      << "the second one's end removed the first one's store";
  EXPECT_EQ(ReadFileBytes(lengths), std::optional<std::vector<uint8_t>>({5, 0, 0, 0}));

  // The first goes on with its messages.
  EXPECT_EQ(ListLines(firstList), std::vector<std::string>{"5 bytes [Korg]"});
  Close(first);
  ASSERT_EQ(program_.WaitExit(15000), 0u);
  EXPECT_FALSE(FileExists(data));
}

TEST_F(Startup, StartUpSoundPlaysOnceUnlessDisabled) {
  // Only the presence of TitleSoundDisabled counts, whatever its type, as
  // long as its data fits in four bytes; a longer value counts as absent.
  struct Case {
    const char* what;
    std::optional<std::vector<uint8_t>> flag;  // nothing: absent
    size_t plays;
  } cases[] = {
      {"absent", std::nullopt, 1},
      {"present without data", std::vector<uint8_t>{}, 0},
      {"present with four bytes", std::vector<uint8_t>{1, 0, 0, 0}, 0},
      {"present with eight bytes", std::vector<uint8_t>(8, 1), 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("TitleSoundDisabled ") + c.what);
    ASSERT_NO_FATAL_FAILURE(SettingsOfAnOldHand(true));
    if (c.flag) {
      ASSERT_TRUE(WriteBinary(kUserSettings, "TitleSoundDisabled", *c.flag));
    }
    program_ = Start(StartOptions{});
    ASSERT_TRUE(program_.Started());
    HWND manager = ModuleWindow(program_.Id());
    ASSERT_NE(manager, nullptr);
    Close(manager);
    ASSERT_EQ(program_.WaitExit(15000), 0u);
    auto plays = MidiEvents("sound.play", program_.Id());
    ASSERT_EQ(plays.size(), c.plays);
    if (c.plays) {
      EXPECT_EQ(plays[0].Field("api"), "sndPlaySoundA");
      EXPECT_TRUE(plays[0].Number("flags") & SND_MEMORY) << "played from memory";
      EXPECT_TRUE(plays[0].Number("flags") & SND_ASYNC) << "played without waiting";
      EXPECT_GT(plays[0].Number("size"), 44) << "a whole wave image";
      auto head = plays[0].Bytes("head");
      ASSERT_GE(head.size(), 12u);
      EXPECT_EQ(std::string(head.begin(), head.begin() + 4), "RIFF");
      EXPECT_EQ(std::string(head.begin() + 8, head.begin() + 12), "WAVE");
    }
  }
}

TEST_F(Startup, AnnouncedLoaderWindowIsClosedAtAPaintNotAtTheAnnouncement) {
  LoaderStandIn loader;
  ASSERT_TRUE(IsWindow(loader.Window()));
  ASSERT_NO_FATAL_FAILURE(Begin());
  HWND manager = ModuleWindow(program_.Id());
  ASSERT_NE(manager, nullptr);
  // Not announced: an ordinary start leaves a window of that class alone.
  // By now the window has painted and its start-up timer has stopped.
  Pause(1200);
  EXPECT_EQ(loader.CloseCount(), 0);
  PostMessageW(manager, kLoaderAnnounce, reinterpret_cast<WPARAM>(loader.Window()), 0);
  // Nothing needs painting: the announcement alone closes nothing.
  Pause(1000);
  EXPECT_EQ(loader.CloseCount(), 0) << "closed without a paint";
  double invalidatedAt = ClockMs();
  InvalidateRect(manager, nullptr, FALSE);
  ASSERT_TRUE(loader.WaitClosed(5000));
  EXPECT_EQ(loader.CloseCount(), 1);
  EXPECT_GE(loader.ClosedAtMs(), invalidatedAt) << "closed by the paint";
  EXPECT_TRUE(IsWindowVisible(manager));
  Close(manager);
  EXPECT_EQ(program_.WaitExit(15000), 0u);
}

TEST_F(Startup, LoaderWindowAnnouncedWhileTheModuleWindowIsBuiltIsClosedOnceItShows) {
  // As the launcher does: look for the module window from the moment the
  // program starts (hidden windows too) and announce at once.
  LoaderStandIn loader;
  ASSERT_NO_FATAL_FAILURE(Begin());
  HWND found = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        std::vector<HWND> windows = FindWindows({"Qv_SysEx", "", program_.Id(), false});
        if (windows.empty()) return false;
        found = windows[0];
        PostMessageW(found, kLoaderAnnounce, reinterpret_cast<WPARAM>(loader.Window()), 0);
        return true;
      },
      20000));
  ASSERT_TRUE(loader.WaitClosed(10000)) << "the title window stays up after the module window showed";
  EXPECT_EQ(loader.CloseCount(), 1);
  EXPECT_TRUE(IsWindowVisible(found)) << "closed before the module window showed";
  Close(found);
  EXPECT_EQ(program_.WaitExit(15000), 0u);
}

TEST_F(Startup, TraceLinesOfTheCommandLineSendReachNotepad) {
  std::string file = TestDir() + "\\two messages.syx";
  ASSERT_TRUE(WriteFileBytes(file, {0xF0, 0x43, 0x10, 0xF7, 0xF0, 0x41, 0x10, 0x20, 0xF7}));
  NotepadStandIn notepad;
  ASSERT_NO_FATAL_FAILURE(Begin(true, "/send " + file));
  // The send form shows no window; a module window means the program does
  // not read its command line yet.
  WaitUntil([&] { return !program_.Running() || FindTopWindow({"Qv_SysEx", "", program_.Id()}); }, 20000);
  if (program_.Running() && FindTopWindow({"Qv_SysEx", "", program_.Id()}))
    GTEST_SKIP() << "the command-line forms are not in the program yet: /send opened a module window";
  std::optional<DWORD> exit = program_.WaitExit(5000);
  ASSERT_TRUE(exit) << "the send form did not end";
  EXPECT_EQ(*exit, 0u);
  EXPECT_EQ(MidiEvents("sound.play", program_.Id()).size(), 0u) << "the send form plays no sound";
  // A file in the standard layout goes out whole, as one long message.
  auto sent = MidiEvents("out.long", program_.Id());
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].Bytes(), (std::vector<uint8_t>{0xF0, 0x43, 0x10, 0xF7, 0xF0, 0x41, 0x10, 0x20, 0xF7}));
  std::string typed;
  WaitUntil([&] { return (typed = notepad.Typed()).find("Finished\r") != std::string::npos; }, 3000);
  EXPECT_EQ(typed.rfind("Sending\r", 0), 0u) << typed;
  EXPECT_NE(typed.find("Waiting\r"), std::string::npos) << typed;
  EXPECT_NE(typed.find("Finished\r"), std::string::npos) << typed;
  size_t bangs = 0;
  for (char ch : typed) bangs += ch == '!';
  EXPECT_EQ(bangs, 1u) << "one \"!\" per completion: " << typed;
}

}  // namespace
}  // namespace qv::wine
