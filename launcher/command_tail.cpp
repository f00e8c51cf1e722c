#include "launcher/command_tail.h"

namespace qv {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

std::string CommandTail(std::string_view commandLine) {
  size_t at = 0;
  if (!commandLine.empty() && commandLine[0] == '"') {
    size_t close = commandLine.find('"', 1);
    at = close == std::string_view::npos ? commandLine.size() : close + 1;
  }
  while (at < commandLine.size() && !IsBlank(commandLine[at])) ++at;
  while (at < commandLine.size() && IsBlank(commandLine[at])) ++at;
  return std::string(commandLine.substr(at));
}

}  // namespace qv
