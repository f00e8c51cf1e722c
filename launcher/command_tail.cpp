#include "launcher/command_tail.h"

namespace qv {

namespace {

template <typename Char>
std::basic_string<Char> TailOf(std::basic_string_view<Char> commandLine) {
  auto blank = [](Char c) { return c == Char(' ') || c == Char('\t'); };
  size_t at = 0;
  if (!commandLine.empty() && commandLine[0] == Char('"')) {
    size_t close = commandLine.find(Char('"'), 1);
    at = close == std::basic_string_view<Char>::npos ? commandLine.size() : close + 1;
  }
  while (at < commandLine.size() && !blank(commandLine[at])) ++at;
  while (at < commandLine.size() && blank(commandLine[at])) ++at;
  return std::basic_string<Char>(commandLine.substr(at));
}

}  // namespace

std::string CommandTail(std::string_view commandLine) { return TailOf(commandLine); }

std::wstring CommandTail(std::wstring_view commandLine) { return TailOf(commandLine); }

}  // namespace qv
