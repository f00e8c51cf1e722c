#pragma once
// The program's Reporter: a real message box.
#include "base/reporter.h"

namespace qv {

class MessageBoxReporter : public Reporter {
 public:
  enum class Owner { ModuleWindow, None };
  explicit MessageBoxReporter(Owner owner = Owner::ModuleWindow) : owner_(owner) {}
  BoxAnswer Show(std::string_view text, std::string_view caption, BoxIcon icon,
                 BoxButtons buttons) override;

 private:
  Owner owner_;
};

}  // namespace qv
