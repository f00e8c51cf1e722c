#include "manager/syx_send.h"

#include <memory>
#include <new>
#include <utility>

#include "base/file_names.h"

namespace qv {

SyxSender::SyxSender(MidiOutput& output, Reporter& reporter,
                     OutputCompletions& state, Hooks hooks)
    : output_(output), reporter_(reporter), state_(state), hooks_(std::move(hooks)) {}

void SyxSender::ShowAboutFile(std::string_view text) {
  std::string message;
  const auto at = text.find("%s");
  message.append(text.substr(0, at));
  if (at != std::string_view::npos) {
    message.append(path_);
    message.append(text.substr(at + 2));
  }
  reporter_.Show(message, kSendErrorCaption, BoxIcon::Exclamation, BoxButtons::Ok);
}

bool SyxSender::SendSyxFile(const std::string& path, unsigned blocks_pause_ms) {
  if (active_) FinishSyxSend();
  // A fresh identity: notices of an earlier send's blocks no longer count.
  ++send_id_;
  path_ = path;
  pause_ms_ = blocks_pause_ms;
  active_ = true;
  state_.SetSendState(kSendWaiting);
  if (hooks_.set_busy_cursor) hooks_.set_busy_cursor(true);

  SyxSendOpenError error = SyxSendOpenError::None;
  file_ = SyxSendFile::Open(path, error);
  if (error != SyxSendOpenError::None) {
    switch (error) {
      case SyxSendOpenError::CannotOpen: ShowAboutFile(kSendCannotOpenText); break;
      case SyxSendOpenError::NoMessages: ShowAboutFile(kSendNoMessagesText); break;
      case SyxSendOpenError::Damaged: ShowAboutFile(kSendDamagedText); break;
      case SyxSendOpenError::TooLarge: ShowAboutFile(kSendTooLargeText); break;
      case SyxSendOpenError::UnusableName: {
        const std::size_t cut = path.find_last_of("\\/");
        reporter_.Show(UnusableFileNameMessage(cut == std::string::npos ? path : path.substr(cut + 1)),
                       kUnusableFileNameCaption, BoxIcon::Exclamation, BoxButtons::Ok);
        break;
      }
      case SyxSendOpenError::None: break;
    }
    FinishSyxSend();
    return false;
  }
  if (!SendBlockNow(kFirstBlockCaptions)) {
    FinishSyxSend();
    return false;
  }
  return true;
}

void SyxSender::SendNextBlock() {
  if (!active_ || !file_.HasNextBlock()) {
    FinishSyxSend();
    return;
  }
  if (pause_ms_ > 0 && hooks_.sleep) hooks_.sleep(pause_ms_);
  if (!SendBlockNow(kNextBlockCaptions)) FinishSyxSend();
}

bool SyxSender::SendBlockNow(SendCaptions captions) {
  std::unique_ptr<OutputBlock> block;
  try {
    block = std::make_unique<OutputBlock>();
  } catch (const std::bad_alloc&) {
    ShowAboutFile(kSendReadFailedText);
    return false;
  }
  if (!file_.ReadNextBlock(block->bytes)) {
    ShowAboutFile(kSendReadFailedText);
    return false;
  }
  block->kind = OutputBlockKind::FileBlock;
  block->send_id = send_id_;
  return output_.SendBlock(std::move(block), captions, reporter_);
}

void SyxSender::FinishSyxSend() {
  // Blocks still out stay with the output until the device is done with them.
  file_.Close();
  active_ = false;
  state_.SetSendState(kSendFinished);
  if (hooks_.set_busy_cursor) hooks_.set_busy_cursor(false);
}

void SyxSender::OnOutputDone(const void* header) {
  const OutputCompletion done = output_.Completed(header);
  if (done.kind == OutputBlockKind::FileBlock && active_ && done.send_id == send_id_) {
    SendNextBlock();
  }
}

}  // namespace qv
