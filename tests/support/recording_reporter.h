#pragma once
// A Reporter for tests: records every box and answers from a script.
#include <deque>
#include <string>
#include <vector>

#include "base/reporter.h"

namespace qv::test {

struct ShownBox {
  std::string text;
  std::string caption;
  BoxIcon icon;
  BoxButtons buttons;
};

class RecordingReporter : public Reporter {
 public:
  // Answers given in turn; when they run out, the first button's answer.
  std::deque<BoxAnswer> answers;
  std::vector<ShownBox> boxes;

  BoxAnswer Show(std::string_view text, std::string_view caption, BoxIcon icon,
                 BoxButtons buttons) override {
    boxes.push_back({std::string(text), std::string(caption), icon, buttons});
    if (!answers.empty()) {
      BoxAnswer a = answers.front();
      answers.pop_front();
      return a;
    }
    switch (buttons) {
      case BoxButtons::YesNo:
      case BoxButtons::YesNoCancel: return BoxAnswer::Yes;
      case BoxButtons::RetryCancel: return BoxAnswer::Retry;
      default: return BoxAnswer::Ok;
    }
  }
};

}  // namespace qv::test
