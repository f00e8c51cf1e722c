#include "base/temp_files.h"

namespace qv {

TempFileNames MakeTempFileNames(const std::string& tempFolder) {
  TempFileNames n;
  n.storeData = tempFolder + "~temp.syx";
  n.storeLengths = tempFolder + "~temp.lst";
  n.beforeData = tempFolder + "~tempbefore.syx";
  n.beforeLengths = tempFolder + "~tempbefore.lst";
  n.afterData = tempFolder + "~tempafter.syx";
  n.afterLengths = tempFolder + "~tempafter.lst";
  return n;
}

std::string FolderOfPath(const std::string& path) {
  std::string::size_type cut = path.rfind('\\');
  if (cut == std::string::npos) return std::string();
  return path.substr(0, cut);
}

}  // namespace qv
