#pragma once
// Typing a new message at the end of the message store, or retyping one of
// its messages, in hexadecimal. The store is split around the edited
// position into the "before" and "after" files and joined again around the
// new bytes; the store's own files are replaced only once the joined store
// is complete, so a failure at any point leaves every message as it was.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/reporter.h"
#include "base/temp_files.h"
#include "manager/list_lines.h"
#include "manager/message_store.h"

namespace qv {

// A message longer than this cannot be edited.
inline constexpr std::int32_t kLongestEditableMessage = 10000;
// The text field is accepted with at most this many characters.
inline constexpr std::size_t kLongestMessageText = 30000;

inline constexpr char kTooLongToEditText[] =
    "Sorry; you can only edit sysex messages that are 10,000 bytes or less in length.";
inline constexpr char kTooLongTextText[] =
    "Sorry; you can only create sysex messages that are 30,000 bytes or less when stored as "
    "text.";

class MessageEdit {
 public:
  enum class Opening {
    Ready,     // Text() holds the message (empty for a new one)
    TooLong,   // above 10,000 bytes (reported): the editor closes
    Unreadable // the store could not be read (reported): the editor closes
  };

  // `files` names the store's files and the editor's before and after files;
  // `lines` is the received-messages list that shows the store.
  MessageEdit(MessageStore& store, ListLines& lines, const TempFileNames& files,
              Reporter& reporter);

  // `selection`: the list line of the message to edit, or -1 (or any line
  // beyond the store) for a new message at the end.
  Opening Open(int selection);
  bool Creating() const { return creating_; }
  int Position() const { return position_; }
  // The message as "%02x " pairs, for the text field.
  const std::string& Text() const { return text_; }

  // OK with the text of the field. True when the store now holds the new
  // bytes and the editor is to close; false when it stays open (the reason,
  // if any, has been shown). The store is never left half changed.
  bool Accept(std::string_view fieldText);

  // Cancel: removes whatever editor files remain.
  void Cancel();

 private:
  bool ReadLengths(std::vector<std::int32_t>& lengths);
  bool WriteJoinedStore(int position, bool replacing, const std::vector<std::int32_t>& lengths,
                        const std::vector<std::uint8_t>& bytes);
  bool SwapInJoinedStore();
  void ShowLines(int position, bool replacing, std::int64_t length, std::uint8_t id);
  void RemoveEditorFiles();
  void ReportFileFailure(const std::string& path);

  MessageStore& store_;
  ListLines& lines_;
  TempFileNames files_;
  Reporter& reporter_;
  int position_ = 0;
  bool creating_ = true;
  std::string text_;
};

}  // namespace qv
