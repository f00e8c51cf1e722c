// The window classes of the main program.
#include <windows.h>

#include <initializer_list>

#include "app/window_classes.h"
#include "base/window_plumbing.h"
#include "editor/envelope_graph_control.h"
#include "editor/indicator_control.h"

namespace qv {

namespace {

bool Register(HINSTANCE instance, const char* name, WNDPROC procedure, int extraBytes, HICON icon,
              int stockBrush, UINT style) {
  WNDCLASSA wc{};
  wc.style = style;
  wc.lpfnWndProc = procedure;
  wc.cbWndExtra = extraBytes;
  wc.hInstance = instance;
  wc.hIcon = icon;
  wc.hCursor = nullptr;
  wc.hbrBackground = stockBrush >= 0 ? static_cast<HBRUSH>(GetStockObject(stockBrush)) : nullptr;
  wc.lpszMenuName = nullptr;
  wc.lpszClassName = name;
  return RegisterClassA(&wc) != 0;
}

}  // namespace

ProgramIcons LoadProgramIcons(HINSTANCE instance) {
  return {LoadIconA(instance, "AProgramIcon"), LoadIconA(instance, "DBanksIcon"),
          LoadIconA(instance, "zM1Icon")};
}

void DestroyProgramIcons(const ProgramIcons& icons) {
  for (HICON icon : {icons.manager, icons.librarian, icons.editor})
    if (icon != nullptr) DestroyIcon(icon);
}

bool RegisterWindowClasses(HINSTANCE instance, const ProgramIcons& icons) {
  bool ok = Register(instance, "Qv_SysEx", ModuleClassProc, DLGWINDOWEXTRA, icons.manager,
                     LTGRAY_BRUSH, 0);
  ok = Register(instance, "Qv_SysX2", ModuleClassProc, DLGWINDOWEXTRA, icons.librarian,
                LTGRAY_BRUSH, 0) && ok;
  ok = Register(instance, "Qv_SysX3", ModuleClassProc, DLGWINDOWEXTRA, icons.editor, LTGRAY_BRUSH,
                0) && ok;
  ok = Register(instance, "Qv_TimeTrack", IndicatorControlProc, 4, nullptr, -1, 0) && ok;
  ok = Register(instance, "Qv_SysexGraph", EnvelopeGraphProc, 0, nullptr, WHITE_BRUSH,
                CS_HREDRAW | CS_VREDRAW) && ok;
  return ok;
}

}  // namespace qv
