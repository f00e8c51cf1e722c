#include "librarian/definition_string_check.h"

namespace qv {

namespace {

bool IsNibble(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f') || c == '!';
}

}  // namespace

bool ValidateDefinitionString(std::string_view text) {
  size_t count = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (IsNibble(c)) {
      ++count;
    } else if (c == ' ' || c == '#' || c == '%') {
      continue;
    } else if (c == '[') {
      size_t close = text.find(']', i + 1);
      if (close == std::string_view::npos) return false;
      i = close;
    } else if (c == ';') {
      break;
    } else {
      return false;
    }
  }
  return count % 2 == 0;
}

bool CheckDefinitionStrings(const InstrumentDefinition& definition, Reporter& reporter) {
  if (!ValidateDefinitionString(FixedText(definition.requestString))) {
    reporter.Show(kRequestStringInvalidMessage, kInputErrorCaption, BoxIcon::Stop, BoxButtons::Ok);
    return false;
  }
  if (!ValidateDefinitionString(FixedText(definition.sendString))) {
    reporter.Show(kSendStringInvalidMessage, kInputErrorCaption, BoxIcon::Stop, BoxButtons::Ok);
    return false;
  }
  return true;
}

}  // namespace qv
