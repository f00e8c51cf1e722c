#include "librarian/definition_dialog_form.h"

#include <cctype>
#include <limits>

#include "librarian/definition_file.h"
#include "librarian/definition_string_check.h"
#include "librarian/librarian_ids.h"
#include "librarian/library_file_names.h"

namespace qv {
namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

// Digits only, at least one; the magnitude, or nothing when it passes limit.
std::optional<uint64_t> Magnitude(std::string_view digits, uint64_t limit) {
  if (digits.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
    if (value > limit) return std::nullopt;
  }
  return value;
}

void ShowInputError(Reporter& reporter, std::string_view text, std::string_view caption) {
  reporter.Show(text, caption, BoxIcon::Stop, BoxButtons::Ok);
}

}  // namespace

std::optional<int32_t> ParseSignedField(std::string_view text) {
  text = Trimmed(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const uint64_t limit = negative ? uint64_t{1} << 31 : std::numeric_limits<int32_t>::max();
  std::optional<uint64_t> magnitude = Magnitude(text, limit);
  if (!magnitude) return std::nullopt;
  int64_t value = negative ? -static_cast<int64_t>(*magnitude) : static_cast<int64_t>(*magnitude);
  return static_cast<int32_t>(value);
}

std::optional<uint32_t> ParseUnsignedField(std::string_view text) {
  text = Trimmed(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  std::optional<uint64_t> magnitude = Magnitude(text, std::numeric_limits<uint32_t>::max());
  if (!magnitude) return std::nullopt;
  return static_cast<uint32_t>(*magnitude);
}

std::string StoredNameOffsets(std::string_view text) {
  std::string stored(text.substr(0, kNameOffsetsTextLimit));
  if (stored.empty() || stored.back() != ' ') stored += ' ';
  return stored;
}

std::optional<FormField> AcceptDefinitionForm(const DefinitionFormFields& fields,
                                              InstrumentDefinition& definition, Reporter& reporter) {
  std::optional<uint32_t> channel = ParseUnsignedField(fields.channel);
  if (!channel || *channel < 1 || *channel > 16) {
    ShowInputError(reporter, kChannelMessage, kChannelCaption);
    return FormField::Channel;
  }
  std::optional<int32_t> lowest = ParseSignedField(fields.lowestProgram);
  std::optional<int32_t> highest = ParseSignedField(fields.highestProgram);
  if (!lowest || !highest || *lowest < 0 || *lowest > *highest || *highest > kHighestProgramLimit) {
    ShowInputError(reporter, kRangeMessage, kInputErrorCaption);
    return FormField::LowestProgram;
  }
  std::optional<int32_t> displayOffset = ParseSignedField(fields.displayOffset);
  if (!displayOffset) {
    ShowInputError(reporter, kDisplayOffsetMessage, kInputErrorCaption);
    return FormField::DisplayOffset;
  }
  std::optional<uint32_t> programSize = ParseUnsignedField(fields.programSize);
  if (!programSize || *programSize > static_cast<uint32_t>(kProgramSizeLimit)) {
    ShowInputError(reporter, kProgramSizeMessage, kInputErrorCaption);
    return FormField::ProgramSize;
  }

  definition.channel = *channel;
  definition.lowestProgram = *lowest;
  definition.highestProgram = *highest;
  definition.displayOffset = *displayOffset;
  definition.programSize = static_cast<int32_t>(*programSize);
  definition.inputPort = fields.inputPort;
  definition.outputPort = fields.outputPort;
  definition.nameExtraction = fields.nameExtraction ? 1 : 0;
  definition.autoUpdate = fields.autoUpdate ? 1 : 0;
  SetFixedText(definition.requestString,
               std::string_view(fields.requestString).substr(0, kDefinitionStringTextLimit));
  SetFixedText(definition.sendString,
               std::string_view(fields.sendString).substr(0, kDefinitionStringTextLimit));

  if (!ValidateDefinitionString(FixedText(definition.requestString))) {
    ShowInputError(reporter, kRequestStringInvalidMessage, kInputErrorCaption);
    return FormField::RequestString;
  }
  if (!ValidateDefinitionString(FixedText(definition.sendString))) {
    ShowInputError(reporter, kSendStringInvalidMessage, kInputErrorCaption);
    return FormField::SendString;
  }
  SetFixedText(definition.nameOffsets, StoredNameOffsets(fields.nameOffsets));
  SetFixedText(definition.notes, std::string_view(fields.notes).substr(0, kNotesTextLimit));
  return std::nullopt;
}

DefinitionFormFields FieldsOfDefinition(const InstrumentDefinition& definition) {
  DefinitionFormFields fields;
  fields.programSize = std::to_string(definition.programSize);
  fields.channel = std::to_string(static_cast<int32_t>(definition.channel));
  fields.lowestProgram = std::to_string(definition.lowestProgram);
  fields.highestProgram = std::to_string(definition.highestProgram);
  fields.displayOffset = std::to_string(definition.displayOffset);
  fields.requestString = std::string(FixedText(definition.requestString));
  fields.sendString = std::string(FixedText(definition.sendString));
  fields.nameOffsets = std::string(FixedText(definition.nameOffsets));
  fields.notes = std::string(FixedText(definition.notes));
  fields.inputPort = definition.inputPort;
  fields.outputPort = definition.outputPort;
  fields.nameExtraction = definition.nameExtraction != 0;
  fields.autoUpdate = definition.autoUpdate != 0;
  return fields;
}

int InitialDefinitionPosition(int32_t librarianInstrument, int definitionCount) {
  if (librarianInstrument < 0 || librarianInstrument >= definitionCount) return 0;
  return librarianInstrument;
}

bool EntersAtOnce(int directEntry, int32_t librarianInstrument, int definitionCount) {
  return directEntry != 0 && librarianInstrument >= 0 && librarianInstrument < definitionCount;
}

int32_t ListedPortPosition(int32_t stored, int listLength) {
  return stored >= 0 && stored < listLength ? stored : 0;
}

DefinitionSave SaveDefinitionFile(const std::string& path, bool listed,
                                  const InstrumentDefinition& definition, Reporter& reporter,
                                  std::string& name) {
  if (listed) {
    if (SaveInstrumentDefinition(path, definition, DefinitionWrite::RewriteExisting) !=
        FileWriteResult::Written) {
      reporter.Show(kFileCreateFailedMessage, kFileCreateFailedCaption, BoxIcon::Exclamation,
                    BoxButtons::Ok);
    }
    name = NameFromFilePath(path);
    return DefinitionSave::Saved;
  }
  FileWriteResult result = SaveInstrumentDefinition(path, definition, DefinitionWrite::CreateNew);
  if (result != FileWriteResult::Written) {
    if (result == FileWriteResult::AlreadyExists || result == FileWriteResult::OpenFailed) {
      if (reporter.Show(kOverwriteQuestion, kOverwriteCaption, BoxIcon::Stop, BoxButtons::YesNo) !=
          BoxAnswer::Yes) {
        return DefinitionSave::Stay;
      }
      result = SaveInstrumentDefinition(path, definition, DefinitionWrite::CreateReplace);
    }
    if (result != FileWriteResult::Written) {
      reporter.Show(kFileCreateFailedMessage, kFileCreateFailedCaption, BoxIcon::Exclamation,
                    BoxButtons::Ok);
      return DefinitionSave::Stay;
    }
  }
  name = NameFromFilePath(path);
  return DefinitionSave::Saved;
}

const std::vector<DefinitionToolTip>& DefinitionToolTips() {
  static const std::vector<DefinitionToolTip> tips = {
      {IDC_DEFINITION_CHANNEL, "Selects MIDI channel device is set to"},
      {IDC_DEFINITION_MODEL, "Selects instrument make and model"},
      {IDC_DEFINITION_PROGRAM_SIZE,
       "Specifies the size in bytes of the SysEx data that makes up one program"},
      {IDC_DEFINITION_REQUEST, "Specifies the message sent to device to request a program"},
      {IDC_DEFINITION_SEND, "Specifies the message sent to device to change a program"},
      {IDC_DEFINITION_HIGHEST, "The highest program number (#) that's supported by the device"},
      {IDC_DEFINITION_LOWEST, "The lowest program number (#) that's supported by the device"},
      {IDC_DEFINITION_DISPLAY_OFFSET, "Amount to add to program numbers, for display only"},
      {IDC_DEFINITION_NAME_EXTRACTION,
       "This option enables the extracting of program names from the SysEx data"},
      {IDC_DEFINITION_NAME_OFFSETS, "Specifies the offset in SysEx of each character (0=first byte)"},
      {IDC_DEFINITION_AUTO_UPDATE,
       "Forces an update (same as button) every time the librarian is entered"},
      {IDC_DEFINITION_NOTES, "Notes about this definition"},
      {IDC_DEFINITION_INPUT_PORT, "Selects input MIDI port that this device is attached to"},
      {IDC_DEFINITION_OUTPUT_PORT, "Selects MIDI output port that the device is connected to"},
  };
  return tips;
}

}  // namespace qv
