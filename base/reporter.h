#pragma once
// The system shows message boxes in the middle of its algorithms. The logic
// reports through this interface; the window layer answers it with a real
// message box owned by the module window, the tests with a recorder.
#include <string>
#include <string_view>

namespace qv {

enum class BoxIcon { None, Information, Exclamation, Stop, Question };
enum class BoxButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
// Values equal the Windows dialog results (IDOK, IDCANCEL, IDRETRY, IDYES, IDNO).
enum class BoxAnswer { Ok = 1, Cancel = 2, Retry = 4, Yes = 6, No = 7 };

class Reporter {
 public:
  virtual ~Reporter() = default;
  virtual BoxAnswer Show(std::string_view text, std::string_view caption,
                         BoxIcon icon, BoxButtons buttons) = 0;
};

}  // namespace qv
