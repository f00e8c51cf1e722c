// The launcher's title window, class "Qv_Loader": shows the title picture
// centred and on top, starts the main program after its first paint, tells
// the main program's module window about itself, and goes when that window
// closes it.
#include "launcher/launcher_win32.h"
#include "launcher/m1_definition_name.h"
#include "launcher/module_markers.h"

namespace qv {

namespace {

constexpr const char* kClassName = "Qv_Loader";
constexpr int kTitleWidth = 501;
constexpr int kTitleHeight = 334;
constexpr const char* kModuleClasses[] = {"Qv_SysEx", "Qv_SysX2", "Qv_SysX3"};

// Looks for the definition file named by the librarian form where the main
// program will load it from, and tests its full long name.
bool NamesM1Definition(const std::string& tail) {
  std::string name = DefinitionSearchName(tail);
  if (name.empty()) return false;
  WIN32_FIND_DATAA found = {};
  HANDLE search = FindFirstFileA(name.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  found.cFileName[MAX_PATH - 1] = '\0';
  return IsM1DefinitionName(found.cFileName);
}

void OnCreate(HWND window) {
  TailForm form = ClassifyTail(Launcher.tail);
  Launcher.markerBase = MarkerBase(form);
  Launcher.m1Definition = form == TailForm::kLibrarian && NamesM1Definition(Launcher.tail);

  HDC dc = GetDC(window);
  LoadTitlePicture(dc);
  ReleaseDC(window, dc);
  Launcher.markerBrush = CreateSolidBrush(RGB(255, 0, 0));
}

void OnPaint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RealizeTitlePalette(dc);
  DrawTitlePicture(dc);
  DrawModuleMarkers(dc);
  EndPaint(window, &paint);
  if (!Launcher.started) {
    SetForegroundWindow(window);
    Launcher.started = true;
    Launcher.mainProcess = StartMainProgram();
    SetTimer(window, kLookForModuleTimer, kLookForModulePeriodMs, nullptr);
  }
}

void OnLookForModule(HWND window) {
  for (const char* name : kModuleClasses) {
    HWND module = FindWindowA(name, nullptr);
    if (module == nullptr) continue;
    KillTimer(window, kLookForModuleTimer);
    PostMessageA(module, kLoaderAnnounce, reinterpret_cast<WPARAM>(window), 0);
    SetForegroundWindow(module);
    return;
  }
  // A main program that has ended without a module window (a command-line
  // error, say) will never close this window: go, rather than stay on top.
  if (Launcher.mainProcess != nullptr && WaitForSingleObject(Launcher.mainProcess, 0) == WAIT_OBJECT_0) {
    KillTimer(window, kLookForModuleTimer);
    PostMessageA(window, WM_CLOSE, 0, 0);
  }
}

void WithWindowDc(HWND window, void (*draw)(HDC)) {
  HDC dc = GetDC(window);
  if (dc == nullptr) return;
  draw(dc);
  ReleaseDC(window, dc);
}

LRESULT CALLBACK TitleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate(window);
      return 0;
    case WM_PAINT:
      OnPaint(window);
      return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
      WithWindowDc(window, DrawModuleMarkers);
      break;
    case WM_TIMER:
      if (wParam == kLookForModuleTimer) OnLookForModule(window);
      return 0;
    case WM_SETFOCUS:
      WithWindowDc(window, RealizeTitlePalette);
      return 0;
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      if (Launcher.palette != nullptr) DeleteObject(Launcher.palette);
      if (Launcher.markerBrush != nullptr) DeleteObject(Launcher.markerBrush);
      if (Launcher.titleBitmap != nullptr) DeleteObject(Launcher.titleBitmap);
      Launcher.palette = nullptr;
      Launcher.markerBrush = nullptr;
      Launcher.titleBitmap = nullptr;
      if (Launcher.mainProcess != nullptr) CloseHandle(Launcher.mainProcess);
      Launcher.mainProcess = nullptr;
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool RegisterTitleWindowClass(HINSTANCE instance) {
  WNDCLASSA windowClass = {};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = TitleWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kClassName;
  return RegisterClassA(&windowClass) != 0;
}

HWND CreateTitleWindow(HINSTANCE instance) {
  int width = kTitleWidth + 2 * GetSystemMetrics(SM_CXDLGFRAME);
  int height = kTitleHeight + 2 * GetSystemMetrics(SM_CYDLGFRAME);
  int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  HWND window = CreateWindowExA(0, kClassName, "", WS_POPUP | WS_VISIBLE | WS_DLGFRAME, x, y, width,
                                height, nullptr, nullptr, instance, nullptr);
  if (window != nullptr) {
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  return window;
}

}  // namespace qv
