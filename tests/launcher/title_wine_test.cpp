// The launcher Mirelda.exe under Wine: when it shows its title window and
// when not, the window's place and size, the markers and Ctrl, the command
// line it passes on, and how the main program's module window closes it.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "manager/manager_ids.h"
#include "tests/wine/driver/driver.h"

namespace qv::wine {
namespace {

constexpr int kClientWidth = 501;
constexpr int kClientHeight = 334;
const char kLoaderClass[] = "Qv_Loader";
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);

// Settings of a user who has run the program before: no welcome, no
// tooltip message, no file-type question.
void SettingsOfAnOldHand() {
  DeleteKeyTree(kUserSettings);
  ASSERT_TRUE(WriteDword(kUserSettings, "ToolTips", 0));
  ASSERT_TRUE(WriteDword(kUserSettings, "ToolTipsCountdown", 0));
  ASSERT_TRUE(WriteEmpty(kUserSettings, "TitleSoundDisabled"));
  ASSERT_TRUE(WriteEmpty(kMachineSettings, "DisableExtensions"));
}

DWORD ProcessOf(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return pid;
}

// Ends a process the test did not start itself (the main program started
// by the launcher) and waits for it to be gone.
void EndProcess(DWORD pid) {
  HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
  if (process == nullptr) return;
  TerminateProcess(process, 0);
  WaitForSingleObject(process, 5000);
  CloseHandle(process);
}

// A module window of a process other than `notPid`, once it shows.
HWND MainProgramModuleWindow(DWORD notPid, int timeoutMs = 20000) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND w : FindWindows({"Qv_SysEx", "", 0})) {
          if (ProcessOf(w) != notPid) {
            found = w;
            return true;
          }
        }
        return false;
      },
      timeoutMs);
  return found;
}

// The colour at a point of the window's client area, read from the screen.
COLORREF ClientPixel(HWND window, int x, int y) {
  POINT p = {x, y};
  ClientToScreen(window, &p);
  HDC screen = GetDC(nullptr);
  COLORREF colour = GetPixel(screen, p.x, p.y);
  ReleaseDC(nullptr, screen);
  return colour;
}

// Which markers are red: "RWW" has the manager's marked.
std::string MarkerColours(HWND window) {
  std::string result;
  for (int left : {0, 125, 250}) {
    COLORREF c = ClientPixel(window, left + 2, 316);
    result += c == kRed ? 'R' : c == kWhite ? 'W' : '?';
  }
  return result;
}

bool WaitForMarkers(HWND window, const std::string& expected, int timeoutMs = 3000) {
  return WaitUntil([&] { return MarkerColours(window) == expected; }, timeoutMs);
}

// A folder of its own with Mirelda.exe and the stand-in main program as
// Mirelda.dat, which writes its command line to commandline.txt.
class LauncherWithProbe : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = TestDir() + "\\probe";
    CreateDirectoryA(folder_.c_str(), nullptr);
    stop_ = CreateEventA(nullptr, TRUE, FALSE, "QvLauncherProbeStop");
    ASSERT_NE(stop_, nullptr);
    ResetEvent(stop_);
    // A stand-in of the previous test may still be on its way out and hold
    // its file for a moment.
    ASSERT_TRUE(WaitUntil(
        [&] {
          return CopyFileA((BinDir() + "\\Mirelda.exe").c_str(), (folder_ + "\\Mirelda.exe").c_str(), FALSE) &&
                 CopyFileA(QV_LAUNCHER_PROBE, (folder_ + "\\Mirelda.dat").c_str(), FALSE);
        },
        10000));
    DeleteFileA(RecordPath().c_str());
  }
  void TearDown() override {
    StopProbe();
    if (stop_ != nullptr) CloseHandle(stop_);
    DeleteKeyTree(kUserSettings);
  }

  std::string RecordPath() const { return folder_ + "\\commandline.txt"; }
  std::string PidPath() const { return folder_ + "\\probe.pid"; }

  void StartLauncher(const std::string& tail, bool probeEndsAtOnce = false) {
    StopProbe();
    DeleteFileA(RecordPath().c_str());
    StartOptions options;
    options.program = folder_ + "\\Mirelda.exe";
    options.arguments = tail;
    options.workingDir = folder_;
    if (probeEndsAtOnce) options.environment["QV_PROBE_EXIT"] = "1";
    launcher_ = Start(options);
    ASSERT_TRUE(launcher_.Started());
    probeStarted_ = !probeEndsAtOnce;
  }

  // Ends the waiting stand-in main program of the last start, if any.
  void StopProbe() {
    if (!probeStarted_) return;
    probeStarted_ = false;
    std::string pid;
    WaitUntil(
        [&] {
          auto bytes = ReadFileBytes(PidPath());
          if (bytes && !bytes->empty()) pid.assign(bytes->begin(), bytes->end());
          return !pid.empty();
        },
        5000);
    HANDLE process = pid.empty() ? nullptr : OpenProcess(SYNCHRONIZE, FALSE, std::stoul(pid));
    SetEvent(stop_);
    if (process != nullptr) {
      WaitForSingleObject(process, 5000);
      CloseHandle(process);
    }
    ResetEvent(stop_);
    DeleteFileA(PidPath().c_str());
  }

  // The command line the stand-in main program was given.
  std::string RecordedCommandLine(int timeoutMs = 10000) {
    std::string text;
    WaitUntil(
        [&] {
          auto bytes = ReadFileBytes(RecordPath());
          if (!bytes || bytes->empty()) return false;
          text.assign(bytes->begin(), bytes->end());
          return true;
        },
        timeoutMs);
    return text;
  }

  HWND TitleWindow() { return WaitForWindow({kLoaderClass, "", launcher_.Id()}, 20000); }

  void CloseTitleWindow(HWND title) {
    Close(title);
    EXPECT_EQ(launcher_.WaitExit(10000), 0u);
  }

  std::string folder_;
  Program launcher_;
  HANDLE stop_ = nullptr;
  bool probeStarted_ = false;
};

TEST(Launcher, WithoutSettingsItStartsTheMainProgramAtOnceAndShowsNothing) {
  DeleteKeyTree(kUserSettings);
  StartOptions options;
  options.program = "Mirelda.exe";
  Program launcher = Start(options);
  ASSERT_TRUE(launcher.Started());
  bool titleSeen = false;
  std::optional<DWORD> code;
  WaitUntil(
      [&] {
        if (!FindWindows({kLoaderClass, "", launcher.Id(), false}).empty()) titleSeen = true;
        code = launcher.WaitExit(0);
        return code.has_value();
      },
      15000);
  EXPECT_EQ(code, std::optional<DWORD>(0u));
  EXPECT_FALSE(titleSeen);
  // The main program runs on: a first run greets the new user before its
  // manager window opens.
  MessageBoxInfo welcome;
  HWND module = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        for (HWND w : FindWindows({"#32770", "", 0})) {
          DWORD pid = ProcessOf(w);
          if (pid == launcher.Id()) continue;
          for (const MessageBoxInfo& box : FindMessageBoxes(pid)) {
            if (box.caption == "New user information") welcome = box;
          }
        }
        module = MainProgramModuleWindow(launcher.Id(), 0);
        return welcome || module;
      },
      20000))
      << "the main program never showed itself";
  DWORD mainPid = welcome ? ProcessOf(welcome.window) : ProcessOf(module);
  EXPECT_NE(mainPid, launcher.Id());
  EndProcess(mainPid);
}

TEST(Launcher, TitlePictureTurnedOffStartsTheMainProgramAtOnce) {
  ASSERT_NO_FATAL_FAILURE(SettingsOfAnOldHand());
  ASSERT_TRUE(WriteEmpty(kUserSettings, "TitleGraphicTurnedOff"));
  StartOptions options;
  options.program = "Mirelda.exe";
  Program launcher = Start(options);
  ASSERT_TRUE(launcher.Started());
  EXPECT_EQ(launcher.WaitExit(15000), std::optional<DWORD>(0u));
  HWND module = MainProgramModuleWindow(launcher.Id());
  ASSERT_NE(module, nullptr);
  EXPECT_TRUE(FindWindows({kLoaderClass, "", 0, false}).empty());
  DWORD mainPid = ProcessOf(module);
  Close(module);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, mainPid);
  if (process) {
    EXPECT_EQ(WaitForSingleObject(process, 15000), WAIT_OBJECT_0);
    CloseHandle(process);
  }
}

// A user whose folders have letters the code page lacks (a Russian name on
// a Western system): the launcher starts the main program from such a
// folder, and the main program keeps what it receives in such a temporary
// folder. Both are reached by their short names.
TEST(Launcher, FoldersTheCodePageCannotHoldAreReachedByTheirShortNames) {
  ASSERT_NO_FATAL_FAILURE(SettingsOfAnOldHand());
  ASSERT_TRUE(WriteEmpty(kUserSettings, "TitleGraphicTurnedOff"));
  ASSERT_TRUE(WriteDword(kUserSettings, "InputPort", 0));
  const std::string folder = TestDir() + "\\Программа";
  const std::string temp = TestDir() + "\\Временное";
  CreateDirectoryW(Wide(folder).c_str(), nullptr);
  CreateDirectoryW(Wide(temp).c_str(), nullptr);
  for (const char* name : {"Mirelda.exe", "Mirelda.dat", "winmm.dll"}) {
    ASSERT_TRUE(CopyFileW(Wide(BinDir() + "\\" + name).c_str(), Wide(folder + "\\" + name).c_str(), FALSE))
        << name;
  }
  StartOptions options;
  options.program = folder + "\\Mirelda.exe";
  options.workingDir = folder;
  options.environment["TEMP"] = temp;
  options.environment["TMP"] = temp;
  Program launcher = Start(options);
  ASSERT_TRUE(launcher.Started());
  // The main program shows its manager window, or a box that says why not.
  HWND module = nullptr;
  MessageBoxInfo box;
  WaitUntil(
      [&] {
        for (HWND w : FindWindows({"#32770", "", 0})) {
          if (ProcessOf(w) == launcher.Id()) continue;
          for (const MessageBoxInfo& found : FindMessageBoxes(ProcessOf(w))) box = found;
        }
        module = MainProgramModuleWindow(launcher.Id(), 0);
        return box || module;
      },
      20000);
  if (box) {
    EndProcess(ProcessOf(box.window));
    FAIL() << box.caption << ": " << box.text;
  }
  ASSERT_NE(module, nullptr) << "the launcher did not start the main program";
  const DWORD mainPid = ProcessOf(module);
  WaitForIdle(mainPid, 10000);

  ASSERT_TRUE(SendMidiScript(mainPid, "deliver 0 F0 42 30 12 F7"));
  HWND list = GetDlgItem(module, IDC_MANAGER_MESSAGE_LIST);
  EXPECT_TRUE(WaitUntil([&] { return ListLines(list) == std::vector<std::string>{"5 bytes [Korg]"}; }, 10000));
  EXPECT_EQ(ReadFileBytes(temp + "\\~temp.syx"), std::optional<std::vector<uint8_t>>({0xF0, 0x42, 0x30, 0x12, 0xF7}));
  EXPECT_TRUE(FindMessageBoxes(mainPid).empty());
  Close(module);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, mainPid);
  if (process) {
    EXPECT_EQ(WaitForSingleObject(process, 15000), WAIT_OBJECT_0);
    CloseHandle(process);
  }
  // The store's files go with the program.
  EXPECT_FALSE(FileExists(temp + "\\~temp.syx"));
}

TEST(Launcher, TitleWindowShowsUntilTheModuleWindowHasPaintedThenTheLauncherEnds) {
  ASSERT_NO_FATAL_FAILURE(SettingsOfAnOldHand());
  StartOptions options;
  options.program = "Mirelda.exe";
  Program launcher = Start(options);
  ASSERT_TRUE(launcher.Started());
  HWND title = WaitForWindow({kLoaderClass, "", launcher.Id()}, 20000);
  ASSERT_NE(title, nullptr);

  EXPECT_EQ(ClassName(title), kLoaderClass);
  EXPECT_EQ(Text(title), "");
  RECT client = {};
  GetClientRect(title, &client);
  EXPECT_EQ(client.right - client.left, kClientWidth);
  EXPECT_EQ(client.bottom - client.top, kClientHeight);
  LONG style = GetWindowLongW(title, GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_TRUE(style & WS_DLGFRAME);
  EXPECT_NE(style & WS_CAPTION, WS_CAPTION) << "no caption";
  EXPECT_TRUE(GetWindowLongW(title, GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT outer = {};
  GetWindowRect(title, &outer);
  int width = outer.right - outer.left, height = outer.bottom - outer.top;
  EXPECT_EQ(width, kClientWidth + 2 * GetSystemMetrics(SM_CXDLGFRAME));
  EXPECT_EQ(height, kClientHeight + 2 * GetSystemMetrics(SM_CYDLGFRAME));
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);

  // The main program comes up and closes the title window once its module
  // window has painted; the launcher then ends and the main program runs on.
  HWND module = MainProgramModuleWindow(launcher.Id());
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(launcher.WaitExit(15000), std::optional<DWORD>(0u));
  EXPECT_FALSE(IsWindow(title));
  EXPECT_TRUE(IsWindow(module));
  EXPECT_TRUE(IsWindowVisible(module));
  DWORD mainPid = ProcessOf(module);
  Close(module);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, mainPid);
  if (process) {
    EXPECT_EQ(WaitForSingleObject(process, 15000), WAIT_OBJECT_0);
    CloseHandle(process);
  }
}

TEST_F(LauncherWithProbe, PassesAnEmptyTailOnAsThePathAndOneBlank) {
  ASSERT_NO_FATAL_FAILURE(SettingsOfAnOldHand());
  ASSERT_NO_FATAL_FAILURE(StartLauncher(""));
  HWND title = TitleWindow();
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(RecordedCommandLine(), folder_ + "\\Mirelda.dat ");
  // No module window comes: the title window stays and keeps looking
  // until someone closes it.
  Pause(500);
  EXPECT_TRUE(IsWindowVisible(title));
  EXPECT_TRUE(launcher_.Running());
  CloseTitleWindow(title);
}

TEST_F(LauncherWithProbe, PassesTheTailOnUnchanged) {
  // Letters beyond the code page too ("Ā" has the look-alike "A"): the main
  // program gets them as they are, to refuse them by their own rule.
  const std::string tails[] = {"/bankfile C:\\Some Folder\\My  Bank.QvBank", "/send x.syx", "plain words  ",
                               "/bankfile C:\\Bänke\\Ānna Флейта.QvBank"};
  for (const std::string& tail : tails) {
    SCOPED_TRACE(tail);
    // Shown title and started at once alike.
    for (bool settings : {true, false}) {
      DeleteFileA(RecordPath().c_str());
      if (settings) {
        ASSERT_NO_FATAL_FAILURE(SettingsOfAnOldHand());
      } else {
        DeleteKeyTree(kUserSettings);
      }
      ASSERT_NO_FATAL_FAILURE(StartLauncher(tail));
      EXPECT_EQ(RecordedCommandLine(), folder_ + "\\Mirelda.dat " + tail) << "settings " << settings;
      if (settings) {
        HWND title = TitleWindow();
        ASSERT_NE(title, nullptr);
        CloseTitleWindow(title);
      } else {
        EXPECT_EQ(launcher_.WaitExit(10000), std::optional<DWORD>(0u));
      }
    }
  }
}

TEST_F(LauncherWithProbe, ATitleFlagTooLongToReadCountsAsAbsent) {
  ASSERT_NO_FATAL_FAILURE(SettingsOfAnOldHand());
  ASSERT_TRUE(WriteBinary(kUserSettings, "TitleGraphicTurnedOff", std::vector<uint8_t>(8, 1)));
  ASSERT_NO_FATAL_FAILURE(StartLauncher(""));
  HWND title = TitleWindow();
  ASSERT_NE(title, nullptr);
  CloseTitleWindow(title);

  ASSERT_TRUE(WriteBinary(kUserSettings, "TitleGraphicTurnedOff", {1, 0, 0, 0}));
  ASSERT_NO_FATAL_FAILURE(StartLauncher(""));
  EXPECT_EQ(launcher_.WaitExit(10000), std::optional<DWORD>(0u));
  EXPECT_EQ(RecordedCommandLine(), folder_ + "\\Mirelda.dat ");
  EXPECT_TRUE(FindWindows({kLoaderClass, "", launcher_.Id(), false}).empty());
}

// A window of the main program's module class in the test process, which
// records the announcements it gets.
TEST_F(LauncherWithProbe, AMainProgramThatEndsWithoutAModuleWindowTakesTheTitleWindowAlong) {
  ASSERT_NO_FATAL_FAILURE(SettingsOfAnOldHand());
  ASSERT_NO_FATAL_FAILURE(StartLauncher("/librarian C:\\Nowhere\\Missing.QvInstrument", true));
  HWND title = WaitForWindow({kLoaderClass, "", launcher_.Id(), false}, 20000);
  ASSERT_NE(title, nullptr);
  EXPECT_FALSE(RecordedCommandLine().empty());
  EXPECT_EQ(launcher_.WaitExit(10000), std::optional<DWORD>(0u));
  EXPECT_FALSE(IsWindow(title));
}

struct AnnouncedMessage {
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<AnnouncedMessage> announcements;

LRESULT CALLBACK ModuleStandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER + 7845) announcements.push_back({wParam, lParam});
  return DefWindowProcW(window, message, wParam, lParam);
}

// Runs the test thread's messages while waiting.
bool PumpUntil(const std::function<bool()>& condition, int timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    if (condition()) return true;
    if (static_cast<int>(GetTickCount() - start) > timeoutMs) return false;
    Sleep(10);
  }
}

TEST_F(LauncherWithProbe, AnnouncesItselfOnceToTheModuleWindowAndWaitsToBeClosed) {
  ASSERT_NO_FATAL_FAILURE(SettingsOfAnOldHand());
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = ModuleStandInProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"Qv_SysX3";
  RegisterClassW(&windowClass);
  announcements.clear();
  ASSERT_NO_FATAL_FAILURE(StartLauncher("/bankfile x.QvBank"));
  HWND title = TitleWindow();
  ASSERT_NE(title, nullptr);
  ASSERT_FALSE(RecordedCommandLine().empty());
  // The launcher keeps looking until a module window turns up.
  Pause(400);
  HWND module = CreateWindowW(L"Qv_SysX3", L"stand-in", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(module, nullptr);
  ASSERT_TRUE(PumpUntil([] { return !announcements.empty(); }, 5000)) << "no announcement";
  EXPECT_EQ(announcements[0].wParam, reinterpret_cast<WPARAM>(title));
  EXPECT_EQ(announcements[0].lParam, 0);
  // Announced once: the timer has stopped. The title window waits.
  PumpUntil([] { return false; }, 600);
  EXPECT_EQ(announcements.size(), 1u);
  EXPECT_TRUE(IsWindowVisible(title));
  EXPECT_TRUE(launcher_.Running());
  SendMessageW(title, WM_CLOSE, 0, 0);
  EXPECT_EQ(launcher_.WaitExit(10000), std::optional<DWORD>(0u));
  EXPECT_FALSE(IsWindow(title));
  DestroyWindow(module);
}

// The markers follow the key messages. Under Wine the key message that
// SendInput makes does not always find the new key state in the program's
// asynchronous state yet; when the markers have not moved after a while,
// the key message that a held or released key sends next is posted.
void FollowKey(HWND title, UINT message, const std::string& expected) {
  if (WaitForMarkers(title, expected, 1000)) return;
  PostMessageW(title, message, VK_CONTROL, message == WM_KEYDOWN ? 0x40000001 : 0xC0000001);
}

struct MarkerCase {
  const char* what;
  std::string tail;
  std::string file;  // a definition file made for the case, or none
  const char* marked;
  const char* markedWithCtrl;
};

// The editor is marked exactly when the main program will load an M1
// definition: the file at the path the tail names, wherever it lies.
TEST_F(LauncherWithProbe, MarkersShowTheModuleAndFollowCtrl) {
  const std::string elsewhere = TestDir() + "\\elsewhere";
  CreateDirectoryA(elsewhere.c_str(), nullptr);
  const MarkerCase cases[] = {
      {"ordinary start", "", "", "RWW", "WRW"},
      {"bank file", "/bankfile C:\\Banks\\Strings.QvBank", "", "WRW", "RWW"},
      {"M1 definition at its path outside the current folder",
       "/librarian " + elsewhere + "\\Korg M1.QvInstrument", elsewhere + "\\Korg M1.QvInstrument",
       "WRW", "WWR"},
      {"other definition", "/librarian " + elsewhere + "\\Yamaha DX7.QvInstrument",
       elsewhere + "\\Yamaha DX7.QvInstrument", "WRW", "RWW"},
      {"M1 definition named in the current folder", "/librarian Korg M1R.QvInstrument",
       folder_ + "\\Korg M1R.QvInstrument", "WRW", "WWR"},
      {"M1 name only in the current folder, the named path missing",
       "/librarian C:\\Elsewhere\\Korg M1.QvInstrument", folder_ + "\\Korg M1.QvInstrument", "WRW",
       "RWW"},
  };
  ASSERT_NO_FATAL_FAILURE(SettingsOfAnOldHand());
  for (const MarkerCase& c : cases) {
    SCOPED_TRACE(c.what);
    if (!c.file.empty()) { ASSERT_TRUE(WriteFileBytes(c.file, std::vector<uint8_t>(2048, 0))); }
    ASSERT_NO_FATAL_FAILURE(StartLauncher(c.tail));
    HWND title = TitleWindow();
    ASSERT_NE(title, nullptr);
    ASSERT_FALSE(RecordedCommandLine().empty()) << "started after the first paint";
    EXPECT_TRUE(WaitForMarkers(title, c.marked)) << "markers " << MarkerColours(title);
    {
      CtrlHeld ctrl(title);
      FollowKey(title, WM_KEYDOWN, c.markedWithCtrl);
      EXPECT_TRUE(WaitForMarkers(title, c.markedWithCtrl)) << "with Ctrl: " << MarkerColours(title);
      if (c.file == elsewhere + "\\Korg M1.QvInstrument") Screenshot(title, "launcher_title_ctrl_m1");
    }
    FollowKey(title, WM_KEYUP, c.marked);
    EXPECT_TRUE(WaitForMarkers(title, c.marked)) << "Ctrl released: " << MarkerColours(title);
    if (c.tail.empty()) Screenshot(title, "launcher_title");
    CloseTitleWindow(title);
    if (!c.file.empty()) DeleteFileA(c.file.c_str());
    DeleteFileA(RecordPath().c_str());
  }
}

TEST_F(LauncherWithProbe, PictureFillsTheClientAreaWithTheMarkersOnTop) {
  ASSERT_NO_FATAL_FAILURE(SettingsOfAnOldHand());
  ASSERT_NO_FATAL_FAILURE(StartLauncher(""));
  HWND title = TitleWindow();
  ASSERT_NE(title, nullptr);
  ASSERT_TRUE(WaitForMarkers(title, "RWW"));
  // The picture reaches the right and bottom edges of the client area: the
  // foot band is dark there, not the white or black of an empty window.
  for (POINT p : {POINT{kClientWidth - 1, kClientHeight - 1}, POINT{kClientWidth - 1, 0},
                  POINT{0, 0}, POINT{300, kClientHeight - 1}}) {
    COLORREF c = ClientPixel(title, p.x, p.y);
    int sum = GetRValue(c) + GetGValue(c) + GetBValue(c);
    EXPECT_GT(sum, 0) << p.x << "," << p.y;
    EXPECT_LT(sum, 3 * 200) << p.x << "," << p.y;
  }
  // The foot's rule in gold runs across the whole width.
  COLORREF rule = ClientPixel(title, kClientWidth - 1, 295);
  EXPECT_GT(GetRValue(rule), GetBValue(rule) + 60);
  CloseTitleWindow(title);
}

}  // namespace
}  // namespace qv::wine
