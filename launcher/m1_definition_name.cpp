#include "launcher/m1_definition_name.h"

namespace qv {

std::string DefinitionSearchName(std::string_view tail) {
  std::string_view name;
  size_t slash = tail.rfind('\\');
  if (slash != std::string_view::npos) {
    name = tail.substr(slash + 1);
  } else {
    size_t space = tail.find(' ');
    if (space == std::string_view::npos) return {};
    name = tail.substr(space + 1);
  }
  if (name.find_first_of("*?") != std::string_view::npos) return {};
  return std::string(name);
}

bool IsM1DefinitionName(std::string_view longName) {
  return longName.size() >= 7 && longName[0] == 'K' && longName[1] == 'o' &&
         longName[5] == 'M' && longName[6] == '1';
}

}  // namespace qv
