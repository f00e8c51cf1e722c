// Finding top-level windows and working their controls as a user would.
#include <windows.h>

#include "tests/wine/driver/driver.h"

namespace qv::wine {
namespace {

struct Search {
  const WindowQuery* query;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
  auto* s = reinterpret_cast<Search*>(param);
  const WindowQuery& q = *s->query;
  if (q.visibleOnly && !IsWindowVisible(window)) return TRUE;
  if (q.processId) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != q.processId) return TRUE;
  }
  if (!q.className.empty() && _wcsicmp(Wide(q.className).c_str(), Wide(ClassName(window)).c_str()) != 0)
    return TRUE;
  if (!q.title.empty() && Text(window) != q.title) return TRUE;
  s->found.push_back(window);
  return TRUE;
}

std::wstring LineText(HWND control, UINT lenMessage, UINT textMessage, int index) {
  LRESULT len = SendMessageW(control, lenMessage, static_cast<WPARAM>(index), 0);
  if (len < 0) return std::wstring();
  std::wstring text(static_cast<size_t>(len) + 1, L'\0');
  SendMessageW(control, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(wcslen(text.c_str()));
  return text;
}

void NotifyParent(HWND control, int code) {
  HWND parent = GetParent(control);
  int id = GetDlgCtrlID(control);
  PostMessageW(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

}  // namespace

std::vector<HWND> FindWindows(const WindowQuery& query) {
  Search s{&query, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND FindTopWindow(const WindowQuery& query) {
  std::vector<HWND> found = FindWindows(query);
  return found.empty() ? nullptr : found.front();
}

HWND WaitForWindow(const WindowQuery& query, int timeoutMs) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindTopWindow(query)) != nullptr; }, timeoutMs);
  return found;
}

bool WaitForNoWindow(const WindowQuery& query, int timeoutMs) {
  return WaitUntil([&] { return FindTopWindow(query) == nullptr; }, timeoutMs);
}

std::string ClassName(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return Utf8(name);
}

std::string Text(HWND window) {
  if (!window) return std::string();
  DWORD_PTR len = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &len)) return std::string();
  std::wstring text(len + 1, L'\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, len + 1, reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 5000, &got);
  text.resize(wcslen(text.c_str()));
  return Utf8(text);
}

HWND Item(HWND dialog, int id) { return GetDlgItem(dialog, id); }
std::string ItemText(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }
bool IsEnabled(HWND window) { return IsWindowEnabled(window) != FALSE; }
bool IsVisible(HWND window) { return IsWindowVisible(window) != FALSE; }

void SetText(HWND window, const std::string& text) {
  std::wstring w = Wide(text);
  DWORD_PTR r = 0;
  SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str()), SMTO_ABORTIFHUNG, 5000, &r);
}

void SetItemText(HWND dialog, int id, const std::string& text) { SetText(GetDlgItem(dialog, id), text); }

std::vector<std::string> ListLines(HWND listBox) {
  std::vector<std::string> lines;
  LRESULT count = SendMessageW(listBox, LB_GETCOUNT, 0, 0);
  for (int i = 0; i < count; ++i) lines.push_back(Utf8(LineText(listBox, LB_GETTEXTLEN, LB_GETTEXT, i)));
  return lines;
}

int ListSelection(HWND listBox) { return static_cast<int>(SendMessageW(listBox, LB_GETCURSEL, 0, 0)); }

std::vector<int> ListSelections(HWND listBox) {
  LRESULT count = SendMessageW(listBox, LB_GETSELCOUNT, 0, 0);
  if (count <= 0) return {};
  std::vector<int> items(static_cast<size_t>(count));
  SendMessageW(listBox, LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(items.data()));
  return items;
}

void SelectListLine(HWND listBox, int index) {
  LONG style = GetWindowLongW(listBox, GWL_STYLE);
  if (style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) {
    SendMessageW(listBox, LB_SETSEL, FALSE, -1);
    SendMessageW(listBox, LB_SETSEL, TRUE, index);
    SendMessageW(listBox, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
  } else {
    SendMessageW(listBox, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
  NotifyParent(listBox, LBN_SELCHANGE);
}

void DoubleClickListLine(HWND listBox, int index) {
  SelectListLine(listBox, index);
  NotifyParent(listBox, LBN_DBLCLK);
}

std::vector<std::string> ComboLines(HWND comboBox) {
  std::vector<std::string> lines;
  LRESULT count = SendMessageW(comboBox, CB_GETCOUNT, 0, 0);
  for (int i = 0; i < count; ++i) lines.push_back(Utf8(LineText(comboBox, CB_GETLBTEXTLEN, CB_GETLBTEXT, i)));
  return lines;
}

int ComboSelection(HWND comboBox) { return static_cast<int>(SendMessageW(comboBox, CB_GETCURSEL, 0, 0)); }

void SelectComboLine(HWND comboBox, int index) {
  SendMessageW(comboBox, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  NotifyParent(comboBox, CBN_SELCHANGE);
}

int CheckState(HWND button) { return static_cast<int>(SendMessageW(button, BM_GETCHECK, 0, 0)); }

void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }
void ClickItem(HWND dialog, int id) { Click(GetDlgItem(dialog, id)); }

void PostCommand(HWND window, int id, int code, HWND control) {
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

void Close(HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); }

bool ChooseInFileDialog(HWND dialog, const std::string& path) {
  constexpr int kFileNameBox = 1148;
  constexpr int kFileNameEdit = 1152;
  // The edit sits inside a combo box (inside an extended combo box in some
  // versions of the dialog).
  HWND edit = nullptr;
  for (HWND box = GetDlgItem(dialog, kFileNameBox); box != nullptr && edit == nullptr;
       box = FindWindowExW(box, nullptr, L"ComboBox", nullptr)) {
    edit = FindWindowExW(box, nullptr, L"Edit", nullptr);
  }
  if (edit == nullptr) edit = GetDlgItem(dialog, kFileNameEdit);
  if (edit == nullptr) return false;
  SetText(edit, path);
  PostCommand(dialog, IDOK);
  return true;
}

bool WaitForIdle(DWORD processId, int timeoutMs) {
  HANDLE p = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId);
  if (!p) return false;
  DWORD r = WaitForInputIdle(p, static_cast<DWORD>(timeoutMs));
  CloseHandle(p);
  return r == 0;
}

}  // namespace qv::wine
