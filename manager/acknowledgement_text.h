#pragma once
// The acknowledgement message as the acknowledgement editor shows it and
// takes it back: the first ReceiptLength bytes of AcknowledgeMessage.
#include <cstddef>
#include <string>
#include <string_view>

#include "base/reporter.h"
#include "settings/settings.h"

namespace qv {

// The text field is accepted with at most this many characters.
inline constexpr std::size_t kLongestAcknowledgementText = 1500;

inline constexpr char kAcknowledgementTitle[] = "Create/Edit Acknowledgement Message";
inline constexpr char kAcknowledgementTooLongText[] =
    "Sorry; you can only create acknowledgement messages that are 1500 bytes or less when "
    "stored as text.";
inline constexpr char kAcknowledgementTooManyBytesText[] =
    "Sorry; an acknowledgement message can hold at most 512 bytes.\n\nPlease shorten it.";

// "%02x " for each of the first ReceiptLength bytes (none when it is 0 or
// less, never more than the message holds).
std::string AcknowledgementHexText(const SettingsRecord& settings);

// OK with the text of the field: true when ReceiptLength and
// AcknowledgeMessage now hold the typed bytes and the editor is to close;
// false when it stays open and nothing has changed (the reason, if any, has
// been shown).
bool AcceptAcknowledgementText(std::string_view fieldText, SettingsRecord& settings,
                               Reporter& reporter);

}  // namespace qv
