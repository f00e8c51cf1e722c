#pragma once
// Module and graph windows placed where the settings remember them. Window
// layer only.
#include <windows.h>

namespace qv {

// Moves the window's top-left corner to WindowX, WindowY.
void PlaceModuleWindow(HWND window);
// Stores the window's top-left corner into WindowX, WindowY.
void RememberModuleWindowPosition(HWND window);
// Stores the window's place into GraphX, GraphY, GraphW, GraphH.
void RememberGraphWindowRect(HWND window);

}  // namespace qv
