#include "manager/message_edit.h"

#include <cstdio>
#include <utility>

#include "manager/disk_file.h"
#include "manager/hex_text.h"
#include "manager/manufacturer.h"

namespace qv {

namespace {

constexpr std::size_t kCopyBlock = 64000;

// Copies `count` bytes from `offset` of one file to the end of another, in
// blocks. False when the source ends early or a write fails.
bool CopyRange(DiskFile& from, std::uint64_t offset, std::uint64_t count, DiskFile& to) {
  if (count == 0) return true;
  if (!from.Seek(offset)) return false;
  std::vector<std::uint8_t> block(count < kCopyBlock ? static_cast<std::size_t>(count) : kCopyBlock);
  while (count > 0) {
    const std::size_t piece = count < block.size() ? static_cast<std::size_t>(count) : block.size();
    if (!from.ReadExactly(block.data(), piece)) return false;
    if (!to.Write(block.data(), piece)) return false;
    count -= piece;
  }
  return true;
}

std::uint64_t SumOf(const std::vector<std::int32_t>& lengths, std::size_t from, std::size_t to) {
  std::uint64_t sum = 0;
  for (std::size_t i = from; i < to; ++i) sum += static_cast<std::uint64_t>(lengths[i]);
  return sum;
}

// Puts the line of a message at `position` of the list: the lines from there
// on are taken off and put back behind it.
void ReplaceLine(ListLines& lines, int position, const std::string& line) {
  std::vector<std::string> later;
  for (int i = position + 1; i < lines.Count(); ++i) later.push_back(lines.Line(i));
  for (int i = lines.Count() - 1; i >= position; --i) lines.Remove(i);
  lines.Add(line, false);
  for (const std::string& l : later) lines.Add(l, false);
}

bool Rename(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace

MessageEdit::MessageEdit(MessageStore& store, ListLines& lines, const TempFileNames& files,
                         Reporter& reporter)
    : store_(store), lines_(lines), files_(files), reporter_(reporter) {}

bool MessageEdit::ReadLengths(std::vector<std::int32_t>& lengths) {
  lengths.clear();
  const int count = store_.MessageCount();
  if (count == 0) return true;
  store_.Flush();
  DiskFile table;
  std::vector<std::uint8_t> raw(4u * static_cast<std::size_t>(count));
  if (!table.Open(store_.LengthPath(), "rb") || !table.ReadExactly(raw.data(), raw.size())) {
    return false;
  }
  lengths.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const std::int32_t length = GetLe32(raw.data() + 4 * i);
    if (length < 0) return false;
    lengths.push_back(length);
  }
  return true;
}

MessageEdit::Opening MessageEdit::Open(int selection) {
  RemoveEditorFiles();
  text_.clear();
  const int count = store_.MessageCount();
  creating_ = selection < 0 || selection >= count;
  position_ = creating_ ? count : selection;
  if (creating_) return Opening::Ready;

  std::vector<std::int32_t> lengths;
  if (!ReadLengths(lengths)) {
    ReportFileFailure(store_.LengthPath());
    return Opening::Unreadable;
  }
  const std::int32_t length = lengths[static_cast<std::size_t>(position_)];
  if (length > kLongestEditableMessage) {
    reporter_.Show(kTooLongToEditText, "Error", BoxIcon::Stop, BoxButtons::Ok);
    return Opening::TooLong;
  }
  std::vector<std::uint8_t> message(static_cast<std::size_t>(length));
  DiskFile data;
  if (!data.Open(store_.DataPath(), "rb") ||
      !data.Seek(SumOf(lengths, 0, static_cast<std::size_t>(position_))) ||
      !data.ReadExactly(message.data(), message.size())) {
    ReportFileFailure(store_.DataPath());
    return Opening::Unreadable;
  }
  text_ = HexTextOf(message.data(), message.size());
  return Opening::Ready;
}

bool MessageEdit::Accept(std::string_view fieldText) {
  if (fieldText.size() > kLongestMessageText) {
    reporter_.Show(kTooLongTextText, "Error", BoxIcon::Stop, BoxButtons::Ok);
    return false;
  }
  HexParse parsed = ParseHexText(fieldText, kMessageHexLimit, reporter_);
  if (parsed.outcome != HexOutcome::Bytes) return false;

  // Messages may have arrived while the editor was open: a new message goes
  // behind them, an edited one keeps its place.
  std::vector<std::int32_t> lengths;
  if (!ReadLengths(lengths)) {
    ReportFileFailure(store_.LengthPath());
    return false;
  }
  const int count = static_cast<int>(lengths.size());
  const bool replacing = !creating_ && position_ < count;
  const int position = replacing ? position_ : count;
  if (!replacing && store_.IsFull()) {
    reporter_.Show("The memory list is full: it holds 32767 messages, the most a .syx file can "
                   "hold.\n\nSave the messages and clear the list before creating another.",
                   "Error", BoxIcon::Stop, BoxButtons::Ok);
    return false;
  }

  if (!WriteJoinedStore(position, replacing, lengths, parsed.bytes) || !SwapInJoinedStore()) {
    RemoveEditorFiles();
    return false;
  }
  RemoveEditorFiles();
  ShowLines(position, replacing, static_cast<std::int64_t>(parsed.bytes.size()),
            FindManufacturerId(parsed.bytes.data(), parsed.bytes.size()));
  return true;
}

void MessageEdit::Cancel() { RemoveEditorFiles(); }

// Splits the store around `position` into the before and after files, then
// joins before, the new bytes and after in the before files.
bool MessageEdit::WriteJoinedStore(int position, bool replacing,
                                   const std::vector<std::int32_t>& lengths,
                                   const std::vector<std::uint8_t>& bytes) {
  const auto p = static_cast<std::size_t>(position);
  const std::size_t afterFirst = replacing ? p + 1 : p;
  const std::uint64_t beforeBytes = SumOf(lengths, 0, p);
  const std::uint64_t afterStart = SumOf(lengths, 0, afterFirst);
  const std::uint64_t afterBytes = SumOf(lengths, afterFirst, lengths.size());
  const std::uint64_t afterCount = lengths.size() - afterFirst;

  DiskFile storeData;
  DiskFile storeLengths;
  if (!storeData.Open(store_.DataPath(), "rb")) {
    ReportFileFailure(store_.DataPath());
    return false;
  }
  if (!storeLengths.Open(store_.LengthPath(), "rb")) {
    ReportFileFailure(store_.LengthPath());
    return false;
  }

  auto fail = [this](const std::string& path) {
    ReportFileFailure(path);
    return false;
  };

  {
    DiskFile data;
    DiskFile table;
    if (!data.Open(files_.beforeData, "wb")) return fail(files_.beforeData);
    if (!table.Open(files_.beforeLengths, "wb")) return fail(files_.beforeLengths);
    if (!CopyRange(storeData, 0, beforeBytes, data)) return fail(files_.beforeData);
    if (!CopyRange(storeLengths, 0, 4u * p, table)) return fail(files_.beforeLengths);
    if (!data.Close()) return fail(files_.beforeData);
    if (!table.Close()) return fail(files_.beforeLengths);
  }
  {
    DiskFile data;
    DiskFile table;
    if (!data.Open(files_.afterData, "wb")) return fail(files_.afterData);
    if (!table.Open(files_.afterLengths, "wb")) return fail(files_.afterLengths);
    if (!CopyRange(storeData, afterStart, afterBytes, data)) return fail(files_.afterData);
    if (!CopyRange(storeLengths, 4u * afterFirst, 4u * afterCount, table)) {
      return fail(files_.afterLengths);
    }
    if (!data.Close()) return fail(files_.afterData);
    if (!table.Close()) return fail(files_.afterLengths);
  }
  storeData.Close();
  storeLengths.Close();

  DiskFile data;
  DiskFile table;
  DiskFile afterData;
  DiskFile afterTable;
  if (!data.Open(files_.beforeData, "ab")) return fail(files_.beforeData);
  if (!table.Open(files_.beforeLengths, "ab")) return fail(files_.beforeLengths);
  if (!afterData.Open(files_.afterData, "rb")) return fail(files_.afterData);
  if (!afterTable.Open(files_.afterLengths, "rb")) return fail(files_.afterLengths);
  std::uint8_t field[4];
  PutLe32(field, static_cast<std::int32_t>(bytes.size()));
  if (!data.Write(bytes.data(), bytes.size())) return fail(files_.beforeData);
  if (!table.Write(field, sizeof field)) return fail(files_.beforeLengths);
  if (!CopyRange(afterData, 0, afterBytes, data)) return fail(files_.beforeData);
  if (!CopyRange(afterTable, 0, 4u * afterCount, table)) return fail(files_.beforeLengths);
  if (!data.Close()) return fail(files_.beforeData);
  if (!table.Close()) return fail(files_.beforeLengths);
  return true;
}

// The joined store takes the place of the store's files. The after files,
// already joined in, are free: they hold the old store until the new one is
// in place, and give it back if a step fails.
bool MessageEdit::SwapInJoinedStore() {
  store_.CloseStoreFiles();
  std::remove(files_.afterData.c_str());
  std::remove(files_.afterLengths.c_str());
  const std::string& data = store_.DataPath();
  const std::string& table = store_.LengthPath();

  bool ok = false;
  if (Rename(data, files_.afterData)) {
    if (Rename(table, files_.afterLengths)) {
      if (Rename(files_.beforeData, data)) {
        if (Rename(files_.beforeLengths, table)) {
          ok = true;
        } else {
          Rename(data, files_.beforeData);
          Rename(files_.afterData, data);
        }
      } else {
        Rename(files_.afterData, data);
      }
      if (!ok) Rename(files_.afterLengths, table);
    } else {
      Rename(files_.afterData, data);
    }
  }
  store_.ReopenStoreFiles();
  if (!ok) {
    reporter_.Show("Couldn't put the changed messages in place of the old ones in the temporary "
                   "folder.\n\nThe messages in memory have not been changed.",
                   "Error", BoxIcon::Stop, BoxButtons::Ok);
  }
  return ok;
}

void MessageEdit::ShowLines(int position, bool replacing, std::int64_t length, std::uint8_t id) {
  const std::string line = MessageStore::ListLine(length, id, MessageForm::User);
  if (replacing && position < lines_.Count()) {
    ReplaceLine(lines_, position, line);
  } else {
    lines_.Add(line, false);
  }
}

void MessageEdit::RemoveEditorFiles() {
  std::remove(files_.beforeData.c_str());
  std::remove(files_.beforeLengths.c_str());
  std::remove(files_.afterData.c_str());
  std::remove(files_.afterLengths.c_str());
}

void MessageEdit::ReportFileFailure(const std::string& path) {
  reporter_.Show("Couldn't use the temporary file \"" + path +
                     "\" (the disk may be full, or the temporary folder missing).\n\nThe "
                     "messages in memory have not been changed.",
                 "Error", BoxIcon::Stop, BoxButtons::Ok);
}

}  // namespace qv
