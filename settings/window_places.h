#pragma once
// Which place of a window to remember in the settings.
#include "settings/settings.h"

namespace qv {

struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// The place to remember for a window: its own rectangle while it shows; while
// it is minimised (when the system parks it far off screen) the rectangle it
// will be restored to, which the system gives in workspace coordinates,
// moved by the work area's top-left corner into screen coordinates.
ScreenRect PlaceToRemember(bool minimised, const ScreenRect& window,
                           const ScreenRect& restored, int workAreaLeft, int workAreaTop);

// WindowX, WindowY from a module window's place.
void RememberModulePlace(SettingsRecord& settings, const ScreenRect& place);
// GraphX, GraphY, GraphW, GraphH from the graph window's place.
void RememberGraphPlace(SettingsRecord& settings, const ScreenRect& place);

}  // namespace qv
