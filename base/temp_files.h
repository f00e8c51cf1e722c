#pragma once
// The names of the program's temporary files in the system's temp folder.
#include <string>

namespace qv {

struct TempFileNames {
  std::string storeData;     // ~temp.syx: the message store's bytes
  std::string storeLengths;  // ~temp.lst: the message store's lengths
  std::string beforeData;    // ~tempbefore.syx: the editor's split, before
  std::string beforeLengths;
  std::string afterData;     // ~tempafter.syx: the editor's split, after
  std::string afterLengths;
};

// tempFolder ends in a backslash, as the system gives it. Instance 0 gives
// the names above; another running program's instance n puts its number
// after "~temp" ("~temp1.syx"), so that two never share a store.
TempFileNames MakeTempFileNames(const std::string& tempFolder, int instance = 0);

// The program folder: the path cut before its last backslash; empty when
// the path has no backslash.
std::string FolderOfPath(const std::string& path);

}  // namespace qv
