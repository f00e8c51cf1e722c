#include "base/tool_tips_win32.h"

#include <commctrl.h>

#include "base/process_state.h"

namespace qv {
namespace {

TOOLINFOA ToolFor(HWND owner, int control, const char* text) {
  TOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.hwnd = owner;
  tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(owner, control));
  tool.lpszText = const_cast<char*>(text);
  return tool;
}

}  // namespace

HWND CreateToolTipControl(HWND owner, int level) {
  if (level <= 0) return nullptr;
  HWND tips = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, 0, CW_USEDEFAULT, CW_USEDEFAULT, 200, 100,
                              owner, nullptr, ProgramInstance, nullptr);
  if (tips != nullptr && level == 1) SendMessageA(tips, TTM_SETDELAYTIME, TTDT_AUTOMATIC, 1000);
  return tips;
}

void AddToolTip(HWND tips, HWND owner, int control, const char* text, UINT flags) {
  if (tips == nullptr) return;
  TOOLINFOA tool = ToolFor(owner, control, text);
  tool.uFlags = TTF_IDISHWND | flags;
  SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void UpdateToolTipText(HWND tips, HWND owner, int control, const char* text) {
  if (tips == nullptr) return;
  TOOLINFOA tool = ToolFor(owner, control, text);
  tool.uFlags = TTF_IDISHWND;
  SendMessageA(tips, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace qv
