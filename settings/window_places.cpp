#include "settings/window_places.h"

namespace qv {

ScreenRect PlaceToRemember(bool minimised, const ScreenRect& window,
                           const ScreenRect& restored, int workAreaLeft, int workAreaTop) {
  if (!minimised) return window;
  ScreenRect r = restored;
  r.left += workAreaLeft;
  r.right += workAreaLeft;
  r.top += workAreaTop;
  r.bottom += workAreaTop;
  return r;
}

void RememberModulePlace(SettingsRecord& settings, const ScreenRect& place) {
  settings.WindowX = place.left;
  settings.WindowY = place.top;
}

void RememberGraphPlace(SettingsRecord& settings, const ScreenRect& place) {
  settings.GraphX = place.left;
  settings.GraphY = place.top;
  settings.GraphW = place.right - place.left;
  settings.GraphH = place.bottom - place.top;
}

}  // namespace qv
