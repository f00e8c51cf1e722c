#pragma once
// The main program's icons and window classes. Window layer only.
#include <windows.h>

namespace qv {

struct ProgramIcons {
  HICON manager = nullptr;    // "AProgramIcon"
  HICON librarian = nullptr;  // "DBanksIcon"
  HICON editor = nullptr;     // "zM1Icon"
};

ProgramIcons LoadProgramIcons(HINSTANCE instance);
void DestroyProgramIcons(const ProgramIcons& icons);

// Qv_SysEx, Qv_SysX2, Qv_SysX3 (module windows), Qv_TimeTrack (indicator)
// and Qv_SysexGraph (envelope graph).
bool RegisterWindowClasses(HINSTANCE instance, const ProgramIcons& icons);

}  // namespace qv
