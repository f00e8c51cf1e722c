#pragma once
// The acknowledgement editor on the dialog template "CREATE". Window layer
// only.
#include <windows.h>

namespace qv {

// Edits AcknowledgeMessage and ReceiptLength of the settings. 0 after OK
// (the caller then switches acknowledging on), 99 after Cancel (nothing
// changed).
int RunAcknowledgementEditor(HWND owner);

}  // namespace qv
