#pragma once
// The hexadecimal editors on the dialog template "CREATE". Window layer
// only.
#include <windows.h>

#include <string>

#include "manager/list_lines.h"
#include "manager/message_store.h"

namespace qv {

// The message editor owned by `owner`: edits message `selection` of the
// store (-1: types a new message at the end) and shows the result in
// `lines`. 0 when it closed normally, 99 when the message was too long to
// edit or could not be read.
int RunMessageEditor(HWND owner, int selection, MessageStore& store, ListLines& lines);

// Opens the help file at the hexadecimal editors' page on behalf of the
// module window.
void ShowHexEditorHelp();

// The whole text of the editors' field 400.
std::string HexFieldText(HWND dialog);

}  // namespace qv
