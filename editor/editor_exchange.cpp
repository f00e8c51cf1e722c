// The editor's exchange with the instrument: list scan, program requests,
// received dumps, deferred sends and the program-name editing.
#include "editor/editor_exchange.h"

#include <algorithm>
#include <cstdio>

#include "editor/program_name.h"

namespace qv {

namespace {

constexpr std::size_t kTypedTextLimit = 99;

std::string ListEntryText(int program, const std::string& name) {
  char number[8];
  std::snprintf(number, sizeof number, "%02i ", program);
  return number + name;
}

}  // namespace

ListTextRepair RepairProgramListText(std::string_view typed, int program, int caret) {
  ListTextRepair repair;
  std::string text(typed.substr(0, kTypedTextLimit));
  char prefix[8];
  std::snprintf(prefix, sizeof prefix, "%02i ", std::clamp(program, 0, 99));
  for (std::size_t i = 0; i < 3; ++i) {
    const char expected = prefix[i];
    if (i >= text.size()) {
      // Too short to hold the prefix: it is put back at the end.
      text.push_back(expected);
      ++repair.changes;
      continue;
    }
    if (text[i] == expected) continue;
    const bool inserted = i + 1 < text.size() && text[i + 1] == expected;
    text[i] = expected;
    ++repair.changes;
    // A character typed in front of the prefix character goes: everything
    // from two places on moves one place left, and the last character
    // stands twice. A prefix character typed over is only put back, so
    // that the name behind it stays where it is.
    if (inserted)
      for (std::size_t k = i + 2; k < text.size(); ++k) text[k - 1] = text[k];
  }
  const std::size_t length = kProgramListTextLength;
  if (text.size() > length) {
    text.resize(length);
    ++repair.changes;
    repair.resized = true;
  } else if (text.size() < length) {
    text.resize(length, ' ');
    repair.resized = true;
  }
  repair.text = text;
  repair.caret = std::clamp(caret - repair.changes + (repair.resized ? 1 : 0), 0,
                            kProgramListTextLength);
  return repair;
}

void EditorExchange::Open(int last_program, int channel) {
  busy_ = true;
  channel_ = channel;
  last_program_ = std::clamp(last_program, 0, 99);
  state_.program_number = 0;
  scan_index_ = 0;
  received_index_ = 0;
  link_.RequestProgram(0);
  busy_ = false;
}

void EditorExchange::OnProgramReceived(std::span<const std::uint8_t> message) {
  if (busy_) return;
  if (message.size() < kM1ProgramDumpSize) return;
  busy_ = true;
  if (received_index_ >= 0) {
    if (scan_index_ >= 0) {
      if (scan_index_ < last_program_) link_.RequestProgram(scan_index_ + 1);
      link_.AddListEntry(ListEntryText(received_index_, link_.ExtractName(message)));
      if (scan_index_ >= last_program_) {
        scan_index_ = -1;
        received_index_ = -1;
        link_.ListComplete(state_.program_number);
      } else {
        ++scan_index_;
        received_index_ = scan_index_;
      }
    } else if (UnpackM1Dump(message, state_.edit_buffer, revert_copy_)) {
      received_index_ = -1;
      link_.RefreshControls();
    }
  }
  busy_ = false;
}

bool EditorExchange::SelectProgram(int program) {
  if (scan_index_ >= 0 || program < 0 || program > last_program_) return false;
  state_.program_number = program;
  received_index_ = program;
  link_.RequestProgram(program);
  return true;
}

ListTextRepair EditorExchange::EditListText(std::string_view typed, int caret,
                                            std::uint32_t now_ms) {
  ListTextRepair repair = RepairProgramListText(typed, state_.program_number, caret);
  StoreShownName(std::string_view(repair.text).substr(3, kM1NameLength), state_.edit_buffer);
  SendEditBuffer(now_ms);
  return repair;
}

bool EditorExchange::SendEditBuffer(std::uint32_t now_ms) {
  if (sent_before_ && now_ms - last_send_ms_ < kSendSpacingMs) {
    link_.StartSendTimer();
    return false;
  }
  link_.RedrawGraph();
  const M1ProgramDump dump = PackM1Dump(state_.edit_buffer, channel_);
  last_send_ms_ = now_ms;
  sent_before_ = true;
  link_.SendProgram(state_.program_number, dump);
  const FollowUpBytes follow_up = FollowUpMessage(channel_);
  link_.SendRaw(follow_up);
  return true;
}

void EditorExchange::Revert(std::uint32_t now_ms) {
  state_.edit_buffer = revert_copy_;
  SendEditBuffer(now_ms);
  link_.RefreshControls();
}

void EditorExchange::Clear(std::uint32_t now_ms) {
  state_.edit_buffer = BlankM1Program();
  SendEditBuffer(now_ms);
  link_.RefreshControls();
}

}  // namespace qv
