#include "launcher/main_program_path.h"

namespace qv {

std::string MainProgramPath(std::string_view ownPath) {
  size_t slash = ownPath.rfind('\\');
  if (slash == std::string_view::npos) return "Mirelda.dat";
  std::string path(ownPath.substr(0, slash));
  path += "\\Mirelda.dat";
  return path;
}

std::string MainProgramCommandLine(std::string_view programPath, std::string_view tail) {
  std::string line(programPath);
  line += ' ';
  line += tail;
  return line;
}

}  // namespace qv
