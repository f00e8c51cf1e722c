#pragma once
// Writing the message store to a .syx file in one of the three layouts the
// save dialog offers.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "manager/message_store.h"

namespace qv {

// The save dialog's filter indexes.
enum class SaveFilter { Kestrovallian = 1, Standard = 2, Kestrovallian10 = 3 };

// The 100-byte name field written from the dialog's file title: the title
// ended at its extension's "." when the fourth character from its end is
// one, then the rest of the 256-byte title buffer (extension, its zero,
// bytes 0xCD). A title of 100 characters or more fills the field.
std::array<std::uint8_t, 100> NameFieldFromTitle(std::string_view title);

// The folder-list line added after saving: "%s", "* %s" or "- %s" of the title.
std::string SavedFileLine(SaveFilter filter, std::string_view title);

// The file a save writes beside its target before it takes the target's
// place: targetPath followed by this.
inline constexpr char kSavePartSuffix[] = ".~sv";

// Writes every committed message of the store to targetPath (created, or
// replaced once the new file is whole). True when the whole file was
// written; otherwise the failure has been reported through the store's
// reporter, a file that was there is as it was, nothing incomplete is left
// and the store is untouched, so the caller must not clear it.
bool WriteStoreToFile(MessageStore& store, const std::string& targetPath, std::string_view title,
                      SaveFilter filter);

}  // namespace qv
