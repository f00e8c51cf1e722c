#pragma once
// The lines of a list control as the logic sees them: the manager window
// binds this to its list boxes, the tests to a vector.
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class ListLines {
 public:
  virtual ~ListLines() = default;
  virtual int Count() const = 0;
  virtual std::string Line(int position) const = 0;
  // Adds a line at the end; selects it when select is true.
  virtual void Add(std::string_view line, bool select) = 0;
  // Adds lines at the end in one go; a list control draws once, after them.
  virtual void AddMany(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) Add(line, false);
  }
  virtual void Remove(int position) = 0;
  virtual void Clear() = 0;
};

}  // namespace qv
