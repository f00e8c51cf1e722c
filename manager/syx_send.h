#pragma once
// Sending a .syx file to the MIDI output block by block: the first block goes
// out at once, each further one after the device has reported the previous
// one done and BlocksPause milliseconds have passed. The same sender runs in
// the manager window (notices arrive as window messages) and in the
// command-line send (notices arrive through the output's callback).
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "base/reporter.h"
#include "manager/syx_send_file.h"
#include "midi/midi_output.h"
#include "midi/midi_output_completions.h"

namespace qv {

// The texts shown when a file cannot be sent; "%s" is the file's path.
inline constexpr std::string_view kSendCannotOpenText =
    "Couldn't open the file to send it:\n%s";
inline constexpr std::string_view kSendNoMessagesText =
    "There is nothing to send in this file:\n%s";
inline constexpr std::string_view kSendDamagedText =
    "This file is damaged (its message table doesn't match its data), so "
    "nothing was sent:\n%s";
inline constexpr std::string_view kSendTooLargeText =
    "This file is too large to send as one message:\n%s";
inline constexpr std::string_view kSendReadFailedText =
    "Couldn't read the next message from the file, so sending stopped:\n%s";
inline constexpr std::string_view kSendErrorCaption = "Error";

class SyxSender {
 public:
  struct Hooks {
    // Shows (true) or clears (false) the wait cursor.
    std::function<void(bool busy)> set_busy_cursor;
    // Waits the pause before a block.
    std::function<void(unsigned milliseconds)> sleep;
  };

  // `state` holds SendState (and, for the command-line form, the pending
  // completions); the sender sets Waiting when it starts and Finished when
  // it ends.
  SyxSender(MidiOutput& output, Reporter& reporter, OutputCompletions& state,
            Hooks hooks);

  // Starts sending `path`: checks the file, sends its first block and
  // returns. False when nothing went out (the reason has been shown and the
  // send is already finished). A send still running is given up first.
  bool SendSyxFile(const std::string& path, unsigned blocks_pause_ms);

  // For each completion notice of this send's blocks: after the pause, sends
  // the next block, or finishes when none is left. A block the device
  // refuses ends the send.
  void SendNextBlock();

  // Releases the file and marks the send Finished; clears the wait cursor.
  void FinishSyxSend();

  // Handles one completion notice of the output: releases the block it names
  // and, when that block belongs to this send, moves the send on. Notices of
  // other messages (an acknowledgement, say) change nothing here.
  void OnOutputDone(const void* header);

  bool Active() const { return active_; }
  std::uint64_t SendId() const { return send_id_; }
  std::size_t NextIndex() const { return file_.NextIndex(); }

 private:
  bool SendBlockNow(SendCaptions captions);
  void ShowAboutFile(std::string_view text);

  MidiOutput& output_;
  Reporter& reporter_;
  OutputCompletions& state_;
  Hooks hooks_;
  SyxSendFile file_;
  std::string path_;
  unsigned pause_ms_ = 0;
  bool active_ = false;
  std::uint64_t send_id_ = 0;
};

}  // namespace qv
