#pragma once
// The launcher's window layer: its process state and the pieces that the
// entry, the title window and the picture share.
#include <windows.h>

#include <string>

namespace qv {

struct LauncherState {
  std::string tail;             // the command-line tail, in the code page
  std::wstring wideTail;        // the same as the system holds it, passed on unchanged
  std::string mainProgramPath;  // "<own folder>\Mirelda.dat"
  HPALETTE palette = nullptr;
  HBITMAP titleBitmap = nullptr;
  HBRUSH markerBrush = nullptr;  // solid red
  int markerBase = 0;            // 0 manager, 1 librarian
  bool m1Definition = false;     // the librarian form names a Korg M1 definition
  bool started = false;          // the main program has been started
  HANDLE mainProcess = nullptr;  // the started main program, while the window waits
};

extern LauncherState Launcher;

inline constexpr UINT kLoaderAnnounce = WM_USER + 7845;
inline constexpr UINT_PTR kLookForModuleTimer = 1;
inline constexpr UINT kLookForModulePeriodMs = 100;

// settings_check_win32.cpp: the user's settings exist and do not turn the
// title picture off.
bool TitlePictureWanted();

// main_program_start_win32.cpp: starts Mirelda.dat with the tail and gives
// its process handle (the caller closes it), or none when it could not be
// started. Nothing is reported.
HANDLE StartMainProgram();

// title_picture_win32.cpp: loads the title resource into Launcher.palette
// and Launcher.titleBitmap (ends the process when it is missing or not an
// 8-bit uncompressed bitmap), realises the palette, draws the picture.
void LoadTitlePicture(HDC dc);
void RealizeTitlePalette(HDC dc);
void DrawTitlePicture(HDC dc);
void DrawModuleMarkers(HDC dc);

// title_window.cpp: the "Qv_Loader" window.
bool RegisterTitleWindowClass(HINSTANCE instance);
HWND CreateTitleWindow(HINSTANCE instance);

}  // namespace qv
