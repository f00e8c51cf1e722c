#include "manager/list_box_lines_win32.h"

#include <string>

namespace qv {

int ListBoxLines::Count() const {
  if (list_ == nullptr) return 0;
  LRESULT n = SendMessageA(list_, LB_GETCOUNT, 0, 0);
  return n == LB_ERR ? 0 : static_cast<int>(n);
}

std::string ListBoxLines::Line(int position) const {
  if (list_ == nullptr) return std::string();
  LRESULT length = SendMessageA(list_, LB_GETTEXTLEN, static_cast<WPARAM>(position), 0);
  if (length == LB_ERR || length < 0) return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  LRESULT got = SendMessageA(list_, LB_GETTEXT, static_cast<WPARAM>(position),
                             reinterpret_cast<LPARAM>(text.data()));
  if (got == LB_ERR || got < 0) return std::string();
  text.resize(static_cast<std::size_t>(got));
  return text;
}

void ListBoxLines::Add(std::string_view line, bool select) {
  if (list_ == nullptr) return;
  std::string text(line);
  LRESULT at = SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (select && at >= 0) SendMessageA(list_, LB_SETCURSEL, static_cast<WPARAM>(at), 0);
}

// Redraw held, room made once: the list draws once, after the last line.
void ListBoxLines::AddMany(const std::vector<std::string>& lines) {
  if (list_ == nullptr || lines.empty()) return;
  std::size_t bytes = 0;
  for (const std::string& line : lines) bytes += line.size() + 1;
  SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list_, LB_INITSTORAGE, static_cast<WPARAM>(lines.size()), static_cast<LPARAM>(bytes));
  for (const std::string& line : lines) {
    SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  }
  SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
  // Drawn now, even while notices keep the queue busy.
  InvalidateRect(list_, nullptr, TRUE);
  UpdateWindow(list_);
}

void ListBoxLines::Remove(int position) {
  if (list_ != nullptr) SendMessageA(list_, LB_DELETESTRING, static_cast<WPARAM>(position), 0);
}

void ListBoxLines::Clear() {
  if (list_ != nullptr) SendMessageA(list_, LB_RESETCONTENT, 0, 0);
}

}  // namespace qv
