// The manager and the librarian under Wine, set against minimal Win32
// programs doing the same work in the same run: receiving SysEx through the
// virtual driver (which waits for a queued buffer instead of dropping, so
// the rate is how fast a program gives its buffers back), filling long
// lists, and starting up. Run by scripts/bench through the Wine test runner;
// prints one table row per work (tab-separated): work, Quillon, reference,
// ratio, goal, verdict. Every row also checks the bytes and the lines.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "librarian/librarian_ids.h"
#include "manager/manager_ids.h"
#include "tests/bench/bench_names.h"
#include "tests/wine/driver/driver.h"

namespace qv::wine {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr char kReceiverClass[] = "QvReferenceReceiver";
constexpr char kListClass[] = "QvReferenceList";

void Row(const std::string& work, const std::string& quillon, const std::string& reference,
         double ratio, const std::string& goal, bool met, const std::string& problem) {
  char r[32];
  std::snprintf(r, sizeof r, "%.2f", ratio);
  const std::string verdict = !problem.empty() ? "FAIL (" + problem + ")" : met ? "pass" : "FAIL";
  std::printf("%s\t%s\t%s\t%s\t%s\t%s\n", work.c_str(), quillon.c_str(), reference.c_str(), r,
              goal.c_str(), verdict.c_str());
  std::fflush(stdout);
}

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// Polls without the driver's 20 ms step: short works are measured too.
bool PollUntil(const std::function<bool()>& condition, int timeoutMs) {
  const double end = ClockMs() + timeoutMs;
  while (ClockMs() < end) {
    if (condition()) return true;
    Sleep(1);
  }
  return condition();
}

// Waits while the program is busy: a sent message is answered only when it
// is back in its message loop.
LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, 0, SMTO_NORMAL, 120000, &result)) return -1;
  return static_cast<LRESULT>(result);
}

int ListCount(HWND list) { return static_cast<int>(Ask(list, LB_GETCOUNT)); }

void PrepareSettings() {
  DeleteKeyTree(kUserSettings);
  WriteDword(kUserSettings, "InputPort", 0);
  WriteDword(kUserSettings, "OutputPort", 0);
  WriteDword(kUserSettings, "ToolTips", 0);
  WriteDword(kUserSettings, "ToolTipsCountdown", 0);
  WriteEmpty(kUserSettings, "DisableExtensions");
  WriteEmpty(kUserSettings, "TitleSoundDisabled");
  WriteEmpty(kMachineSettings, "DisableExtensions");
  WriteDword(kMachineSettings, "FirstTime0", 1);
  WriteDword(kMachineSettings, "FirstTime1", 1);
}

std::string ReferencePath(const char* built) {
  // Beside the fake winmm.dll, so that the reference programs load it.
  std::string name = built;
  name = name.substr(name.find_last_of("\\/") + 1);
  const std::string target = BinDir() + "\\" + name;
  CopyFileA(built, target.c_str(), FALSE);
  return target;
}

// The time from the first delivery to the last buffer given back, in
// seconds, from the fake driver's log; and whether input was ever dropped.
double DeliveryWindowSeconds(DWORD pid, bool& dropped) {
  double first = -1, last = -1;
  dropped = false;
  for (const MidiEvent& e : ReadMidiLog(pid)) {
    if (e.event == "in.deliver" && first < 0) first = e.t;
    if (e.event == "in.addbuffer" && first >= 0) last = e.t;
    if (e.event == "in.nobuffer" || e.event == "in.dropped") dropped = true;
  }
  return first < 0 || last < first ? -1 : (last - first) / 1000.0;
}

HWND StartManager(Program& program, const std::string& workingDir = "") {
  StartOptions options;
  options.fakeMidiConfig = "input-wait on\n";
  options.workingDir = workingDir;
  program = Start(options);
  if (!program.Started()) return nullptr;
  HWND manager = WaitForWindow({"Qv_SysEx", "", program.Id()}, 30000);
  if (manager != nullptr) WaitForIdle(program.Id(), 30000);
  return manager;
}

void EndProgram(Program& program, HWND window) {
  if (window != nullptr) Close(window);
  if (!program.WaitExit(30000)) program.Kill();
}

// ---- Receiving ----------------------------------------------------------

Bytes Message(std::size_t length, int seed) {
  Bytes m(length);
  for (std::size_t i = 0; i < length; ++i) m[i] = static_cast<std::uint8_t>((i * 3 + seed) & 0x7F);
  m.front() = 0xF0;
  m[1] = 0x42;
  m.back() = 0xF7;
  return m;
}

struct Received {
  double rate = -1;  // messages or bytes a second
  std::string problem;
};

Received ReceiveInManager(const std::vector<Bytes>& messages, const std::string& file, bool bytesRate) {
  Received out;
  Bytes all;
  Bytes lengths;
  std::vector<std::string> lines;
  for (const Bytes& m : messages) {
    all.insert(all.end(), m.begin(), m.end());
    for (int shift = 0; shift < 32; shift += 8) lengths.push_back(static_cast<std::uint8_t>(m.size() >> shift));
    lines.push_back(std::to_string(m.size()) + " bytes [Korg]");
  }
  Program program;
  HWND manager = StartManager(program);
  if (manager == nullptr) {
    out.problem = "no window";
    return out;
  }
  HWND list = Item(manager, IDC_MANAGER_MESSAGE_LIST);
  ClearMidiLog();
  SendMidiScript(program.Id(), "deliver-file 0 " + file);
  const int n = static_cast<int>(messages.size());
  if (!PollUntil([&] { return ListCount(list) >= n; }, 600000)) out.problem = "list incomplete";
  WaitForIdle(program.Id(), 30000);
  bool dropped = false;
  const double seconds = DeliveryWindowSeconds(program.Id(), dropped);
  if (seconds > 0) out.rate = (bytesRate ? static_cast<double>(all.size()) : n) / seconds;
  if (dropped) out.problem = "input dropped";
  if (out.problem.empty() && ListLines(list) != lines) out.problem = "list lines";
  if (out.problem.empty() && ReadFileBytes(TempDir() + "~temp.syx") != all) out.problem = "store bytes";
  if (out.problem.empty() && ReadFileBytes(TempDir() + "~temp.lst") != lengths) out.problem = "store lengths";
  EndProgram(program, manager);
  return out;
}

Received ReceiveInReference(const std::vector<Bytes>& messages, const std::string& file, bool bytesRate) {
  Received out;
  std::size_t total = 0;
  for (const Bytes& m : messages) total += m.size();
  StartOptions options;
  options.program = ReferencePath(QV_REFERENCE_RECEIVER);
  options.fakeMidiConfig = "input-wait on\n";
  Program program = Start(options);
  HWND window = WaitForWindow({kReceiverClass, "", program.Id()}, 30000);
  if (window == nullptr) {
    out.problem = "no reference window";
    return out;
  }
  WaitForIdle(program.Id(), 30000);
  ClearMidiLog();
  SendMidiScript(program.Id(), "deliver-file 0 " + file);
  const LRESULT n = static_cast<LRESULT>(messages.size());
  if (!PollUntil([&] { return Ask(window, bench::kAskMessages) >= n; }, 600000)) out.problem = "incomplete";
  bool dropped = false;
  const double seconds = DeliveryWindowSeconds(program.Id(), dropped);
  if (seconds > 0) out.rate = (bytesRate ? static_cast<double>(total) : static_cast<double>(n)) / seconds;
  if (dropped) out.problem = "input dropped";
  if (Ask(window, bench::kAskBytes) != static_cast<LRESULT>(total)) out.problem = "reference bytes";
  EndProgram(program, window);
  return out;
}

void ReceiveBench(const std::string& work, std::size_t count, std::size_t length, double goal,
                  bool bytesRate) {
  std::vector<Bytes> messages;
  Bytes all;
  for (std::size_t i = 0; i < count; ++i) {
    messages.push_back(Message(length, static_cast<int>(i)));
    all.insert(all.end(), messages.back().begin(), messages.back().end());
  }
  const std::string file = TestDir() + "\\burst-" + std::to_string(count) + ".bin";
  WriteFileBytes(file, all);
  const Received quillon = ReceiveInManager(messages, file, bytesRate);
  const Received reference = ReceiveInReference(messages, file, bytesRate);
  const double ratio = quillon.rate / reference.rate;
  const char* format = bytesRate ? "%.1f MB/s" : "%.0f msg/s";
  const double scale = bytesRate ? 1e-6 : 1;
  Row(work, Format(format, quillon.rate * scale), Format(format, reference.rate * scale), ratio,
      Format(">= %.1f", goal), ratio >= goal,
      !quillon.problem.empty() ? quillon.problem : reference.problem);
}

// ---- Long lists -----------------------------------------------------------

Bytes KestrovallianFile(int count, const Bytes& message) {
  const std::string magic = "Kestrovallian+";
  Bytes out(magic.begin(), magic.end());
  out.resize(out.size() + 100, 0);
  out.push_back(static_cast<std::uint8_t>(count & 0xFF));
  out.push_back(static_cast<std::uint8_t>(count >> 8));
  for (int i = 0; i < count; ++i) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(message.size() >> shift));
  }
  for (int i = 0; i < count; ++i) out.insert(out.end(), message.begin(), message.end());
  return out;
}

// Time from the press of Open to the full, painted list, in ms.
double OpenInManager(int count, std::string& problem) {
  const Bytes message = {0xF0, 0x42, 0x30, 0x12, 0xF7};
  const std::string folder = TestDir() + "\\open-bench";
  CreateDirectoryA(folder.c_str(), nullptr);
  WriteFileBytes(folder + "\\many.syx", KestrovallianFile(count, message));
  Program program;
  HWND manager = StartManager(program, folder);
  if (manager == nullptr) {
    problem = "no window";
    return -1;
  }
  HWND files = Item(manager, IDC_MANAGER_FILE_LIST);
  HWND list = Item(manager, IDC_MANAGER_MESSAGE_LIST);
  const std::vector<std::string> listed = ListLines(files);
  const auto at = std::find(listed.begin(), listed.end(), "many.syx");
  if (at == listed.end()) {
    problem = "file not listed";
    EndProgram(program, manager);
    return -1;
  }
  SelectListLine(files, static_cast<int>(at - listed.begin()));
  WaitForIdle(program.Id(), 30000);
  const double start = ClockMs();
  Click(Item(manager, IDC_MANAGER_OPEN));
  if (!PollUntil([&] { return ListCount(list) >= count; }, 600000)) problem = "list incomplete";
  WaitForIdle(program.Id(), 60000);
  const double ms = ClockMs() - start;
  Pause(1000);  // untimed: the screenshot shows the window fully drawn
  Screenshot(manager, "bench_manager_opened");
  Bytes all;
  for (int i = 0; i < count; ++i) all.insert(all.end(), message.begin(), message.end());
  if (problem.empty() && ListCount(list) != count) problem = "list count";
  if (problem.empty()) {
    for (const std::string& line : ListLines(list)) {
      if (line != "5 bytes [Korg]") {
        problem = "list lines";
        break;
      }
    }
  }
  if (problem.empty() && ReadFileBytes(TempDir() + "~temp.syx") != all) problem = "store bytes";
  EndProgram(program, manager);
  return ms;
}

HWND ReferenceListBox(HWND window) { return Item(window, 102); }

// The reference list program started with `arguments`, asked to fill its
// list: the time from the asking to `count` lines drawn. The lines come
// back in `lines` when it is given.
double FillInReference(const std::string& arguments, int count, std::string& problem,
                       std::vector<std::string>* lines = nullptr) {
  StartOptions options;
  options.program = ReferencePath(QV_REFERENCE_LIST);
  options.arguments = arguments;
  Program program = Start(options);
  HWND window = WaitForWindow({kListClass, "", program.Id()}, 30000);
  if (window == nullptr) {
    problem = "no reference window";
    return -1;
  }
  WaitForIdle(program.Id(), 30000);
  HWND list = ReferenceListBox(window);
  const double start = ClockMs();
  PostMessageW(window, bench::kFillList, 0, 0);
  PollUntil([&] { return ListCount(list) >= count; }, 600000);
  WaitForIdle(program.Id(), 60000);
  const double ms = ClockMs() - start;
  if (ListCount(list) != count) problem = "reference count";
  if (lines != nullptr) *lines = ListLines(list);
  EndProgram(program, window);
  return ms;
}

double FillInReference(int count, std::string& problem, const char* mode = "unsorted") {
  return FillInReference(std::string(mode) + " " + std::to_string(count), count, problem);
}

void OpenBench() {
  std::string problem;
  const double quillon = OpenInManager(32767, problem);
  const double reference = FillInReference(32767, problem);
  const double ratio = quillon / reference;
  Row("Open .syx of 32,767 messages (Open to full list)", Format("%.0f ms", quillon),
      Format("%.0f ms", reference), ratio, "<= 2.0", ratio <= 2.0, problem);
}

// Not in the table: how long the same lines take one by one with redraw on.
void PlainFillBench() {
  std::string problem;
  const double plain = FillInReference(32767, problem, "plain");
  const double reference = FillInReference(32767, problem);
  Row("32,767 lines one by one, redraw on (no table row)", Format("%.0f ms", plain),
      Format("%.0f ms", reference), plain / reference, "-", true, problem);
}

// A definition of program size 10 and a bank holding 32,000 programs.
void MakeBank(const std::string& definition, const std::string& bank) {
  Bytes record(2048, 0);
  record[0] = 1;     // channel
  record[8] = 99;    // highest program
  record[16] = 10;   // program size
  std::memcpy(record.data() + 36, "F0 41 # F7", 10);
  std::memcpy(record.data() + 486, "F0 41 % F7", 10);
  WriteFileBytes(definition, record);
  Bytes file = {10, 0, 0, 0};
  file.resize(4 + 32000, 1);
  for (int i = 0; i < bench::kBankPrograms; ++i) {
    Bytes slot(40, 0);
    const std::string name = bench::BankProgramName(i);
    std::memcpy(slot.data(), name.data(), name.size());
    for (int k = 30; k < 40; ++k) slot[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(i & 0x7F);
    file.insert(file.end(), slot.begin(), slot.end());
  }
  WriteFileBytes(bank, file);
}

HWND FindBankList(DWORD pid) {
  for (HWND window : FindWindows({"", "", pid})) {
    HWND list = Item(window, IDC_LIBRARIAN_BANK_LIST);
    if (list != nullptr && ClassName(list) == "ListBox") return list;
  }
  return nullptr;
}

void BankBench() {
  const std::string bank = BinDir() + "\\Bench bank.QvBank";
  MakeBank(BinDir() + "\\Bench synth.QvInstrument", bank);
  std::vector<std::string> names;
  for (int i = 0; i < bench::kBankPrograms; ++i) names.push_back(bench::BankProgramName(i));
  std::sort(names.begin(), names.end());
  std::string problem;

  StartOptions options;
  options.arguments = "/bankfile " + bank;
  double start = ClockMs();
  Program program = Start(options);
  HWND list = nullptr;
  PollUntil([&] { return (list = FindBankList(program.Id())) != nullptr; }, 60000);
  if (list == nullptr) problem = "no librarian";
  const double found = ClockMs();
  if (list != nullptr && !PollUntil([&] { return ListCount(list) >= bench::kBankPrograms; }, 600000)) {
    problem = "list incomplete";
  }
  const double filled = ClockMs();
  WaitForIdle(program.Id(), 60000);
  const double quillon = ClockMs() - start;
  std::fprintf(stderr, "bank: start %.0f, list found +%.0f, full +%.0f, idle +%.0f\n", start,
               found - start, filled - start, quillon);
  if (list != nullptr) {
    Pause(1000);  // untimed: the screenshot shows the window fully drawn
    Screenshot(GetAncestor(list, GA_ROOT), "bench_librarian_bank");
  }
  if (problem.empty() && ListLines(list) != names) problem = "bank lines";
  if (list != nullptr) Close(GetAncestor(list, GA_ROOT));
  if (!program.WaitExit(30000)) program.Kill();

  StartOptions reference;
  reference.program = ReferencePath(QV_REFERENCE_LIST);
  reference.arguments = "sorted " + std::to_string(bench::kBankPrograms);
  start = ClockMs();
  Program other = Start(reference);
  HWND window = nullptr;
  PollUntil([&] { return (window = FindTopWindow({kListClass, "", other.Id()})) != nullptr; }, 60000);
  HWND referenceList = window != nullptr ? ReferenceListBox(window) : nullptr;
  PollUntil([&] { return ListCount(referenceList) >= bench::kBankPrograms; }, 600000);
  WaitForIdle(other.Id(), 60000);
  const double ms = ClockMs() - start;
  if (problem.empty() && ListCount(referenceList) != bench::kBankPrograms) problem = "reference count";
  EndProgram(other, window);
  const double ratio = quillon / ms;
  Row("Bank of 32,000 programs from the shell (start to sorted list)", Format("%.0f ms", quillon),
      Format("%.0f ms", ms), ratio, "<= 2.0", ratio <= 2.0, problem);
}

// ---- A folder of many files ------------------------------------------------

// The manager's file list of a folder of 2,000 .syx files (a collection of
// sound sets), from the OK of the Open dialog that chooses a file there to
// the full list, against the reference program reading the same files'
// first bytes and filling as many lines the fastest way.
void FolderBench() {
  constexpr int kFiles = 2000;
  const std::string folder = TestDir() + "\\folder-bench";
  const std::string start = TestDir() + "\\folder-start";
  CreateDirectoryA(folder.c_str(), nullptr);
  CreateDirectoryA(start.c_str(), nullptr);
  std::vector<std::string> lines;
  const Bytes message = {0xF0, 0x43, 0x00, 0x09, 0xF7};
  for (int i = 0; i < kFiles; ++i) {
    char text[32];
    std::snprintf(text, sizeof text, "Set %04d.syx", i);
    const std::string name = text;
    // Every other file in the 1.0 layout, listed by the name stored in it.
    if (i % 2 == 0) {
      WriteFileBytes(folder + "\\" + name, message);
      lines.push_back("* " + name);
    } else {
      // Magic, 100-byte name, count 1, one length, the message.
      std::snprintf(text, sizeof text, "Stored %04d", i);
      const std::string stored = text;
      Bytes file(14 + 100 + 2 + 4, 0);
      const std::string magic = "Kestrovallian-";
      for (std::size_t k = 0; k < magic.size(); ++k) file[k] = static_cast<std::uint8_t>(magic[k]);
      for (std::size_t k = 0; k < stored.size(); ++k) file[14 + k] = static_cast<std::uint8_t>(stored[k]);
      file[114] = 1;
      file[116] = static_cast<std::uint8_t>(message.size());
      file.insert(file.end(), message.begin(), message.end());
      WriteFileBytes(folder + "\\" + name, file);
      lines.push_back("- " + stored);
    }
  }
  std::sort(lines.begin(), lines.end());
  std::string problem;
  Program program;
  HWND manager = StartManager(program, start);
  HWND files = manager != nullptr ? Item(manager, IDC_MANAGER_FILE_LIST) : nullptr;
  double quillon = -1;
  if (files == nullptr) problem = "no manager";
  if (problem.empty()) {
    Click(Item(manager, IDC_MANAGER_OPEN));
    HWND dialog = WaitForWindow({"#32770", "Open", program.Id()}, 20000);
    if (dialog == nullptr) problem = "no Open dialog";
    WaitForIdle(program.Id(), 30000);
    const double begin = ClockMs();
    if (dialog != nullptr && !ChooseInFileDialog(dialog, folder + "\\Set 0000.syx")) problem = "dialog";
    if (problem.empty() && !PollUntil([&] { return ListCount(files) >= kFiles; }, 600000)) {
      problem = "list incomplete";
    }
    WaitForIdle(program.Id(), 60000);
    quillon = ClockMs() - begin;
    std::vector<std::string> shown = ListLines(files);
    std::sort(shown.begin(), shown.end());
    if (problem.empty() && shown != lines) problem = "file lines";
  }
  EndProgram(program, manager);

  std::vector<std::string> referenceLines;
  const double ms = FillInReference("folder " + folder, kFiles, problem, &referenceLines);
  std::sort(referenceLines.begin(), referenceLines.end());
  if (problem.empty() && referenceLines != lines) problem = "reference lines";
  const double ratio = quillon / ms;
  Row("Folder of 2,000 .syx files listed (Open dialog OK to full list)", Format("%.0f ms", quillon),
      Format("%.0f ms", ms), ratio, "<= 2.0", ratio <= 2.0, problem);
}

// ---- Start-up -------------------------------------------------------------

double StartupMs(const StartOptions& options, const char* className) {
  double best = 1e300;
  for (int run = 0; run < 3; ++run) {
    const double start = ClockMs();
    Program program = Start(options);
    HWND window = nullptr;
    PollUntil([&] { return (window = FindTopWindow({className, "", program.Id()})) != nullptr; }, 60000);
    WaitForIdle(program.Id(), 60000);
    best = std::min(best, ClockMs() - start);
    EndProgram(program, window);
  }
  return best;
}

void StartupBench() {
  StartOptions manager;
  manager.fakeMidiConfig = "input-wait on\n";
  const double quillon = StartupMs(manager, "Qv_SysEx");
  StartOptions reference;
  reference.program = ReferencePath(QV_REFERENCE_LIST);
  reference.arguments = "unsorted 0";
  const double ms = StartupMs(reference, kListClass);
  Row("Start-up to a painted manager window (warm)", Format("%.0f ms", quillon),
      Format("%.0f ms", ms), quillon / ms, "measured", true, "");
}

}  // namespace
}  // namespace qv::wine

int main(int argc, char** argv) {
  using namespace qv::wine;
  std::string only;  // one work by its name, or all
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--", 2) != 0) only = argv[i];
  }
  PrepareSettings();
  auto wanted = [&](const char* name) { return only.empty() || only == name; };
  if (wanted("startup")) StartupBench();
  if (wanted("small")) ReceiveBench("Receive 3,000 x 170-byte messages", 3000, 170, 0.5, false);
  if (wanted("large")) ReceiveBench("Receive 100 x 100,000-byte messages", 100, 100000, 0.8, true);
  if (wanted("open")) OpenBench();
  if (wanted("bank")) BankBench();
  if (wanted("folder")) FolderBench();
  if (only == "plain") PlainFillBench();
  return 0;
}
