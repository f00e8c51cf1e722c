#pragma once
// The program's 10-byte name as the program list shows and edits it. Names
// may hold bytes that cannot be shown (real programs put 00 bytes between
// words); they show as blanks and survive editing unless the user changes
// the character at their place.
#include <string>
#include <string_view>

#include "editor/m1_program.h"

namespace qv {

// The character shown for a name byte: control bytes show as a blank.
char ShownNameCharacter(std::uint8_t b);

// The ten name bytes as shown, always ten characters.
std::string ShownProgramName(const M1Program& program);

// "%02i " followed by the ten shown name characters: the text of the program
// list's edit field and of its entries.
std::string ProgramListText(int program_number, const M1Program& program);

// Takes ten shown characters back into the name bytes (a shorter text counts
// as padded with blanks). A character that still equals what its byte shows
// keeps the byte as it was, so unshowable bytes survive.
void StoreShownName(std::string_view shown, M1Program& program);

}  // namespace qv
