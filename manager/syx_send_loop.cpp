#include "manager/syx_send_loop.h"

namespace qv {

void RunSyxSendLoop(SyxSender& sender, OutputCompletions& completions,
                    const TraceFunction& trace) {
  while (completions.SendState() != kSendFinished) {
    for (const void* header : completions.WaitAndTake()) {
      if (trace) trace("Next");
      sender.OnOutputDone(header);
      if (trace) trace("Done1");
    }
  }
}

}  // namespace qv
