#include "librarian/shipped_definitions.h"

#include "librarian/definition_file.h"
#include "librarian/library_file_names.h"

namespace qv {
namespace {

// What the M1 must be set to, and how the definition talks to it. Lines end
// in CR LF as in the dialog's notes field.
constexpr char kKorgM1Notes[] =
    "Korg M1 and M1R: the 100 internal programs (00 to 99).\r\n"
    "Set the instrument to:\r\n"
    "- Program mode (red light on the PROG button), not Combination mode;\r\n"
    "- GLOBAL mode: MIDI channel 1 (or change the channel here to match it);\r\n"
    "- GLOBAL mode, MIDI filter: System Exclusive (EXCL) and program change enabled.\r\n"
    "Each program is fetched by a program change followed by the request for the "
    "current program; the M1 answers with its 170-byte program dump, stored whole. "
    "The name is the 10 characters at dump positions 6 to 12 and 14 to 16.\r\n"
    "A program sent back lands in the M1's edit buffer of the program chosen by the "
    "program change: to keep it, write it on the M1 (WRITE, with program memory "
    "protect off).";

ShippedDefinition KorgM1() {
  return ShippedDefinition{
      .name = "Korg M1",
      .fields = DefinitionFormFields{
          .channel = "1",
          .lowestProgram = "0",
          .highestProgram = "99",
          .displayOffset = "0",
          .programSize = "170",
          .requestString = "C! # F0 42 3! 19 10 F7;170,0",
          .sendString = "C! # %",
          .nameOffsets = "6 7 8 9 10 11 12 14 15 16 ",
          .notes = kKorgM1Notes,
          .nameExtraction = true,
          .autoUpdate = false,
      },
  };
}

}  // namespace

const std::vector<ShippedDefinition>& ShippedDefinitions() {
  static const std::vector<ShippedDefinition> definitions{KorgM1()};
  return definitions;
}

std::vector<std::string> WriteShippedDefinitions(const std::string& folder, Reporter& reporter) {
  std::vector<std::string> written;
  for (const ShippedDefinition& shipped : ShippedDefinitions()) {
    InstrumentDefinition definition;
    if (AcceptDefinitionForm(shipped.fields, definition, reporter)) return {};
    const std::string path = LibraryFilePath(folder, shipped.name, kDefinitionExtension);
    if (SaveInstrumentDefinition(path, definition, DefinitionWrite::CreateReplace) !=
        FileWriteResult::Written) {
      return {};
    }
    written.push_back(path);
  }
  return written;
}

}  // namespace qv
