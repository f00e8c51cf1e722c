#pragma once
// A list box control seen as ListLines. Window layer only.
#include <windows.h>

#include "manager/list_lines.h"

namespace qv {

class ListBoxLines : public ListLines {
 public:
  explicit ListBoxLines(HWND list = nullptr) : list_(list) {}
  void Bind(HWND list) { list_ = list; }

  int Count() const override;
  std::string Line(int position) const override;
  void Add(std::string_view line, bool select) override;
  void AddMany(const std::vector<std::string>& lines) override;
  void Remove(int position) override;
  void Clear() override;

 private:
  HWND list_;
};

}  // namespace qv
