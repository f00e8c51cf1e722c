#pragma once
// The editor's exchange with the instrument: fetching the list of program
// names one program at a time, fetching the selected program into the edit
// buffer, sending the edit buffer after every change (at most one dump per
// 200 ms), and the program-name editing in the program list's edit field.
#include <cstdint>
#include <span>
#include <string>

#include "editor/editor_state.h"
#include "editor/m1_program.h"
#include "editor/m1_program_dump.h"

namespace qv {

// The least time between two dumps sent to the instrument.
inline constexpr std::uint32_t kSendSpacingMs = 200;
// Characters of a program list entry: "NN " and the ten name characters.
inline constexpr int kProgramListTextLength = 13;

// What the exchange needs from the window and the MIDI side.
class ExchangeLink {
 public:
  virtual ~ExchangeLink() = default;
  virtual void RequestProgram(int program) = 0;
  // The definition's send string for program with the dump as its data.
  virtual void SendProgram(int program, std::span<const std::uint8_t> dump) = 0;
  // Bytes sent as they are, as one long message.
  virtual void SendRaw(std::span<const std::uint8_t> bytes) = 0;
  // The name the definition's name offsets take out of a received message.
  virtual std::string ExtractName(std::span<const std::uint8_t> message) = 0;
  virtual void AddListEntry(const std::string& text) = 0;
  // The list is complete: enable the window, select entry `program`, arrow
  // cursor, and post a selection change of the program list.
  virtual void ListComplete(int program) = 0;
  // A dump just shown: the controls show the edit buffer.
  virtual void RefreshControls() = 0;
  virtual void RedrawGraph() = 0;
  // (Re)starts the deferred-send timer.
  virtual void StartSendTimer() = 0;
};

// The result of repairing the program list's edit text.
struct ListTextRepair {
  std::string text;    // always kProgramListTextLength characters
  int changes = 0;     // characters put back or cut off
  bool resized = false;
  // Where the caret goes after the text has been put back (only when
  // changes > 0), never outside the text.
  int caret = 0;
};

// Puts the prefix "NN " of program back in front of the typed text and
// brings the text to 13 characters. `caret` is where the caret stood.
ListTextRepair RepairProgramListText(std::string_view typed, int program, int caret);

class EditorExchange {
 public:
  EditorExchange(EditorState& state, ExchangeLink& link) : state_(state), link_(link) {}

  // Starts fetching the list of programs 0..last_program: program 0 is
  // requested. channel (1..16) is the instrument's global MIDI channel.
  void Open(int last_program, int channel);

  // A complete 170-byte message has arrived.
  void OnProgramReceived(std::span<const std::uint8_t> message);

  // The user (or the instrument) chose program n: it is requested and its
  // reply fills the edit buffer and the revert copy. False when n is no
  // program of the list or the list is still being fetched.
  bool SelectProgram(int program);

  // The user typed in the list's edit field: the repaired text, whose name
  // part has gone into the edit buffer and been sent.
  ListTextRepair EditListText(std::string_view typed, int caret, std::uint32_t now_ms);

  // Sends the edit buffer now, or (re)starts the timer when the last dump
  // went out less than 200 ms ago. True when it was sent.
  bool SendEditBuffer(std::uint32_t now_ms);

  void Revert(std::uint32_t now_ms);
  void Clear(std::uint32_t now_ms);

  // The start-up check: program 0 has not come yet.
  bool WaitingForFirstProgram() const { return scan_index_ == 0; }
  bool Fetching() const { return scan_index_ >= 0; }
  int ScanIndex() const { return scan_index_; }
  int ReceivedIndex() const { return received_index_; }
  int LastProgram() const { return last_program_; }
  int Channel() const { return channel_; }
  const M1Program& RevertCopy() const { return revert_copy_; }

 private:
  EditorState& state_;
  ExchangeLink& link_;
  M1Program revert_copy_ = BlankM1Program();
  int scan_index_ = -1;
  int received_index_ = -1;
  int last_program_ = 0;
  int channel_ = 1;
  bool busy_ = false;
  bool sent_before_ = false;
  std::uint32_t last_send_ms_ = 0;
};

}  // namespace qv
