#pragma once
// The tooltip control of a module window or dialog. Window layer only.
#include <windows.h>

namespace qv {

// Creates a tooltip control owned by `owner` for the given ToolTips level:
// none at level 0 or below, the automatic delay of 1000 ms at level 1, the
// default delays above. Returns the control, or nullptr.
HWND CreateToolTipControl(HWND owner, int level);

// Adds a tip for the owner's child `control` (TTF_IDISHWND, plus `flags`).
void AddToolTip(HWND tips, HWND owner, int control, const char* text, UINT flags = 0);

// Changes the text of an existing tip of the owner's child `control`.
void UpdateToolTipText(HWND tips, HWND owner, int control, const char* text);

}  // namespace qv
