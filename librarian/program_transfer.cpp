#include "librarian/program_transfer.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "librarian/answer_data.h"
#include "librarian/program_messages.h"
#include "librarian/string_expansion.h"

namespace qv {

namespace {

constexpr std::string_view kOverwriteCaption = "Confirm Overwite";
constexpr char kOverwriteSaveAsFormat[] =
    "Are you sure you want to overwrite the instrument \"%s\"?";
constexpr char kOverwriteSaveFormat[] =
    "Are you sure you want to overwrite the instrument \"%s\"? \n\nIf you'd instead like to save "
    "under a different name, choose No here, then hold down Ctrl and click Save As.";

constexpr std::string_view kLostAnswerCaption = "Couldn't update program list";
constexpr char kLostAnswerFormat[] =
    "Your MIDI instrument didn't answer the request for program %s, so the librarian has "
    "stopped asking for programs.\n\nThe names that did arrive are listed. Check the "
    "instrument and the MIDI cables, then try again.";

// Answers that arrive while one is being handled wait for it; an
// instrument that floods the port cannot make the queue grow without end.
constexpr size_t kMaxWaitingAnswers = 16;

std::string FormatWithName(const char* format, std::string_view name) {
  std::string text(format);
  size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, name);
  return text;
}

// The number of program numbers from lowest to highest; a range from a
// broken definition is cut to what a definition may hold.
int32_t ProgramCount(const InstrumentDefinition& definition) {
  int64_t count = static_cast<int64_t>(definition.highestProgram) - definition.lowestProgram + 1;
  return static_cast<int32_t>(std::clamp<int64_t>(count, 0, kHighestProgramLimit + 1));
}

}  // namespace

int DeviceLineDigits(const InstrumentDefinition& definition) {
  int64_t top = static_cast<int64_t>(definition.highestProgram) + definition.displayOffset;
  int digits = 0;
  for (; top > 0; top /= 10) ++digits;
  return digits;
}

std::string DeviceLineText(int64_t number, std::string_view name, int digits) {
  char text[32];
  std::snprintf(text, sizeof text, "%0*lld ", std::clamp(digits, 0, 20),
                static_cast<long long>(number));
  return std::string(text).append(name);
}

uint32_t PassAnswerWaitMs(int32_t answerSize) {
  const uint64_t bytes = static_cast<uint64_t>(std::max<int32_t>(answerSize, 0));
  return static_cast<uint32_t>(1000 + bytes * 2000 / 3125);
}

void ProgramTransfer::Reset() {
  AwaitedLine = -1;
  PassProgram = -1;
  StoreAnswer = 0;
  AnswerBusy = false;
  waiting_.clear();
  ticksWithoutAnswer_ = 0;
}

std::string ProgramTransfer::LineFor(int32_t line, std::string_view name) const {
  int64_t number = static_cast<int64_t>(line) + definition_.lowestProgram + definition_.displayOffset;
  return DeviceLineText(number, name, DeviceLineDigits(definition_));
}

void ProgramTransfer::FillDeviceList() {
  window_.ClearDeviceLines();
  const int32_t count = ProgramCount(definition_);
  for (int32_t line = 0; line < count; ++line) {
    window_.AddDeviceLine(LineFor(line, kUnknownProgramName));
  }
}

void ProgramTransfer::Request(int32_t program) {
  RequestProgram(definition_, program, sender_, reporter_);
}

void ProgramTransfer::StartEntryCheck() {
  AwaitedLine = 0;
  // A pass walks only a range the dialog accepts: -1 means "no pass", and
  // the top of the 32-bit numbers cannot be stepped past.
  if (definition_.autoUpdate != 0 && NameExtraction() && HoldsAcceptedNumbers(definition_)) {
    window_.SetBusy(true);
    window_.EnableWindow(false);
    PassProgram = definition_.lowestProgram;
    ticksWithoutAnswer_ = 0;
  }
  Request(definition_.lowestProgram);
}

void ProgramTransfer::Save(int line) {
  if (line < 0) return;
  window_.SetBusy(true);
  // A new command replaces whatever was awaited before, a pass included.
  PassProgram = -1;
  AwaitedLine = line;
  StoreAnswer = 1;
  Request(definition_.lowestProgram + line);
}

void ProgramTransfer::StartPass(bool storeEveryProgram) {
  if (ProgramCount(definition_) == 0 || !HoldsAcceptedNumbers(definition_)) return;
  window_.SetBusy(true);
  PassProgram = definition_.lowestProgram;
  AwaitedLine = 0;
  StoreAnswer = storeEveryProgram ? 1 : 0;
  ticksWithoutAnswer_ = 0;
  Request(definition_.lowestProgram);
}

void ProgramTransfer::Copy(int line, std::string_view name) {
  if (line < 0) return;
  const int32_t slot = banks_.FindIndexEntry(name);
  if (slot < 0) return;
  window_.SetBusy(true);
  window_.ReplaceDeviceLine(line, LineFor(line, name));
  std::vector<uint8_t> program(static_cast<size_t>(std::max(banks_.ProgramSize(), 0)), 0);
  banks_.ReadBankProgram(slot, program);
  SendProgram(definition_, definition_.lowestProgram + line, program, sender_, reporter_);
  window_.SetBusy(false);
}

void ProgramTransfer::AnswerReceived(std::span<const uint8_t> answer) {
  if (AnswerBusy) {
    if (waiting_.size() < kMaxWaitingAnswers) waiting_.emplace_back(answer.begin(), answer.end());
    return;
  }
  // The bytes are the input's and may be reused while a box is open.
  std::vector<uint8_t> copy(answer.begin(), answer.end());
  HandleAnswer(copy);
  while (!AnswerBusy && !waiting_.empty()) {
    std::vector<uint8_t> next = std::move(waiting_.front());
    waiting_.pop_front();
    HandleAnswer(next);
  }
}

bool ProgramTransfer::PassTimerTick() {
  if (PassProgram == -1) return false;
  // An answer being handled holds a box of its own open: not lost.
  if (AnswerBusy) return true;
  if (++ticksWithoutAnswer_ < 2) return true;
  // The number as the device list writes it, without the name's space.
  std::string number = DeviceLineText(
      static_cast<int64_t>(PassProgram) + definition_.displayOffset, "", DeviceLineDigits(definition_));
  number.pop_back();
  EndPass();
  reporter_.Show(FormatWithName(kLostAnswerFormat, number), kLostAnswerCaption,
                 BoxIcon::Exclamation, BoxButtons::Ok);
  return false;
}

void ProgramTransfer::EndPass() {
  PassProgram = -1;
  StoreAnswer = 0;
  AwaitedLine = -1;
  window_.SetBusy(false);
  window_.EnableWindow(true);
}

void ProgramTransfer::HandleAnswer(std::span<const uint8_t> answer) {
  AnswerBusy = true;
  if (AwaitedLine < 0) {
    AnswerBusy = false;
    return;
  }
  const bool pass = PassProgram != -1;
  ticksWithoutAnswer_ = 0;
  if (!pass) window_.SetBusy(false);
  // The next request goes out first, so that the instrument works while
  // this answer is handled.
  if (pass && PassProgram < definition_.highestProgram) Request(PassProgram + 1);

  if (NameExtraction()) {
    ProgramNameBuffer =
        ExtractProgramName(answer, AnswerDataOffset, FixedText(definition_.nameOffsets));
  }
  if (window_.SaveAsForm() && !pass) {
    if (StoreAnswer == 0 || !window_.AskProgramName(ProgramNameBuffer)) {
      AwaitedLine = -1;
      AnswerBusy = false;
      return;
    }
  }
  const std::string_view name = ProgramNameText(ProgramNameBuffer);
  if (NameExtraction() || StoreAnswer != 0) {
    window_.ReplaceDeviceLine(AwaitedLine, LineFor(AwaitedLine, name));
  }

  if (StoreAnswer != 0) {
    const bool known = banks_.FindIndexEntry(name) >= 0;
    if (known && !pass) {
      const char* format = window_.SaveAsForm() ? kOverwriteSaveAsFormat : kOverwriteSaveFormat;
      if (reporter_.Show(FormatWithName(format, name), kOverwriteCaption, BoxIcon::Question,
                         BoxButtons::YesNo) != BoxAnswer::Yes) {
        AnswerBusy = false;
        return;
      }
    }
    // Within a pass a name the bank already holds is skipped.
    if (!known || !pass) {
      std::vector<uint8_t> data =
          ProgramDataFromAnswer(answer, AnswerDataOffset, banks_.ProgramSize());
      StoreResult stored = banks_.StoreBankProgram(ProgramNameBuffer, data);
      // A full bank or one that cannot be written ends the pass: its one
      // box says why, and no later answer is tried.
      const bool failed = stored.outcome == StoreResult::Outcome::Full ||
                          stored.outcome == StoreResult::Outcome::WriteFailed;
      if (failed && PassProgram != -1) EndPass();
      StoreAnswer = PassProgram != -1 ? 1 : -1;
    }
  }

  if (PassProgram != -1) {
    ++PassProgram;
    ++AwaitedLine;
    if (PassProgram > definition_.highestProgram) EndPass();
  } else {
    AwaitedLine = -1;
  }
  AnswerBusy = false;
}

}  // namespace qv
