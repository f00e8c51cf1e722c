// The release package as a user gets it: the zip unpacked into a fresh
// prefix (the runner does that; the program folder is the unpacked
// "Quillon" folder, with the substitute winmm.dll as a simulated Korg M1
// beside it). The launcher's first start, the manager, the librarian with
// the shipped Korg M1 definition and the editor; each of the five Help
// buttons opens its page of the Help folder through a stand-in browser
// registered for .html in this prefix. The windows' pictures on the way
// are the ones the help pages and the README show.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/editor_ids.h"
#include "editor/m1_program_dump.h"
#include "librarian/librarian_ids.h"
#include "manager/manager_ids.h"
#include "tests/demo/simulated_m1.h"
#include "tests/demo/walk_through.h"
#include "tests/wine/driver/driver.h"

namespace qv::wine {
namespace {

using namespace qv::demo;

bool SetDefaultValue(const std::string& key, const std::string& value) {
  HKEY handle = nullptr;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                      nullptr) != ERROR_SUCCESS)
    return false;
  const LONG result = RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                     static_cast<DWORD>(value.size() + 1));
  RegCloseKey(handle);
  return result == ERROR_SUCCESS;
}

std::string ProductVersion(const std::string& path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size == 0) return "";
  std::vector<char> info(size);
  if (!GetFileVersionInfoA(path.c_str(), 0, size, info.data())) return "";
  char* text = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(info.data(), "\\StringFileInfo\\040904B0\\ProductVersion",
                      reinterpret_cast<void**>(&text), &length) || length == 0)
    return "";
  return std::string(text);
}

class ReleasePackage : public ::testing::Test {
 protected:
  void SetUp() override {
    // A browser that records the page instead of showing it.
    ASSERT_TRUE(SetDefaultValue(".html", "QvRecordedPage"));
    ASSERT_TRUE(SetDefaultValue(".htm", "QvRecordedPage"));
    ASSERT_TRUE(SetDefaultValue("QvRecordedPage\\shell\\open\\command",
                                std::string("\"") + QV_RECORD_OPEN + "\" \"%1\""));
  }

  // Starts `name` of the package with the simulated M1 on the MIDI ports;
  // its manager window, and the main program's process in pid.
  HWND StartWithSimulatedM1(Program& program, DWORD& pid, const char* name = "Mirelda.dat") {
    StartOptions options;
    options.program = name;
    options.fakeMidiConfig = SimulatedM1Script();
    program = Start(options);
    return program.Started() ? WaitForManager(pid) : nullptr;
  }

  std::vector<std::string> OpenedPages() {
    std::vector<std::string> pages;
    std::vector<uint8_t> bytes = ReadFileBytes(TestDir() + "\\opened-pages.txt").value_or(std::vector<uint8_t>());
    std::string line;
    for (uint8_t b : bytes) {
      if (b == '\n') {
        pages.push_back(line);
        line.clear();
      } else if (b != '\r') {
        line.push_back(static_cast<char>(b));
      }
    }
    return pages;
  }

  // Presses the Help button of window and expects the page of the Help
  // folder to be opened next.
  void ExpectHelpPage(HWND window, int helpButton, const std::string& page) {
    const size_t before = OpenedPages().size();
    ClickItem(window, helpButton);
    ASSERT_TRUE(WaitUntil([&] { return OpenedPages().size() > before; }, 15000)) << page << " was not opened";
    const std::string opened = OpenedPages().back();
    EXPECT_EQ(opened, BinDir() + "\\Help\\" + page);
    EXPECT_TRUE(FileExists(opened)) << opened;
  }
};

TEST_F(ReleasePackage, UnpackedFolderRunsEveryModuleWithTheShippedM1AndItsHelp) {
  for (const char* file : {"Mirelda.exe", "Mirelda.dat", "Korg M1.QvInstrument", "ReadNOW!.doc", "Readme.txt",
                           "Help\\index.html"})
    EXPECT_TRUE(FileExists(BinDir() + "\\" + file)) << file;
  EXPECT_EQ(ProductVersion(BinDir() + "\\Mirelda.dat"), QV_EXPECTED_VERSION);
  EXPECT_EQ(ProductVersion(BinDir() + "\\Mirelda.exe"), QV_EXPECTED_VERSION);

  // The first start, as a user starts the program.
  Program launcher;
  DWORD pid = 0;
  HWND manager = StartWithSimulatedM1(launcher, pid, "Mirelda.exe");
  ASSERT_NE(manager, nullptr) << Failure();
  // The file types name the folder the package was unpacked into.
  EXPECT_NE(ReadString("HKCR\\QuillonInstrument\\Shell\\Open\\command", "").value_or("").find(BinDir()),
            std::string::npos);
  // What the manager shows after receiving: two messages from the
  // instrument, and a file in the folder.
  const M1ProgramDump dump = PackM1Dump(SimulatedProgram(60), 1);
  const std::vector<uint8_t> dumpBytes(dump.begin(), dump.end());
  ASSERT_TRUE(SendMidiScript(pid, "deliver 0 " + HexText(dumpBytes) + "\ndeliver 0 F0 42 30 19 50 F7\n"));
  ASSERT_TRUE(WaitUntil([&] { return ListLines(Item(manager, IDC_MANAGER_MESSAGE_LIST)).size() == 2; }, 10000));
  EXPECT_EQ(ListLines(Item(manager, IDC_MANAGER_MESSAGE_LIST))[0], "170 bytes [Korg]");
  SettledScreenshot(manager, "help-manager");
  ASSERT_NO_FATAL_FAILURE(ExpectHelpPage(manager, IDC_MANAGER_HELP, "manager.html"));

  // The hexadecimal editor, with a message typed in.
  PostCommand(manager, IDC_MANAGER_CREATE);
  HWND create = WaitForWindow({"#32770", "Create/Edit SysEx Message", pid}, 10000);
  ASSERT_NE(create, nullptr);
  SetItemText(create, IDC_CREATE_HEX_TEXT, "F0 42 30 19 10 F7");
  SettledScreenshot(create, "help-hex-editor");
  ASSERT_NO_FATAL_FAILURE(ExpectHelpPage(create, IDC_CREATE_HELP, "hex-editors.html"));
  PostCommand(create, IDC_CREATE_CANCEL);
  ASSERT_TRUE(WaitForNoWindow({"#32770", "Create/Edit SysEx Message", pid}, 10000));

  // Preferences, by Ctrl+P (the key may need a second press while Wine
  // brings the window to the front).
  HWND prefs = nullptr;
  for (int attempt = 0; attempt < 3 && prefs == nullptr; ++attempt) {
    PressKey('P', true, manager);
    prefs = WaitForWindow({"#32770", "Preferences", pid}, 4000);
  }
  ASSERT_NE(prefs, nullptr);
  SettledScreenshot(prefs, "help-preferences");
  PostCommand(prefs, IDCANCEL);
  ASSERT_TRUE(WaitForNoWindow({"#32770", "Preferences", pid}, 10000));

  // The librarian through the shipped definition; its dialog's Help on the way.
  HWND librarian = EnterM1Librarian(manager, pid, [&](HWND dialog) {
    SettledScreenshot(dialog, "help-definition-dialog");
    ExpectHelpPage(dialog, IDC_DEFINITION_HELP, "definitions.html");
  });
  ASSERT_NE(librarian, nullptr) << Failure();
  EXPECT_TRUE(FileExists(BinDir() + "\\" + kFirstBankName + ".QvBank"));
  // Programs saved into the new bank under their own names.
  size_t saved = 0;
  for (int program : {3, 11, 21, 61}) {
    std::string name = SimulatedProgramName(program);
    name.erase(name.find_last_not_of(' ') + 1);
    SelectListLine(Item(librarian, IDC_LIBRARIAN_DEVICE_LIST), program);
    ASSERT_TRUE(WaitUntil([&] { return IsEnabled(Item(librarian, IDC_LIBRARIAN_SAVE)); }, 5000));
    ClickItem(librarian, IDC_LIBRARIAN_SAVE);
    ++saved;
    ASSERT_TRUE(WaitUntil(
        [&] {
          std::vector<std::string> bank = ListLines(Item(librarian, IDC_LIBRARIAN_BANK_LIST));
          if (bank.size() != saved) return false;
          for (const std::string& line : bank)
            if (line.rfind(name, 0) == 0) return true;
          return false;
        },
        15000))
        << name;
  }
  SettledScreenshot(librarian, "help-librarian");
  ASSERT_NO_FATAL_FAILURE(ExpectHelpPage(librarian, IDC_LIBRARIAN_HELP, "librarian.html"));

  // The editor.
  HWND editor = EnterM1Editor(librarian, pid);
  ASSERT_NE(editor, nullptr) << Failure();
  // A program with two oscillators, chosen as a user chooses it.
  HWND list = Item(editor, IDC_EDITOR_PROGRAM_LIST);
  SelectComboLine(list, 61);
  ASSERT_TRUE(WaitUntil([&] { return ComboSelection(list) == 61 && IsEnabled(editor); }, 10000));
  ASSERT_TRUE(WaitUntil([&] { return ItemText(editor, IDC_EDITOR_PROGRAM_LIST).rfind("61 ", 0) == 0; }, 10000));
  SettledScreenshot(editor, "help-editor");
  HWND graph = WaitForWindow({"Qv_SysexGraph", "", pid}, 5000);
  ASSERT_NE(graph, nullptr);
  // Dragged beside the editor, as a user would.
  SetWindowPos(graph, HWND_TOP, 480, 30, 420, 330, SWP_SHOWWINDOW);
  // The amplitude envelopes of both oscillators and the first cutoff
  // envelope shown, by their buttons in the margin.
  for (POINT button : {POINT{38, 214}, POINT{38, 133}, POINT{38, 52}}) {
    PostMessageA(graph, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(button.x, button.y));
    PostMessageA(graph, WM_LBUTTONUP, 0, MAKELPARAM(button.x, button.y));
    Pause(200);
  }
  SettledScreenshot(graph, "help-envelope-graph");
  ASSERT_NO_FATAL_FAILURE(ExpectHelpPage(editor, IDC_EDITOR_HELP, "editor.html"));
  PostCommand(editor, IDC_EDITOR_PAGE);
  ASSERT_TRUE(WaitUntil([&] { return ItemText(editor, IDC_EDITOR_PAGE) == "Program settings"; }, 5000));
  SettledScreenshot(editor, "help-editor-oscillators");

  // Closing the editor ends the program.
  Close(editor);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  ASSERT_NE(process, nullptr);
  EXPECT_EQ(WaitForSingleObject(process, 15000), WAIT_OBJECT_0);
  CloseHandle(process);
}

// A WinHelp file beside the program is opened at the context instead.
TEST_F(ReleasePackage, HelpFileBesideTheProgramTakesThePlaceOfThePages) {
  ASSERT_TRUE(WriteFileBytes(BinDir() + "\\Mirelda.hlp", std::vector<uint8_t>(64, 0)));
  Program program;
  DWORD pid = 0;
  HWND manager = StartWithSimulatedM1(program, pid);
  ASSERT_NE(manager, nullptr) << Failure();
  const size_t before = OpenedPages().size();
  ClickItem(manager, IDC_MANAGER_HELP);
  // The help viewer is a process of its own (Wine's viewer shows that the
  // stand-in file is no help file).
  HWND viewer = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        for (HWND w : FindWindows({"", "", 0})) {
          DWORD owner = 0;
          GetWindowThreadProcessId(w, &owner);
          if (owner != pid && owner != GetCurrentProcessId()) viewer = w;
        }
        return viewer != nullptr;
      },
      15000));
  Screenshot(viewer, "package-winhelp");
  EXPECT_EQ(OpenedPages().size(), before) << "no page opens while Mirelda.hlp is there";
  DeleteFileA((BinDir() + "\\Mirelda.hlp").c_str());
}

// Without a program for web pages, Help says which page to open.
TEST_F(ReleasePackage, HelpWithoutABrowserNamesThePage) {
  ASSERT_TRUE(SetDefaultValue(".html", "QvNothingOpensThis"));
  ASSERT_TRUE(SetDefaultValue(".htm", "QvNothingOpensThis"));
  Program program;
  DWORD pid = 0;
  HWND manager = StartWithSimulatedM1(program, pid);
  ASSERT_NE(manager, nullptr) << Failure();
  const size_t before = OpenedPages().size();
  ClickItem(manager, IDC_MANAGER_HELP);
  MessageBoxInfo box = WaitForMessageBox(pid, 15000, manager);
  ASSERT_TRUE(box);
  EXPECT_EQ(box.caption, "Help");
  EXPECT_NE(box.text.find(BinDir() + "\\Help\\manager.html"), std::string::npos) << box.text;
  ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  EXPECT_EQ(OpenedPages().size(), before);
  Close(manager);
  EXPECT_EQ(program.WaitExit(15000), 0u);
}

}  // namespace
}  // namespace qv::wine
