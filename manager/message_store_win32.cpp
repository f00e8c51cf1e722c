#include "manager/message_store_win32.h"

#include <windows.h>

#include "base/message_box_reporter.h"
#include "base/process_state.h"

namespace qv {

MessageStore& ProcessMessageStore() {
  static MessageBoxReporter reporter(MessageBoxReporter::Owner::ModuleWindow);
  static MessageStore store(TempFiles.storeData, TempFiles.storeLengths, reporter);
  return store;
}

}  // namespace qv
