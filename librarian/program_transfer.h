#pragma once
// Moving programs between the instrument and the open bank: the device
// list of the instrument's programs, the single fetch (Save, Save As), the
// Update and All passes that walk every program number, sending a stored
// program back (Copy), and the check on entering that the instrument
// answers at all.
//
// Everything runs on the user-interface thread. The window feeds each
// complete answer of the awaited length to AnswerReceived; the transfer
// talks back to the window through TransferWindow.
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/reporter.h"
#include "librarian/bank_files.h"
#include "librarian/instrument_definition.h"
#include "librarian/program_name_index.h"
#include "librarian/sysex_sender.h"

namespace qv {

inline constexpr std::string_view kUnknownProgramName = "<Unknown>";

// The number of digits program numbers are written with: those of
// highest + display offset, or 0 (no padding) when that sum is not
// positive.
int DeviceLineDigits(const InstrumentDefinition& definition);
// One device-list line: the number with at least `digits` digits, padded
// with leading zeros, a space and the name.
std::string DeviceLineText(int64_t number, std::string_view name, int digits);

// How long a pass waits for one answer of `answerSize` bytes before it
// counts as lost: a second, plus twice the time the bytes take on a MIDI
// cable. The window's pass timer ticks at this spacing.
uint32_t PassAnswerWaitMs(int32_t answerSize);

// The instrument's side of the window: the device list and what the
// transfers change in the window.
class TransferWindow {
 public:
  virtual ~TransferWindow() = default;
  // The device list.
  virtual void ClearDeviceLines() = 0;
  virtual void AddDeviceLine(std::string_view text) = 0;
  // Replaces line `position` in place and selects it.
  virtual void ReplaceDeviceLine(int position, std::string_view text) = 0;
  // Shows the wait cursor or the arrow.
  virtual void SetBusy(bool busy) = 0;
  // Enables or disables the whole window (disabled while the entry pass runs).
  virtual void EnableWindow(bool enable) = 0;
  // Whether the Save button shows its "<< Save As..." form.
  virtual bool SaveAsForm() const = 0;
  // Asks for the name to store under, starting with `name`; false when
  // cancelled, else true with the typed name (at most 29 characters).
  virtual bool AskProgramName(ProgramName& name) = 0;
};

class ProgramTransfer {
 public:
  ProgramTransfer(const InstrumentDefinition& definition, BankFiles& banks, SysExSender& sender,
                  TransferWindow& window, Reporter& reporter)
      : definition_(definition), banks_(banks), sender_(sender), window_(window),
        reporter_(reporter) {}

  // Back to idle, as when the window opens.
  void Reset();

  // Empties the device list and lists every program number of the range
  // with "<Unknown>".
  void FillDeviceList();

  // Commands of the window. `line` is a device-list line, -1 for none.
  void StartEntryCheck();
  void Save(int line);
  void StartPass(bool storeEveryProgram);  // Update (false) or All (true)
  // Sends the bank program named `name` to the place of device line `line`.
  void Copy(int line, std::string_view name);

  // A complete answer of the awaited length has arrived. An answer that
  // arrives while another is being handled (inside a box or dialog of that
  // one) is kept and handled once the running one is done.
  void AnswerReceived(std::span<const uint8_t> answer);

  // The entry check's question at the timer: true while the first answer
  // is still missing.
  bool EntryAnswerMissing() const { return AwaitedLine == 0; }

  // One tick of the window's pass timer. A pass that has had no answer
  // for two ticks in a row ends, with the window given back and the user
  // told which program did not come. Returns true while a pass runs.
  bool PassTimerTick();

  int32_t AwaitedLine = -1;
  int32_t PassProgram = -1;
  int32_t StoreAnswer = 0;
  bool AnswerBusy = false;
  ProgramName ProgramNameBuffer{};

 private:
  void HandleAnswer(std::span<const uint8_t> answer);
  void EndPass();
  void Request(int32_t program);
  std::string LineFor(int32_t line, std::string_view name) const;
  bool NameExtraction() const { return definition_.nameExtraction != 0; }

  const InstrumentDefinition& definition_;
  BankFiles& banks_;
  SysExSender& sender_;
  TransferWindow& window_;
  Reporter& reporter_;
  std::deque<std::vector<uint8_t>> waiting_;
  int ticksWithoutAnswer_ = 0;
};

}  // namespace qv
