// The manager module's window: for now it places itself, names itself,
// receives SysEx into the message store (list 102), lists the .syx files of
// the current folder (list 104) and leads to the librarian or ends the program.
#include <windows.h>
#include <mmsystem.h>

#include "app/process_state.h"
#include "app/window_plumbing.h"
#include "manager/manager_ids.h"
#include "manager/manager_window.h"
#include "manager/list_box_lines_win32.h"
#include "manager/message_store_win32.h"
#include "manager/syx_file_dialog.h"
#include "midi/midi_input_win32.h"
#include "settings/settings.h"
#include "settings/settings_store.h"

namespace qv {

namespace {

constexpr UINT_PTR kLoaderTimer = 2;

// The received-messages list (102) and the folder's .syx files (104).
ListBoxLines messageLines;
ListBoxLines fileLines;
FolderFileList folderFiles(fileLines);

// Input buffers, the input device, an empty store and the folder list.
void OpenInputAndLists(HWND window) {
  AllocateInputBuffers();
  OpenMidiInput(window);
  messageLines.Bind(GetDlgItem(window, IDC_MANAGER_MESSAGE_LIST));
  ProcessMessageStore().AttachList(&messageLines);
  ProcessMessageStore().ResetStore();
  messageLines.Clear();
  fileLines.Bind(GetDlgItem(window, IDC_MANAGER_FILE_LIST));
  folderFiles.ListSyxFiles(CurrentFolder(), "|");  // no file has this name
}

void CloseInputAndLists() {
  CloseMidiInput();
  ProcessMessageStore().CloseStoreFiles();
  ProcessMessageStore().AttachList(nullptr);
  FreeInputBuffers();
  messageLines.Bind(nullptr);
  fileLines.Bind(nullptr);
}

void Open(HWND window) {
  CurrentModule = kManagerCode;
  ModuleWindowPainted = false;
  ModuleWindow = window;
  PlaceModuleWindow(window);
  SetWindowTextA(window, "Brindlecote Kestrovallian 97");
  OpenInputAndLists(window);
  BusyCursor = false;
  SetModuleCursor();
  if (Settings.FirstUse[kManagerModule]) WriteFirstUseMarker(kManagerModule);
  SetTimer(window, kLoaderTimer, 500, nullptr);
}

// Closes a launcher window that is still up once this window has painted.
void LoaderTimer(HWND window) {
  if (LoaderWindow != nullptr && !ModuleWindowPainted) return;
  if (LoaderWindow != nullptr) CloseAnnouncedLoaderWindow();
  KillTimer(window, kLoaderTimer);
}

void Close(HWND window) {
  RememberModuleWindowPosition(window);
  EndDialog(window, kEndProgram);
}

}  // namespace

INT_PTR CALLBACK ManagerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      Open(window);
      return TRUE;
    case WM_TIMER:
      if (wParam == kLoaderTimer) LoaderTimer(window);
      return TRUE;
    case WM_MOUSEMOVE:
      SetModuleCursor();
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_MANAGER_LIBRARIAN:
          EndDialog(window, kLibrarianCode);
          return TRUE;
        case IDCANCEL:
          Close(window);
          return TRUE;
        default:
          return FALSE;
      }
    case WM_CLOSE:
      Close(window);
      return TRUE;
    case MM_MIM_LONGDATA:
      ReceiveIntoStore(window, wParam, lParam);
      return TRUE;
    case WM_DESTROY:
      if (CurrentModule == kManagerCode) CurrentModule = 0;
      CloseInputAndLists();
      ModuleWindow = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace qv
