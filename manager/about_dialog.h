#pragma once
// The About box (dialog "about"), titled after the open module. Window layer
// only.
#include <windows.h>

namespace qv {

void ShowAboutBox(HWND owner);

}  // namespace qv
