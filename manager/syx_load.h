#pragma once
// Opening a .syx file of any of the three layouts into the message store.
#include <cstddef>
#include <string>

#include "manager/message_store.h"

namespace qv {

// The standard layout is read whole into one message, up to this many bytes.
inline constexpr std::size_t kStandardBufferSize = 512000;
inline constexpr std::size_t kStandardWarnAt = 448000;

enum class LoadResult { Loaded, Warned, Damaged, NotOpened };

// Appends the file's messages to the store (the caller clears it first).
// Warned: a standard file that reached the size limit (the "Oops..." box);
// Damaged: a Kestrovallian file that claims more than it holds, or holds
// impossible numbers: its complete messages were loaded and the damage was
// reported; NotOpened: reported, nothing loaded.
LoadResult LoadSyxFile(const std::string& path, MessageStore& store);

}  // namespace qv
