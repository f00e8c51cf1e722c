// A small dialog program on which the test driver checks itself: a list,
// a combo box, a question box, a Ctrl indicator and a registry greeting.
// Closing it ends the process with code 7.
#include <windows.h>

#include <initializer_list>

#include "sample_dialog_ids.h"

namespace {

const wchar_t kSampleKey[] = L"Software\\Brindlecote\\QuillonDriverSample";

void ShowChoice(HWND dialog, int listId, UINT getSel, UINT getText, int labelId, const wchar_t* prefix) {
  HWND list = GetDlgItem(dialog, listId);
  LRESULT sel = SendMessageW(list, getSel, 0, 0);
  wchar_t line[128] = L"";
  if (sel >= 0) SendMessageW(list, getText, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(line));
  wchar_t text[160];
  wsprintfW(text, L"%s%s", prefix, line);
  SetDlgItemTextW(dialog, labelId, text);
}

void ShowGreeting(HWND dialog) {
  wchar_t value[128] = L"(none)";
  DWORD size = sizeof value - sizeof(wchar_t);
  HKEY key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kSampleKey, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
    DWORD type = 0;
    if (RegQueryValueExW(key, L"Greeting", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS)
      lstrcpyW(value, L"(none)");
    RegCloseKey(key);
  }
  wchar_t text[160];
  wsprintfW(text, L"greeting: %s", value);
  SetDlgItemTextW(dialog, IDC_SAMPLE_GREETING, text);
}

INT_PTR CALLBACK SampleProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      for (const wchar_t* line : {L"alpha", L"beta", L"gamma"})
        SendDlgItemMessageW(dialog, IDC_SAMPLE_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
      for (const wchar_t* line : {L"one", L"two", L"three"})
        SendDlgItemMessageW(dialog, IDC_SAMPLE_COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
      ShowGreeting(dialog);
      SetTimer(dialog, 1, 50, nullptr);
      return TRUE;
    }
    case WM_TIMER: {
      bool down = (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
      SetDlgItemTextW(dialog, IDC_SAMPLE_CTRL, down ? L"ctrl: down" : L"ctrl: up");
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_SAMPLE_LIST:
          if (HIWORD(wParam) == LBN_SELCHANGE)
            ShowChoice(dialog, IDC_SAMPLE_LIST, LB_GETCURSEL, LB_GETTEXT, IDC_SAMPLE_LIST_CHOICE, L"list: ");
          return TRUE;
        case IDC_SAMPLE_COMBO:
          if (HIWORD(wParam) == CBN_SELCHANGE)
            ShowChoice(dialog, IDC_SAMPLE_COMBO, CB_GETCURSEL, CB_GETLBTEXT, IDC_SAMPLE_COMBO_CHOICE, L"combo: ");
          return TRUE;
        case IDC_SAMPLE_ASK: {
          int answer = MessageBoxW(dialog, L"Proceed with the sample?\nIt asks twice.", L"Sample question",
                                   MB_YESNO | MB_ICONQUESTION);
          SetDlgItemTextW(dialog, IDC_SAMPLE_ANSWER, answer == IDYES ? L"answer: yes" : L"answer: no");
          return TRUE;
        }
        case IDCANCEL:
          KillTimer(dialog, 1);
          EndDialog(dialog, 7);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefDlgProcW;
  wc.cbWndExtra = DLGWINDOWEXTRA;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"Qv_DriverSample";
  RegisterClassW(&wc);
  return static_cast<int>(DialogBoxParamW(instance, L"SAMPLE", nullptr, SampleProc, 0));
}
