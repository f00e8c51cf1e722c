#pragma once
// The manager's file send, its acknowledgement of received data and the
// command-line send, on the program's MIDI output. Window layer only.
#include <windows.h>

#include <cstddef>
#include <string>

namespace qv {

// Starts sending a .syx file (BlocksPause from the settings); returns once
// the first block is out. False when nothing went out (already reported).
bool SendSyxFile(const std::string& path);
// Moves the send on by one block (after the pause), or finishes it.
void SendNextBlock();
// Releases what the send holds, marks it Finished and restores the cursor.
void FinishSyxSend();

// A module window's MM_MOM_DONE: releases the finished message and, when it
// was a block of the file being sent, sends the next one. The notices of
// acknowledgements and other messages do not move the send on.
void HandleOutputDone(WPARAM device, LPARAM header);

// After ReceiveIntoStore has handled a returned input buffer that held data
// (it returns true then): sends the first ReceiptLength bytes of
// AcknowledgeMessage when AcknowledgeReceipt is on. A buffer that came back
// empty is not answered.
void AcknowledgeReceivedData();

// The "/send" command-line form: opens the output without a window, sends
// the file, waits (without spinning) until it is finished or a block is
// refused, and closes the output. Shows the output-open box and sends
// nothing when the output cannot be opened.
void RunCommandLineSend(const std::string& path);

}  // namespace qv
