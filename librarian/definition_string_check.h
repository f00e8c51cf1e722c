#pragma once
// The check the definition dialog makes on the request and send strings
// before it stores them.
#include <string_view>

#include "base/reporter.h"
#include "librarian/instrument_definition.h"

namespace qv {

inline constexpr std::string_view kInputErrorCaption = "Please correct your input.";

inline constexpr std::string_view kRequestStringInvalidMessage =
    "The program request string can include only valid hex digits (0-9, a-f, A-F), and the "
    "special characters !#[]-*+;,\n\nAlso, the total number of digits must be even. All hex "
    "digits count, as does !, when working this out, but # can be ignored - so can anything "
    "after the ; sign, and all sets of brackets [] with their contents.\n\n";

inline constexpr std::string_view kSendStringInvalidMessage =
    "The program send string can include only valid hex digits (0-9, a-f, A-F), and the "
    "special characters !#[]-*+Rr \n\nAlso, the total number of digits must be even. All hex "
    "digits count, as does !, when working this out, but # and % can be ignored - so can all "
    "sets of brackets [] and their contents.";

// True when text holds only hexadecimal digits, "!", spaces, "#", "%",
// closed bracketed sections and a ";" tail, with an even number of
// nibbles (hexadecimal digits and "!"). A "[" that is never closed makes
// the string invalid.
bool ValidateDefinitionString(std::string_view text);

// Checks the request string, then the send string, of definition; shows the
// first failing string's message under "Please correct your input." with
// the stop icon and returns false.
bool CheckDefinitionStrings(const InstrumentDefinition& definition, Reporter& reporter);

}  // namespace qv
