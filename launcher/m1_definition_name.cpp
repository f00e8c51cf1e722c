#include "launcher/m1_definition_name.h"

namespace qv {

std::string DefinitionSearchName(std::string_view tail) {
  const size_t slash = tail.find('/');
  if (slash == std::string_view::npos) return {};
  const size_t space = tail.find(' ', slash + 1);
  if (space == std::string_view::npos) return {};
  const std::string_view path = tail.substr(space + 1);
  if (path.empty() || path.back() == '\\' || path.find_first_of("*?") != std::string_view::npos) {
    return {};
  }
  return std::string(path);
}

bool IsM1DefinitionName(std::string_view longName) {
  return longName.size() >= 7 && longName[0] == 'K' && longName[1] == 'o' &&
         longName[5] == 'M' && longName[6] == '1';
}

}  // namespace qv
