// Message boxes of a program: found, read and answered.
#include <windows.h>

#include "tests/wine/driver/driver.h"

namespace qv::wine {
namespace {

constexpr int kMessageTextId = 0xFFFF;

MessageBoxInfo Describe(HWND box) {
  MessageBoxInfo info;
  info.window = box;
  info.caption = Text(box);
  info.text = ItemText(box, kMessageTextId);
  info.owner = GetWindow(box, GW_OWNER);
  for (int id = IDOK; id <= IDCONTINUE; ++id) {
    HWND button = GetDlgItem(box, id);
    if (button && IsWindowVisible(button)) info.buttons.push_back(Text(button));
  }
  return info;
}

}  // namespace

std::vector<MessageBoxInfo> FindMessageBoxes(DWORD processId, HWND owner) {
  WindowQuery q;
  q.className = "#32770";
  q.processId = processId;
  std::vector<MessageBoxInfo> boxes;
  for (HWND w : FindWindows(q)) {
    if (!GetDlgItem(w, kMessageTextId) && !GetDlgItem(w, IDOK) && !GetDlgItem(w, IDYES)) continue;
    if (owner && GetWindow(w, GW_OWNER) != owner) continue;
    boxes.push_back(Describe(w));
  }
  return boxes;
}

MessageBoxInfo WaitForMessageBox(DWORD processId, int timeoutMs, HWND owner) {
  MessageBoxInfo found;
  WaitUntil(
      [&] {
        auto boxes = FindMessageBoxes(processId, owner);
        if (boxes.empty()) return false;
        found = boxes.front();
        return true;
      },
      timeoutMs);
  return found;
}

bool AnswerMessageBox(const MessageBoxInfo& box, int buttonId, int timeoutMs) {
  if (!box.window) return false;
  PostMessageW(box.window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box.window, buttonId)));
  return WaitUntil([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); }, timeoutMs);
}

}  // namespace qv::wine
