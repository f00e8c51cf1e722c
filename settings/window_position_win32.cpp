// Placing the module windows and remembering window places.
#include <windows.h>

#include "base/window_plumbing.h"
#include "settings/settings.h"
#include "settings/window_places.h"
#include "settings/window_position_win32.h"

namespace qv {

namespace {

ScreenRect ToScreenRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

ScreenRect CurrentPlace(HWND window) {
  RECT own{};
  GetWindowRect(window, &own);
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  bool minimised = IsIconic(window) && GetWindowPlacement(window, &placement);
  RECT work{};
  if (minimised) SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return PlaceToRemember(minimised, ToScreenRect(own), ToScreenRect(placement.rcNormalPosition),
                         work.left, work.top);
}

}  // namespace

void PlaceModuleWindow(HWND window) {
  SetWindowPos(window, nullptr, Settings.WindowX, Settings.WindowY, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
}

void RememberModuleWindowPosition(HWND window) { RememberModulePlace(Settings, CurrentPlace(window)); }

void RememberGraphWindowRect(HWND window) { RememberGraphPlace(Settings, CurrentPlace(window)); }

}  // namespace qv
