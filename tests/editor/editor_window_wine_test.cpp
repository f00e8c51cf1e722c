// The M1 editor window against a fake Korg M1: the fake MIDI devices answer
// each program request (a program change, then the request for the current
// program) with a 170-byte program dump made here from generated programs.
// The editor is reached as a user reaches it: manager, "Librarian",
// librarian window, "Editor".
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "editor/editor_ids.h"
#include "librarian/librarian_ids.h"
#include "manager/manager_ids.h"
#include "tests/wine/driver/driver.h"
#include "tests/wine/module_shortcuts_check.h"

// The dump packing of the M1 core, compiled into this test program so that
// the fake instrument answers with real dumps.
#include "editor/m1_program.cpp"
#include "editor/m1_program_dump.cpp"
#include "editor/seven_in_eight.cpp"
// Where the graph puts a point and what a drop there stands for.
#include "editor/envelope_graph_geometry.cpp"

namespace qv::wine {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr int kPrograms = 100;
const char kEditorTitle[] = "Korg M1 - Brindlecote Program Editor";
const char kLibrarianTitle[] = "Korg M1 - Brindlecote Program Librarian";
const char kManagerTitle[] = "Brindlecote Kestrovallian 97";
const char kNotRespondingCaption[] = "Couldn't update program list";
const char kNotRespondingText[] =
    "Your Korg M1 doesn't seem to be responding.\n\nIf you'd like to wait some more, do so. (If "
    "things start to work, the Korg's LCD display will change.)\n\nIf something else is wrong, "
    "click OK immediately; you'll be returned to the librarian. Make sure of the following:\n\n"
    "you do have a Korg M1 or M1R\nthe librarian is set up to work with its programs (not "
    "combinations)\nthe Korg is set to program mode (red light on PROG button)\nthe librarian is "
    "actually working at the moment(if not, check port settings, cables, etc)";

void PutInt(Bytes& record, size_t at, int32_t value) {
  for (int i = 0; i < 4; ++i)
    record[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
}

void PutText(Bytes& record, size_t at, const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) record[at + i] = static_cast<uint8_t>(text[i]);
}

// A definition of the M1's programs: channel 1, programs 0 to 99 of 170
// bytes, names taken from the whole answer's packed name bytes.
Bytes M1DefinitionRecord() {
  Bytes record(2048, 0);
  PutInt(record, 0, 1);
  PutInt(record, 4, 0);
  PutInt(record, 8, kPrograms - 1);
  PutInt(record, 12, 0);
  PutInt(record, 16, 170);
  PutInt(record, 20, 1);
  PutInt(record, 24, 0);
  PutText(record, 36, "C! # F0 42 3! 19 10 F7;170,0");
  PutText(record, 486, "C! # %");
  PutText(record, 936, "6 7 8 9 10 11 12 14 15 16 ");
  return record;
}

std::string NameOf(int program) {
  char name[16];
  std::snprintf(name, sizeof name, "Test %02d   ", program);
  return std::string(name, 10);
}

// Program n: its name and a few values that differ from program to program.
M1Program GeneratedProgram(int program) {
  M1Program p = BlankM1Program();
  const std::string name = NameOf(program);
  for (int i = 0; i < kM1NameLength; ++i) p[static_cast<size_t>(i)] = static_cast<uint8_t>(name[static_cast<size_t>(i)]);
  p[22] = static_cast<uint8_t>(program % 100);         // Pitch MG intensity
  p[21] = static_cast<uint8_t>((program * 7) % 100);   // Pitch MG delay
  p[86] = static_cast<uint8_t>(99 - program % 100);    // oscillator 1 amplitude
  p[92] = static_cast<uint8_t>((program * 3) % 100);   // amplitude attack time
  p[93] = 99;                                          // amplitude attack level
  p[97] = 60;                                          // amplitude sustain level
  return p;
}

Bytes Dump(const M1Program& program) {
  const M1ProgramDump dump = PackM1Dump(program, 1);
  return Bytes(dump.begin(), dump.end());
}

Bytes Request(int program) {
  return {0xC0, static_cast<uint8_t>(program), 0xF0, 0x42, 0x30, 0x19, 0x10, 0xF7};
}

// What the editor sends for program n holding p: the program change and
// the dump, as one message.
Bytes SentProgram(int program, const M1Program& p) {
  Bytes sent{0xC0, static_cast<uint8_t>(program)};
  Bytes dump = Dump(p);
  sent.insert(sent.end(), dump.begin(), dump.end());
  return sent;
}

std::string Responders() {
  std::string script;
  for (int program = 0; program < kPrograms; ++program)
    script += "respond 0 0 5 " + HexText(Request(program)) + " => " +
              HexText(Dump(GeneratedProgram(program))) + "\n";
  return script;
}

std::string Number(int value) { return std::to_string(value); }

// A picture of the window once it has painted what it was last told.
void SettledScreenshot(HWND window, const char* name) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  WaitForIdle(process);
  Pause(600);
  Screenshot(window, name);
}

class EditorWindowWine : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteKeyTree(kUserSettings);
    ASSERT_TRUE(WriteDword(kUserSettings, "ToolTips", 0));
    ASSERT_TRUE(WriteDword(kUserSettings, "ToolTipsCountdown", 0));
    ASSERT_TRUE(WriteDword(kUserSettings, "LibrarianInstrument", 0));
    ASSERT_TRUE(WriteDword(kUserSettings, "GraphX", 600));
    ASSERT_TRUE(WriteDword(kUserSettings, "GraphY", 40));
    ASSERT_TRUE(WriteDword(kUserSettings, "GraphW", 400));
    ASSERT_TRUE(WriteDword(kUserSettings, "GraphH", 300));
    ASSERT_TRUE(WriteEmpty(kUserSettings, "TitleSoundDisabled"));
    ASSERT_TRUE(WriteEmpty(kMachineSettings, "DisableExtensions"));
    for (const char* marker : {"FirstTime0", "FirstTime1", "FirstTime2"})
      ASSERT_TRUE(WriteDword(kMachineSettings, marker, 1));
    ASSERT_TRUE(WriteFileBytes(BinDir() + "\\Korg M1.QvInstrument", M1DefinitionRecord()));
    Bytes bank(32004, 0);
    PutInt(bank, 0, 170);
    ASSERT_TRUE(WriteFileBytes(BinDir() + "\\M1 programs.QvBank", bank));
  }

  // Waits for the librarian window, answering the instrument dialog with
  // OK where the manager's "Librarian" button opens it.
  HWND WaitForLibrarian() {
    HWND librarian = nullptr;
    bool answered = false;
    WaitUntil(
        [&] {
          librarian = FindTopWindow({"Qv_SysEx", kLibrarianTitle, program_.Id()});
          if (librarian != nullptr) return true;
          HWND options = FindTopWindow({"#32770", "Librarian options", program_.Id()});
          if (options != nullptr && !answered) {
            PostCommand(options, IDOK);
            answered = true;
          }
          return false;
        },
        20000);
    return librarian;
  }

  // Starts the program with the fake M1 and goes through the manager and
  // the librarian into the editor.
  void EnterEditor() {
    StartOptions options;
    options.fakeMidiConfig = Responders();
    program_ = Start(options);
    ASSERT_TRUE(program_.Started());
    HWND manager = WaitForWindow({"Qv_SysEx", kManagerTitle, program_.Id()}, 20000);
    ASSERT_NE(manager, nullptr);
    PostCommand(manager, IDC_MANAGER_LIBRARIAN);
    librarian_ = WaitForLibrarian();
    ASSERT_NE(librarian_, nullptr);
    // The librarian's entry check asks for program 0 and gets its dump.
    ASSERT_TRUE(WaitUntil(
        [&] {
          for (const MidiEvent& event : MidiEvents("in.longdata", program_.Id()))
            if (event.Number("len") == 170) return true;
          return false;
        },
        10000));
    ASSERT_TRUE(WaitUntil([&] { return IsEnabled(Item(librarian_, IDC_LIBRARIAN_EDITOR)); }, 5000));
    if (beforeEditor_) beforeEditor_();
    ClearMidiLog();
    ClickItem(librarian_, IDC_LIBRARIAN_EDITOR);
    if (answerAdvice_) answerAdvice_();
    editor_ = WaitForWindow({"Qv_SysEx", kEditorTitle, program_.Id()}, 20000);
    ASSERT_NE(editor_, nullptr);
  }

  HWND List() { return Item(editor_, IDC_EDITOR_PROGRAM_LIST); }

  bool WaitForText(int id, const std::string& text, int ms = 10000) {
    return WaitUntil([&] { return ItemText(editor_, id) == text; }, ms);
  }

  // The long messages the program sent since the log was cleared.
  std::vector<Bytes> Sent() {
    std::vector<Bytes> sent;
    for (const MidiEvent& event : MidiEvents("out.long", program_.Id())) sent.push_back(event.Bytes());
    return sent;
  }

  // Waits until the last two messages sent are the dump of p for program n
  // and the follow-up.
  bool WaitForDumpSent(int program, const M1Program& p) {
    const Bytes dump = SentProgram(program, p);
    const FollowUpBytes followUp = FollowUpMessage(1);
    const Bytes follow(followUp.begin(), followUp.end());
    return WaitUntil(
        [&] {
          std::vector<Bytes> sent = Sent();
          return sent.size() >= 2 && sent[sent.size() - 2] == dump && sent.back() == follow;
        },
        5000);
  }

  Program program_;
  HWND librarian_ = nullptr;
  HWND editor_ = nullptr;
  std::function<void()> beforeEditor_;
  std::function<void()> answerAdvice_;
};

TEST_F(EditorWindowWine, FetchesTheListShowsEditsRevertsAndClears) {
  ASSERT_NO_FATAL_FAILURE(EnterEditor());
  // The list fills with every program in order, then program 0 is fetched.
  ASSERT_TRUE(WaitUntil([&] { return ComboLines(List()).size() == kPrograms; }, 30000));
  std::vector<std::string> lines = ComboLines(List());
  for (int program = 0; program < kPrograms; ++program) {
    char expected[32];
    std::snprintf(expected, sizeof expected, "%02d %s", program, NameOf(program).c_str());
    EXPECT_EQ(lines[static_cast<size_t>(program)], expected);
  }
  ASSERT_TRUE(WaitUntil([&] { return IsEnabled(editor_); }, 5000));
  EXPECT_EQ(ComboSelection(List()), 0);
  ASSERT_TRUE(WaitForText(IDC_EDITOR_PITCH_MG_DELAY, "0"));
  // Program 0's Pitch MG intensity is 0 too; its amplitude shows on the
  // other page.
  EXPECT_EQ(ItemText(editor_, IDC_EDITOR_PITCH_MG_INTENSITY), "0");

  // Program 42: one request, its values in the boxes.
  ClearMidiLog();
  SelectComboLine(List(), 42);
  ASSERT_TRUE(WaitForText(IDC_EDITOR_PITCH_MG_INTENSITY, "42"));
  EXPECT_EQ(ItemText(editor_, IDC_EDITOR_PITCH_MG_DELAY), Number((42 * 7) % 100));
  std::vector<Bytes> sent = Sent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0], Request(42));
  EXPECT_TRUE(IsVisible(Item(editor_, IDC_EDITOR_PITCH_MG_INTENSITY)));
  EXPECT_FALSE(IsVisible(Item(editor_, IDC_EDITOR_AMP_VALUE)));
  EXPECT_EQ(ItemText(editor_, IDC_EDITOR_PAGE), "Oscillator settings");
  // Waves and mode 0: triangles and single.
  EXPECT_EQ(CheckState(Item(editor_, IDC_EDITOR_MODE_SINGLE)), BST_CHECKED);
  EXPECT_EQ(CheckState(Item(editor_, IDC_EDITOR_PITCH_MG_TRIANGLE)), BST_CHECKED);
  EXPECT_EQ(CheckState(Item(editor_, IDC_EDITOR_CUTOFF_MG_TRIANGLE)), BST_CHECKED);
  EXPECT_EQ(CheckState(Item(editor_, IDC_EDITOR_PITCH_MG_SQUARE)), BST_UNCHECKED);
  SettledScreenshot(editor_, "editor_program_page");

  // A typed value goes out at once as the whole program and the follow-up.
  ClearMidiLog();
  M1Program edited = GeneratedProgram(42);
  edited[22] = 17;
  SetItemText(editor_, IDC_EDITOR_PITCH_MG_INTENSITY, "17");
  PostCommand(editor_, IDC_EDITOR_PITCH_MG_INTENSITY, EN_KILLFOCUS,
              Item(editor_, IDC_EDITOR_PITCH_MG_INTENSITY));
  ASSERT_TRUE(WaitForDumpSent(42, edited));
  EXPECT_EQ(Sent()[0].size(), 172u);
  EXPECT_EQ(Sent()[1].size(), 10u);
  EXPECT_TRUE(FindMessageBoxes(program_.Id()).empty());

  // Revert: the program as received, sent and shown.
  Pause(250);
  ClearMidiLog();
  ClickItem(editor_, IDC_EDITOR_REVERT);
  ASSERT_TRUE(WaitForDumpSent(42, GeneratedProgram(42)));
  EXPECT_TRUE(WaitForText(IDC_EDITOR_PITCH_MG_INTENSITY, "42"));

  // Clear: a blank program, sent and shown; Revert brings program 42 back.
  Pause(250);
  ClearMidiLog();
  ClickItem(editor_, IDC_EDITOR_CLEAR);
  ASSERT_TRUE(WaitForDumpSent(42, BlankM1Program()));
  EXPECT_TRUE(WaitForText(IDC_EDITOR_PITCH_MG_INTENSITY, "0"));
  EXPECT_EQ(ItemText(editor_, IDC_EDITOR_PITCH_MG_DELAY), "0");
  Pause(250);
  ClearMidiLog();
  ClickItem(editor_, IDC_EDITOR_REVERT);
  ASSERT_TRUE(WaitForDumpSent(42, GeneratedProgram(42)));
  EXPECT_TRUE(WaitForText(IDC_EDITOR_PITCH_MG_INTENSITY, "42"));

  // The other page: the oscillator's controls, the program page's hidden.
  ClickItem(editor_, IDC_EDITOR_PAGE);
  ASSERT_TRUE(WaitForText(IDC_EDITOR_PAGE, "Program settings"));
  EXPECT_TRUE(IsVisible(Item(editor_, IDC_EDITOR_AMP_VALUE)));
  EXPECT_FALSE(IsVisible(Item(editor_, IDC_EDITOR_PITCH_MG_INTENSITY)));
  EXPECT_FALSE(IsVisible(Item(editor_, IDC_EDITOR_MODE_SINGLE)));
  EXPECT_EQ(ItemText(editor_, IDC_EDITOR_AMP_VALUE), Number(99 - 42));
  SettledScreenshot(editor_, "editor_oscillator_page");
  ClickItem(editor_, IDC_EDITOR_PAGE);
  ASSERT_TRUE(WaitForText(IDC_EDITOR_PAGE, "Oscillator settings"));
  EXPECT_TRUE(IsVisible(Item(editor_, IDC_EDITOR_PITCH_MG_INTENSITY)));
  EXPECT_FALSE(IsVisible(Item(editor_, IDC_EDITOR_AMP_VALUE)));

  // The envelope graph has come up beside the editor.
  HWND graph = WaitForWindow({"Qv_SysexGraph", "", program_.Id()}, 5000);
  ASSERT_NE(graph, nullptr);
  EXPECT_TRUE(IsVisible(graph));
  SettledScreenshot(graph, "editor_envelope_graph");

  // "Manager" ends the editor and opens the manager.
  ClickItem(editor_, IDC_EDITOR_MANAGER);
  EXPECT_NE(WaitForWindow({"Qv_SysEx", kManagerTitle, program_.Id()}, 10000), nullptr);
  EXPECT_TRUE(WaitForNoWindow({"Qv_SysexGraph", "", program_.Id()}, 5000));
  EXPECT_EQ(FindTopWindow({"Qv_SysEx", kEditorTitle, program_.Id()}), nullptr);
}

// Amplitude 1 shown: a handle dragged in the graph goes into the edit
// buffer, the editor sends the whole program with its follow-up and shows
// the new values in its boxes.
TEST_F(EditorWindowWine, GraphDragIsSentAsTheProgramAndShownInTheBoxes) {
  ASSERT_TRUE(WriteDword(kUserSettings, "GraphAmp1", 1));
  ASSERT_NO_FATAL_FAILURE(EnterEditor());
  ASSERT_TRUE(WaitUntil([&] { return ComboLines(List()).size() == kPrograms; }, 30000));
  ASSERT_TRUE(WaitUntil([&] { return IsEnabled(editor_); }, 5000));
  ASSERT_TRUE(WaitForText(IDC_EDITOR_PITCH_MG_DELAY, "0"));
  SelectComboLine(List(), 42);
  ASSERT_TRUE(WaitForText(IDC_EDITOR_PITCH_MG_INTENSITY, "42"));
  EXPECT_EQ(ItemText(editor_, IDC_EDITOR_AMP_ATTACK_TIME), Number((42 * 3) % 100));

  HWND graph = WaitForWindow({"Qv_SysexGraph", "", program_.Id()}, 5000);
  ASSERT_NE(graph, nullptr);
  SettledScreenshot(graph, "editor_envelope_graph_amp1");
  RECT client{};
  GetClientRect(graph, &client);
  const GraphLayout layout =
      MakeGraphLayout(client.right, client.bottom, GetSystemMetrics(SM_CYHSCROLL));
  // Program 42's attack ends at level 99, on the top edge; nothing scrolls.
  const int attack_time = (42 * 3) % 100;
  const POINT p1{LeftX(attack_time), UnipolarY(layout, 99)};
  const POINT to{kGraphMargin + 50, layout.plot_height / 2};

  ClearMidiLog();
  PostMessageA(graph, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p1.x + 1, p1.y + 1));
  PostMessageA(graph, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
  PostMessageA(graph, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));

  M1Program edited = GeneratedProgram(42);
  const int time = TimeIndexForPixels(to.x - kGraphMargin);
  const int level = UnipolarLevelAt(layout, to.y);
  edited[92] = static_cast<uint8_t>(time);
  edited[93] = static_cast<uint8_t>(level);
  ASSERT_NE(time, attack_time);
  ASSERT_TRUE(WaitForDumpSent(42, edited));
  EXPECT_EQ(Sent().size(), 2u);
  EXPECT_TRUE(WaitForText(IDC_EDITOR_AMP_ATTACK_TIME, Number(time)));
  EXPECT_EQ(ItemText(editor_, IDC_EDITOR_AMP_ATTACK_LEVEL), Number(level));
  EXPECT_TRUE(FindMessageBoxes(program_.Id()).empty());
  SettledScreenshot(graph, "editor_envelope_graph_dragged");

  // A press on "Pitch" of oscillator 1 shows that envelope too; closing the
  // editor ends the program, which keeps both choices in the settings.
  PostMessageA(graph, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, layout.RowTop(2) + 3));
  PostMessageA(graph, WM_LBUTTONUP, 0, MAKELPARAM(20, layout.RowTop(2) + 3));
  SettledScreenshot(graph, "editor_envelope_graph_pitch1");
  Close(editor_);
  EXPECT_EQ(program_.WaitExit(10000), 0u);
  EXPECT_EQ(ReadDword(kUserSettings, "GraphAmp1"), 1u);
  EXPECT_EQ(ReadDword(kUserSettings, "GraphPitch1"), 1u);
  EXPECT_EQ(ReadDword(kUserSettings, "GraphCutoff1"), 0u);
}

TEST_F(EditorWindowWine, InstrumentProgramChangesNameEditingAndSendSpacing) {
  ASSERT_NO_FATAL_FAILURE(EnterEditor());
  ASSERT_TRUE(WaitUntil([&] { return ComboLines(List()).size() == kPrograms; }, 30000));
  ASSERT_TRUE(WaitUntil([&] { return IsEnabled(editor_); }, 5000));
  ASSERT_TRUE(WaitForText(IDC_EDITOR_PITCH_MG_DELAY, "0"));

  // A program change on another channel is ignored; on channel 1 it
  // selects the program and fetches it.
  Pause(300);
  ClearMidiLog();
  ASSERT_TRUE(SendMidiScript(program_.Id(), "deliver 0 C1 07"));
  Pause(500);
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(ComboSelection(List()), 0);
  ASSERT_TRUE(SendMidiScript(program_.Id(), "deliver 0 C0 07"));
  ASSERT_TRUE(WaitForText(IDC_EDITOR_PITCH_MG_INTENSITY, "7"));
  EXPECT_EQ(ComboSelection(List()), 7);
  std::vector<Bytes> sent = Sent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0], Request(7));

  // An eleventh name character typed in the list's edit field is cut off
  // again; the name goes into the program and out to the instrument.
  Pause(300);
  ClearMidiLog();
  HWND field = GetWindow(List(), GW_CHILD);
  ASSERT_NE(field, nullptr);
  SetText(field, "07 Test 07Z   ");
  PostCommand(editor_, IDC_EDITOR_PROGRAM_LIST, CBN_EDITCHANGE, List());
  M1Program renamed = GeneratedProgram(7);
  const std::string name = "Test 07Z  ";
  for (int i = 0; i < kM1NameLength; ++i) renamed[static_cast<size_t>(i)] = static_cast<uint8_t>(name[static_cast<size_t>(i)]);
  ASSERT_TRUE(WaitForDumpSent(7, renamed));
  EXPECT_TRUE(WaitUntil([&] { return Text(field) == "07 Test 07Z  "; }, 5000));
  EXPECT_EQ(ComboLines(List())[7], "07 Test 07Z  ");

  // Three changes within 200 ms: the first at once, the other two as one
  // dump of the latest program. A loaded machine can stretch the three
  // changes past the 200 ms; such a burst proves nothing and is tried again.
  M1Program changed = renamed;
  changed[22] = 13;
  double burstMs = 0;
  for (int attempt = 0; attempt < 3; ++attempt) {
    Pause(300);
    ClearMidiLog();
    const double start = ClockMs();
    for (int value : {11, 12, 13}) {
      SetItemText(editor_, IDC_EDITOR_PITCH_MG_INTENSITY, Number(value));
    }
    burstMs = ClockMs() - start;
    ASSERT_TRUE(WaitForDumpSent(7, changed));
    Pause(500);
    if (burstMs < 100) break;
  }
  ASSERT_LT(burstMs, 100.0) << "the machine never gave three changes within 100 ms";
  sent = Sent();
  ASSERT_EQ(sent.size(), 4u);
  M1Program first = renamed;
  first[22] = 11;
  EXPECT_EQ(sent[0], SentProgram(7, first));
  EXPECT_EQ(sent[2], SentProgram(7, changed));
  std::vector<MidiEvent> longs = MidiEvents("out.long", program_.Id());
  EXPECT_GE(longs[2].t - longs[0].t, 150.0);
}

// The KT/VS indicators beside the envelope times: a click on a half is
// stored in the program's segment switches and sent at once with its
// follow-up; the indicator keeps the new state after the refresh.
TEST_F(EditorWindowWine, IndicatorClicksAreStoredAndSent) {
  ASSERT_NO_FATAL_FAILURE(EnterEditor());
  ASSERT_TRUE(WaitUntil([&] { return ComboLines(List()).size() == kPrograms; }, 30000));
  ASSERT_TRUE(WaitUntil([&] { return IsEnabled(editor_); }, 5000));
  ASSERT_TRUE(WaitForText(IDC_EDITOR_PITCH_MG_DELAY, "0"));
  SelectComboLine(List(), 42);
  ASSERT_TRUE(WaitForText(IDC_EDITOR_PITCH_MG_INTENSITY, "42"));
  ClickItem(editor_, IDC_EDITOR_PAGE);
  ASSERT_TRUE(WaitForText(IDC_EDITOR_PAGE, "Program settings"));

  // Upper half of the amplitude attack indicator: keyboard tracking of the
  // attack (byte 101, bit 0) becomes positive.
  HWND attack = Item(editor_, IDC_EDITOR_AMP_ATTACK_TRACK);
  ASSERT_NE(attack, nullptr);
  ASSERT_TRUE(IsVisible(attack));
  RECT box{};
  GetClientRect(attack, &box);
  Pause(250);
  ClearMidiLog();
  PostMessageA(attack, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(box.right / 2, 0));
  PostMessageA(attack, WM_LBUTTONUP, 0, MAKELPARAM(box.right / 2, 0));
  M1Program edited = GeneratedProgram(42);
  edited[101] = 0x01;
  ASSERT_TRUE(WaitForDumpSent(42, edited));
  EXPECT_EQ(Sent().size(), 2u);

  // Lower half of the cutoff decay indicator: velocity of the decay (byte
  // 100, bit 1) becomes positive, then negative (bits 1 and 5).
  HWND decay = Item(editor_, IDC_EDITOR_CUTOFF_DECAY_TRACK);
  ASSERT_NE(decay, nullptr);
  GetClientRect(decay, &box);
  for (uint8_t expected : {uint8_t{0x02}, uint8_t{0x22}}) {
    Pause(250);
    ClearMidiLog();
    PostMessageA(decay, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(box.right / 2, box.bottom - 1));
    PostMessageA(decay, WM_LBUTTONUP, 0, MAKELPARAM(box.right / 2, box.bottom - 1));
    edited[100] = expected;
    ASSERT_TRUE(WaitForDumpSent(42, edited)) << int(expected);
  }
  // The indicators show what the program holds after the refresh.
  EXPECT_EQ(SendMessageA(attack, 1125, 0, 0), 1);
  EXPECT_EQ(SendMessageA(decay, 1126, 0, 0), 0x11);
  EXPECT_EQ(SendMessageA(decay, 1125, 0, 0), 0);
  EXPECT_TRUE(FindMessageBoxes(program_.Id()).empty());
  SettledScreenshot(editor_, "editor_indicators_clicked");
}

TEST_F(EditorWindowWine, CtrlPAndCtrlUOpenTheirDialogs) {
  ASSERT_NO_FATAL_FAILURE(EnterEditor());
  ASSERT_TRUE(WaitUntil([&] { return ComboLines(List()).size() == kPrograms; }, 30000));
  ASSERT_TRUE(WaitUntil([&] { return IsEnabled(editor_); }, 5000));
  Pause(700);
  ASSERT_NO_FATAL_FAILURE(ExpectModuleShortcuts(program_, editor_));
  Close(editor_);
  EXPECT_EQ(program_.WaitExit(10000), 0u);
}

TEST_F(EditorWindowWine, FirstEntryAdviceThenCloseEndsTheProgram) {
  ASSERT_TRUE(DeleteValue(kMachineSettings, "FirstTime2"));
  answerAdvice_ = [&] {
    MessageBoxInfo box = WaitForMessageBox(program_.Id(), 10000);
    ASSERT_TRUE(box);
    EXPECT_EQ(box.caption, "New user information");
    EXPECT_EQ(box.text.rfind("This seems to be the first time you've tried to enter the editor", 0), 0u);
    ASSERT_TRUE(AnswerMessageBox(box, IDYES));
  };
  ASSERT_NO_FATAL_FAILURE(EnterEditor());
  EXPECT_TRUE(ValueExists(kMachineSettings, "FirstTime2"));
  ASSERT_TRUE(WaitUntil([&] { return ComboLines(List()).size() == kPrograms; }, 30000));
  ASSERT_TRUE(WaitUntil([&] { return IsEnabled(editor_); }, 5000));
  // Closing the editor's window ends the program.
  Close(editor_);
  EXPECT_EQ(program_.WaitExit(10000), 0u);
}

TEST_F(EditorWindowWine, LibrarianButtonGoesBackToTheLibrarian) {
  ASSERT_NO_FATAL_FAILURE(EnterEditor());
  ASSERT_TRUE(WaitUntil([&] { return ComboLines(List()).size() == kPrograms; }, 30000));
  ASSERT_TRUE(WaitUntil([&] { return IsEnabled(editor_); }, 5000));
  ClickItem(editor_, IDC_EDITOR_LIBRARIAN);
  EXPECT_NE(WaitForWindow({"Qv_SysEx", kLibrarianTitle, program_.Id()}, 10000), nullptr);
  EXPECT_TRUE(WaitForNoWindow({"Qv_SysEx", kEditorTitle, program_.Id()}, 5000));
}

TEST_F(EditorWindowWine, SilentInstrumentIsReportedAndLeadsBackToTheLibrarian) {
  // The instrument answers the librarian, then falls silent.
  beforeEditor_ = [&] { SendMidiScript(program_.Id(), "unrespond"); };
  ASSERT_NO_FATAL_FAILURE(EnterEditor());
  MessageBoxInfo box = WaitForMessageBox(program_.Id(), 10000);
  ASSERT_TRUE(box);
  EXPECT_EQ(box.caption, kNotRespondingCaption);
  EXPECT_EQ(box.text, kNotRespondingText);
  Screenshot(nullptr, "editor_not_responding");
  ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  EXPECT_NE(WaitForWindow({"Qv_SysEx", kLibrarianTitle, program_.Id()}, 10000), nullptr);
  EXPECT_TRUE(WaitForNoWindow({"Qv_SysEx", kEditorTitle, program_.Id()}, 5000));
  // Only program 0 was asked for.
  std::vector<Bytes> sent = Sent();
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent[0], Request(0));
  for (const Bytes& message : sent) EXPECT_NE(message, Request(1));
}

}  // namespace
}  // namespace qv::wine
