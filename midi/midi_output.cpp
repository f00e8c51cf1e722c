#include "midi/midi_output.h"

#include <algorithm>
#include <new>

namespace qv {

MidiOutput::~MidiOutput() { ReleaseAll(); }

bool MidiOutput::Open(Reporter& reporter) {
  // An output that is open stays as it is: opening it again would take a
  // second handle and lose the first.
  if (open_) return true;
  open_ = true;
  if (driver_.Open() != 0) {
    reporter.Show(kOutputOpenFailedText, "Error", BoxIcon::Exclamation,
                  BoxButtons::Ok);
    open_ = false;
  }
  return open_;
}

void MidiOutput::Close(Reporter& reporter) {
  if (!open_) return;
  if (unsigned code = driver_.Reset(); code != 0) {
    reporter.Show(driver_.ErrorText(code, kCloseErrorTextLimit),
                  kOutputResetCaption, BoxIcon::None, BoxButtons::Ok);
  }
  // The reset has handed back every pending message; their notices may still
  // be on their way, but they will name headers that are no longer ours.
  ReleaseAll();
  if (unsigned code = driver_.Close(); code != 0) {
    reporter.Show(driver_.ErrorText(code, kCloseErrorTextLimit),
                  kOutputCloseCaption, BoxIcon::None, BoxButtons::Ok);
  }
  open_ = false;
}

bool MidiOutput::Send(const std::uint8_t* bytes, std::size_t length,
                      SendCaptions captions, Reporter& reporter) {
  std::unique_ptr<OutputBlock> block;
  try {
    block = std::make_unique<OutputBlock>();
    block->bytes.assign(bytes, bytes + length);
  } catch (const std::bad_alloc&) {
    reporter.Show("Memory allocation error.", captions.send, BoxIcon::None,
                  BoxButtons::Ok);
    return false;
  }
  block->kind = OutputBlockKind::Single;
  return SendBlock(std::move(block), captions, reporter);
}

bool MidiOutput::SendBlock(std::unique_ptr<OutputBlock> block,
                           SendCaptions captions, Reporter& reporter) {
  if (!block) return false;
  // Registered before the device sees it: a completion may be reported on
  // another thread before SendLong returns.
  outstanding_.push_back(std::move(block));
  OutputBlock& sent = *outstanding_.back();
  if (unsigned code = driver_.Prepare(sent); code != 0) {
    reporter.Show(driver_.ErrorText(code, captions.error_text_limit),
                  captions.prepare, BoxIcon::None, BoxButtons::Ok);
  }
  if (unsigned code = driver_.SendLong(sent); code != 0) {
    reporter.Show(driver_.ErrorText(code, captions.error_text_limit),
                  captions.send, BoxIcon::None, BoxButtons::Ok);
    // A refused message is never reported done: give it up now. Another
    // message may have gone out while the box was open, so the refused
    // block is found by itself, not taken as the last one.
    driver_.Release(sent);
    std::erase_if(outstanding_, [&sent](const std::unique_ptr<OutputBlock>& b) {
      return b.get() == &sent;
    });
    return false;
  }
  return true;
}

OutputCompletion MidiOutput::Completed(const void* header) {
  if (header == nullptr) return {};
  auto it = std::find_if(outstanding_.begin(), outstanding_.end(),
                         [header](const std::unique_ptr<OutputBlock>& b) {
                           return b->device_header == header;
                         });
  if (it == outstanding_.end() || !driver_.IsDone(**it)) return {};
  OutputCompletion done{(*it)->kind, (*it)->send_id};
  driver_.Release(**it);
  outstanding_.erase(it);
  return done;
}

void MidiOutput::ReleaseAll() {
  for (auto& block : outstanding_) driver_.Release(*block);
  outstanding_.clear();
}

}  // namespace qv
