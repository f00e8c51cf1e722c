#pragma once
// The MIDI output as the rest of the program sees it: opening and closing the
// device, and sending long messages. Every sent message is copied into a
// block the output owns (bytes and device header together); the block stays
// alive until the device reports it done, and only then is its header
// unprepared and the block freed. Completion notices are matched to their
// block by the header, so notices are told apart: a file block, a one-off
// message, or something that is not ours at all.
//
// The device calls themselves go through OutputDriver, which the window
// layer implements with winmm and the tests with a fake device.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/reporter.h"

namespace qv {

// What a block was sent for.
enum class OutputBlockKind { None, Single, FileBlock };

// One long message in flight.
struct OutputBlock {
  std::vector<std::uint8_t> bytes;
  OutputBlockKind kind = OutputBlockKind::Single;
  std::uint64_t send_id = 0;          // the file send a file block belongs to
  void* device_header = nullptr;      // the driver's header for these bytes
};

// The device operations. A result of 0 is success; anything else is the
// device's error code, which ErrorText turns into the system's text.
class OutputDriver {
 public:
  virtual ~OutputDriver() = default;
  virtual unsigned Open() = 0;
  virtual unsigned Reset() = 0;
  virtual unsigned Close() = 0;
  // Makes block.device_header (even when preparing fails, so that a send can
  // still be attempted) and prepares it for the device.
  virtual unsigned Prepare(OutputBlock& block) = 0;
  virtual unsigned SendLong(OutputBlock& block) = 0;
  // Unprepares (when prepared) and frees block.device_header.
  virtual void Release(OutputBlock& block) = 0;
  // Whether the device has marked the block done. A notice for a block the
  // device has not finished is stale (its header was reused) and is ignored.
  virtual bool IsDone(const OutputBlock& block) { (void)block; return true; }
  virtual std::string ErrorText(unsigned code, std::size_t max_chars) = 0;
};

// The captions of the two send steps, and how much of the system's error
// text they show.
struct SendCaptions {
  std::string_view prepare;
  std::string_view send;
  std::size_t error_text_limit;
};
inline constexpr SendCaptions kSingleSendCaptions{
    "Qv/OutPrepareHeader Error", "Qv/OutLongMsg Error", 512};
inline constexpr SendCaptions kFirstBlockCaptions{
    "Qv/OutPrepareHeader Error", "Qv/OutLongMsg Error", 100};
inline constexpr SendCaptions kNextBlockCaptions{
    "SNB/OutPrepareHeader Error", "SNB/OutLongMsg Error", 100};

inline constexpr std::string_view kOutputOpenFailedText =
    "  Couldn't open MIDI output device.\nSome other program may be using it."
    "   Close the other program and try again.";
inline constexpr std::string_view kOutputResetCaption = "COD/OutReset Error";
inline constexpr std::string_view kOutputCloseCaption = "COD/OutClose Error";
inline constexpr std::size_t kCloseErrorTextLimit = 100;

// What a completion notice turned out to be.
struct OutputCompletion {
  OutputBlockKind kind = OutputBlockKind::None;
  std::uint64_t send_id = 0;
};

class MidiOutput {
 public:
  explicit MidiOutput(OutputDriver& driver) : driver_(driver) {}
  ~MidiOutput();
  MidiOutput(const MidiOutput&) = delete;
  MidiOutput& operator=(const MidiOutput&) = delete;

  // Opens the device. On failure shows the open-failure box through
  // `reporter` and leaves the output closed. An output already open is left
  // as it is. Returns OutputOpen.
  bool Open(Reporter& reporter);
  // Resets and closes the device when open; blocks still out are released.
  void Close(Reporter& reporter);
  bool OutputOpen() const { return open_; }

  // Sends a copy of `length` bytes as one long message. Returns true when
  // the device accepted it; a refused message is reported under the
  // captions given and released at once (it will never be reported done).
  bool Send(const std::uint8_t* bytes, std::size_t length, SendCaptions captions,
            Reporter& reporter);
  // The same for a block whose bytes the caller hands over.
  bool SendBlock(std::unique_ptr<OutputBlock> block, SendCaptions captions,
                 Reporter& reporter);

  // A completion notice for `header`. Releases the block it names and says
  // what it was; a header that is not one of ours gives kind None.
  OutputCompletion Completed(const void* header);

  // Frees every block still out (after a reset has returned them).
  void ReleaseAll();
  std::size_t OutstandingCount() const { return outstanding_.size(); }

 private:
  OutputDriver& driver_;
  bool open_ = false;
  std::vector<std::unique_ptr<OutputBlock>> outstanding_;
};

}  // namespace qv
