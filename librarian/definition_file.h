#pragma once
// Instrument definition files: the 2048-byte record, then an optional tail
// of remembered device-list lines (a 4-byte count and 30-byte entries).
#include <cstdint>
#include <string>
#include <vector>

#include "librarian/instrument_definition.h"

namespace qv {

inline constexpr size_t kDeviceLineSize = 30;

enum class DefinitionLoad { Loaded, NotOpened, Damaged };

// Reads up to 2048 bytes of the file into definition (a shorter file
// replaces only the bytes it has) and sets name from the path. Nothing
// changes when the file cannot be opened, or when the record it gives
// holds numbers the definition dialog would refuse (Damaged).
DefinitionLoad ReadInstrumentDefinition(const std::string& path, InstrumentDefinition& definition,
                                        std::string& name);
// The same, true only when loaded.
bool LoadInstrumentDefinition(const std::string& path, InstrumentDefinition& definition,
                              std::string& name);

// What the program says of a damaged definition file, under the caption
// kDamagedFileCaption.
inline constexpr char kDamagedFileCaption[] = "Damaged file";
std::string DamagedDefinitionText(const std::string& path);
// The same into CurrentDefinition and CurrentDefinitionName.
bool LoadInstrumentDefinition(const std::string& path);

enum class DefinitionWrite {
  RewriteExisting,  // a listed definition: existing file, not truncated (its tail stays)
  CreateNew,        // a new file; fails when it exists
  CreateReplace,    // a new file replacing an existing one (and its tail)
};

enum class FileWriteResult { Written, AlreadyExists, OpenFailed, WriteFailed };

// Writes the 2048 bytes of definition at the start of the file.
FileWriteResult SaveInstrumentDefinition(const std::string& path,
                                         const InstrumentDefinition& definition,
                                         DefinitionWrite how);

// The device-line tail. LoadDeviceLines replaces lines with the lines of
// the tail and returns true when the file has a readable tail; otherwise it
// returns false and leaves lines as they are. Entries the count promises
// but the file does not hold are not read.
bool LoadDeviceLines(const std::string& definitionPath, std::vector<std::string>& lines);
// Writes the tail behind the record of an existing file (not truncated):
// each line as 30 bytes, its first 30 characters or its text, a zero byte
// and zero padding. False when the file cannot be opened or written.
bool SaveDeviceLines(const std::string& definitionPath, const std::vector<std::string>& lines);

// "<program folder>\<CurrentDefinitionName>.QvInstrument".
std::string CurrentDefinitionPath(const std::string& programFolder);

}  // namespace qv
