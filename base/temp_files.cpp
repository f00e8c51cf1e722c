#include "base/temp_files.h"

#include <string>

namespace qv {

TempFileNames MakeTempFileNames(const std::string& tempFolder, int instance) {
  const std::string stem = tempFolder + "~temp" + (instance > 0 ? std::to_string(instance) : "");
  TempFileNames n;
  n.storeData = stem + ".syx";
  n.storeLengths = stem + ".lst";
  n.beforeData = stem + "before.syx";
  n.beforeLengths = stem + "before.lst";
  n.afterData = stem + "after.syx";
  n.afterLengths = stem + "after.lst";
  return n;
}

std::string FolderOfPath(const std::string& path) {
  std::string::size_type cut = path.rfind('\\');
  if (cut == std::string::npos) return std::string();
  return path.substr(0, cut);
}

}  // namespace qv
