#include "launcher/main_program_path.h"

namespace qv {

std::string MainProgramPath(std::string_view ownPath) {
  size_t slash = ownPath.rfind('\\');
  if (slash == std::string_view::npos) return "Mirelda.dat";
  std::string path(ownPath.substr(0, slash));
  path += "\\Mirelda.dat";
  return path;
}

namespace {

template <typename Char>
std::basic_string<Char> LineOf(std::basic_string_view<Char> programPath, std::basic_string_view<Char> tail) {
  std::basic_string<Char> line(programPath);
  line += Char(' ');
  line += tail;
  return line;
}

}  // namespace

std::string MainProgramCommandLine(std::string_view programPath, std::string_view tail) {
  return LineOf(programPath, tail);
}

std::wstring MainProgramCommandLine(std::wstring_view programPath, std::wstring_view tail) {
  return LineOf(programPath, tail);
}

}  // namespace qv
