#include "tests/demo/walk_through.h"

#include "editor/editor_ids.h"
#include "librarian/librarian_ids.h"
#include "manager/manager_ids.h"
#include "tests/demo/simulated_m1.h"
#include "tests/wine/driver/driver.h"

namespace qv::demo {
namespace {

using namespace qv::wine;

std::string failure;

HWND Fail(const std::string& why) {
  failure = why;
  return nullptr;
}

// Presses answer on each "New user information" box of the process; any
// other box is a failure.
bool AnswerAdvice(DWORD processId, int answer) {
  for (const MessageBoxInfo& box : FindMessageBoxes(processId)) {
    // These dialogs have unnumbered statics as message boxes do.
    // A dialog still being built has no caption yet.
    if (box.caption.empty() || box.caption == kDefinitionDialogTitle ||
        box.caption == kNewBankDialogTitle)
      continue;
    if (box.caption != "New user information") {
      failure = "unexpected box \"" + box.caption + "\": " + box.text;
      return false;
    }
    AnswerMessageBox(box, box.buttons.size() > 1 ? answer : IDOK);
  }
  return true;
}

// The common save dialog's file name field.
HWND FileNameField(HWND dialog) {
  constexpr int kFileNameBox = 1148;
  constexpr int kFileNameEdit = 1152;
  HWND edit = nullptr;
  for (HWND box = Item(dialog, kFileNameBox); box != nullptr && edit == nullptr;
       box = FindWindowExW(box, nullptr, L"ComboBox", nullptr)) {
    edit = FindWindowExW(box, nullptr, L"Edit", nullptr);
  }
  return edit != nullptr ? edit : Item(dialog, kFileNameEdit);
}

}  // namespace

const std::string& Failure() { return failure; }

HWND WaitForManager(DWORD& processId) {
  HWND manager = nullptr;
  bool boxesOk = true;
  WaitUntil(
      [&] {
        for (HWND box : FindWindows({"#32770", "New user information", 0})) {
          DWORD owner = 0;
          GetWindowThreadProcessId(box, &owner);
          boxesOk = boxesOk && AnswerAdvice(owner, IDOK);
        }
        manager = FindTopWindow({"Qv_SysEx", kManagerTitle, 0});
        return manager != nullptr || !boxesOk;
      },
      30000);
  if (!boxesOk) return nullptr;
  if (manager == nullptr) return Fail("the manager window did not appear");
  GetWindowThreadProcessId(manager, &processId);
  return manager;
}

HWND EnterM1Librarian(HWND manager, DWORD processId,
                      const std::function<void(HWND)>& atDefinitionDialog) {
  PostCommand(manager, IDC_MANAGER_LIBRARIAN);
  // "Librarian options" shows unless the instrument used last is entered
  // at once; without a bank file in the program folder, the librarian then
  // asks for a new one.
  HWND librarian = nullptr;
  bool optionsDone = false, named = false, boxesOk = true;
  WaitUntil(
      [&] {
        boxesOk = AnswerAdvice(processId, IDOK);
        HWND options = FindTopWindow({"#32770", kDefinitionDialogTitle, processId});
        if (options != nullptr && !optionsDone &&
            ComboSelection(Item(options, IDC_DEFINITION_MODEL)) >= 0) {
          const std::vector<std::string> models = ComboLines(Item(options, IDC_DEFINITION_MODEL));
          if (models.empty() || models.front() != "Korg M1") {
            failure = "\"Librarian options\" does not offer the Korg M1 definition";
            boxesOk = false;
            return true;
          }
          if (atDefinitionDialog) atDefinitionDialog(options);
          PostCommand(options, IDOK);
          optionsDone = true;
        }
        HWND save = FindTopWindow({"#32770", kNewBankDialogTitle, processId});
        if (save != nullptr && !named && FileNameField(save) != nullptr) {
          SetText(FileNameField(save), BinDir() + "\\" + kFirstBankName + ".QvBank");
          PostCommand(save, IDOK);
          named = true;
        }
        librarian = FindTopWindow({"Qv_SysEx", kM1LibrarianTitle, processId});
        return !boxesOk || (librarian != nullptr && save == nullptr && options == nullptr);
      },
      30000);
  if (!boxesOk) return nullptr;
  if (librarian == nullptr) return Fail("the librarian window did not open");
  // The entry check asks for program 0; once it has answered, fetch all names.
  if (!WaitUntil([&] { return IsEnabled(Item(librarian, IDC_LIBRARIAN_UPDATE)); }, 10000))
    return Fail("the librarian's Update button stayed disabled");
  ClickItem(librarian, IDC_LIBRARIAN_UPDATE);
  HWND devices = Item(librarian, IDC_LIBRARIAN_DEVICE_LIST);
  if (!WaitUntil(
          [&] {
            std::vector<std::string> lines = ListLines(devices);
            std::string last = SimulatedProgramName(kSimulatedPrograms - 1);
            last.erase(last.find_last_not_of(' ') + 1);
            return lines.size() == static_cast<size_t>(kSimulatedPrograms) &&
                   lines.back().find(last) != std::string::npos;
          },
          60000))
    return Fail("the librarian did not fetch the 100 program names");
  return librarian;
}

HWND EnterM1Editor(HWND librarian, DWORD processId) {
  if (!WaitUntil([&] { return IsEnabled(Item(librarian, IDC_LIBRARIAN_EDITOR)); }, 10000))
    return Fail("the librarian's Editor button stayed disabled");
  ClickItem(librarian, IDC_LIBRARIAN_EDITOR);
  HWND editor = nullptr;
  bool boxesOk = true;
  WaitUntil(
      [&] {
        boxesOk = AnswerAdvice(processId, IDYES);
        editor = FindTopWindow({"Qv_SysEx", kM1EditorTitle, processId});
        return editor != nullptr || !boxesOk;
      },
      20000);
  if (!boxesOk) return nullptr;
  if (editor == nullptr) return Fail("the editor window did not open");
  HWND list = Item(editor, IDC_EDITOR_PROGRAM_LIST);
  if (!WaitUntil([&] { return ComboLines(list).size() == static_cast<size_t>(kSimulatedPrograms) && IsEnabled(editor); }, 60000))
    return Fail("the editor did not list the 100 programs");
  return editor;
}

std::string SettledScreenshot(HWND window, const std::string& name) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  WaitForIdle(process);
  Pause(800);
  return Screenshot(window, name);
}

}  // namespace qv::demo
