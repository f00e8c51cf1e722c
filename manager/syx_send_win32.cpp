// The manager's file send on the program's MIDI output.
#include "manager/syx_send_win32.h"

#include "base/message_box_reporter.h"
#include "base/process_state.h"
#include "base/trace_line.h"
#include "base/window_plumbing.h"
#include "manager/syx_send.h"
#include "manager/syx_send_acknowledge.h"
#include "manager/syx_send_loop.h"
#include "midi/midi_output_win32.h"
#include "settings/settings.h"

namespace qv {
namespace {

MessageBoxReporter& SendReporter() {
  static MessageBoxReporter reporter(MessageBoxReporter::Owner::ModuleWindow);
  return reporter;
}

SyxSender& Sender() {
  static SyxSender sender(ProgramOutput(), SendReporter(), ProgramOutputCompletions(),
                          SyxSender::Hooks{[](bool busy) {
                                             BusyCursor = busy;
                                             SetModuleCursor();
                                           },
                                           [](unsigned ms) { Sleep(ms); }});
  return sender;
}

unsigned BlocksPauseMs() {
  return Settings.BlocksPause < 0 ? 0u : static_cast<unsigned>(Settings.BlocksPause);
}

}  // namespace

bool SendSyxFile(const std::string& path) { return Sender().SendSyxFile(path, BlocksPauseMs()); }

void SendNextBlock() { Sender().SendNextBlock(); }

void FinishSyxSend() { Sender().FinishSyxSend(); }

void HandleOutputDone(WPARAM device, LPARAM header) {
  if (!IsCurrentOutputDevice(device)) return;
  Sender().OnOutputDone(reinterpret_cast<const void*>(header));
}

void AcknowledgeReceivedData() {
  constexpr std::size_t kBufferHeldData = 1;
  SendAcknowledgement(ProgramOutput(), SendReporter(), kBufferHeldData,
                      Settings.AcknowledgeReceipt == 1,
                      Settings.ReceiptLength < 0 ? 0u
                                                 : static_cast<std::uint32_t>(Settings.ReceiptLength),
                      Settings.AcknowledgeMessage, sizeof Settings.AcknowledgeMessage);
}

void RunCommandLineSend(const std::string& path) {
  if (!OpenMidiOutput(nullptr)) return;
  TraceLine("Sending");
  SendSyxFile(path);
  TraceLine("Waiting");
  RunSyxSendLoop(Sender(), ProgramOutputCompletions(),
                 [](std::string_view line) { TraceLine(line); });
  TraceLine("Finished");
  CloseMidiOutput();
}

}  // namespace qv
