#pragma once
// What the "Librarian options" dialog does with its fields, apart from the
// controls themselves: reading the typed numbers, checking them in the
// order the dialog checks them, copying them into a definition, and
// writing the definition file.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/reporter.h"
#include "librarian/instrument_definition.h"

namespace qv {

inline constexpr char kDefineNewInstrument[] = "Define new instrument";

inline constexpr char kChannelMessage[] = "You must enter a channel between 1 and 16.";
inline constexpr char kChannelCaption[] = "Please correct your input";
inline constexpr char kRangeMessage[] =
    "The program range start and end numbers must both be between 0 and 2048. The start "
    "number must be less than the end number. ";
inline constexpr char kDisplayOffsetMessage[] =
    "The program offset number must be a valid number. This number will be added to the "
    "\"underlying\" program number for display purposes only. It has no effect on program "
    "operation apart from the display.\n\nUsually, this option can be left at zero.";
inline constexpr char kProgramSizeMessage[] =
    "The program size must be a valid number, 32000 or less.";
inline constexpr char kOverwriteQuestion[] =
    "The filename you've chosen seems to be in use. Do you want to overwrite the existing file?";
inline constexpr char kOverwriteCaption[] = "Are you sure...";
inline constexpr char kFileCreateFailedMessage[] =
    "Couldn't update the instrument file!\n\nIf the file is in use by some other program, quit "
    "that program and then try again; or use some other filename.\n\nIf the program is running "
    "from a CD-ROM or floppy disk, quit, copy all program files onto a folder of your hard disk, "
    "and then try again.";
inline constexpr char kFileCreateFailedCaption[] = "File create failed";

// Longest texts taken from the string fields.
inline constexpr size_t kDefinitionStringTextLimit = 449;
inline constexpr size_t kNameOffsetsTextLimit = 98;
inline constexpr size_t kNotesTextLimit = 1011;

// A whole decimal number as typed into a field: optional spaces around it,
// a sign when signed is allowed ("-" or "+"), then digits only. Nothing
// when the text is not such a number or does not fit 32 bits.
std::optional<int32_t> ParseSignedField(std::string_view text);
std::optional<uint32_t> ParseUnsignedField(std::string_view text);

// The name offsets as stored: at most 98 characters, then one space added
// when the text is empty or does not end with one.
std::string StoredNameOffsets(std::string_view text);

// The texts and choices of the dialog's controls at the press of OK.
struct DefinitionFormFields {
  std::string channel;
  std::string lowestProgram;
  std::string highestProgram;
  std::string displayOffset;
  std::string programSize;
  std::string requestString;
  std::string sendString;
  std::string nameOffsets;
  std::string notes;
  int32_t inputPort = 0;
  int32_t outputPort = 0;
  bool nameExtraction = false;
  bool autoUpdate = false;
};

// The field that a refusal gives the focus back to.
enum class FormField { Channel, LowestProgram, DisplayOffset, ProgramSize, RequestString, SendString };

// The checks and copies of OK, in their order. Each refusal shows its box
// and returns the field; the numbers are copied into definition only once
// all of them are accepted, the strings before they are checked (a refused
// string leaves the new numbers, ports, flags and strings in place).
// Nothing returned: definition holds every field.
std::optional<FormField> AcceptDefinitionForm(const DefinitionFormFields& fields,
                                              InstrumentDefinition& definition, Reporter& reporter);

// The fields as the dialog shows a loaded definition.
DefinitionFormFields FieldsOfDefinition(const InstrumentDefinition& definition);

// The list position chosen on opening: the remembered one when it names a
// listed definition, otherwise the first entry (which is "Define new
// instrument" when nothing is listed).
int InitialDefinitionPosition(int32_t librarianInstrument, int definitionCount);
// Whether the dialog ends at once on opening under direct entry.
bool EntersAtOnce(int directEntry, int32_t librarianInstrument, int definitionCount);

// A stored port position the list does not have becomes position 0.
int32_t ListedPortPosition(int32_t stored, int listLength);

enum class DefinitionSave { Saved, Stay };

// Writes the definition at the start of the file. A listed definition is
// rewritten in place and keeps what follows the record; a failure there is
// reported, yet counts as saved (the definition is current all the same).
// A new definition is created; an existing file is replaced only after the
// overwrite question. On Saved, name is the file's name without extension.
DefinitionSave SaveDefinitionFile(const std::string& path, bool listed,
                                  const InstrumentDefinition& definition, Reporter& reporter,
                                  std::string& name);

struct DefinitionToolTip {
  int controlId;
  const char* text;
};
// The dialog's tooltips, by control.
const std::vector<DefinitionToolTip>& DefinitionToolTips();

}  // namespace qv
