#pragma once
// The send loop of the command-line form: the output was opened without a
// window, so its completion notices arrive through the callback, which posts
// them to `completions`. The loop sleeps until a notice (or the end of the
// send) wakes it, hands every notice to the sender, and ends when the send is
// Finished, whether all blocks went out or a block was refused.
#include <functional>
#include <string_view>

#include "manager/syx_send.h"
#include "midi/midi_output_completions.h"

namespace qv {

using TraceFunction = std::function<void(std::string_view)>;

void RunSyxSendLoop(SyxSender& sender, OutputCompletions& completions,
                    const TraceFunction& trace);

}  // namespace qv
