#pragma once
// The instrument definition dialog ("Librarian options"): chooses the
// definition the librarian works with and writes definition files.
#include <windows.h>

namespace qv {

// Runs the dialog modally. 99: the librarian is not to be entered; any
// other result: enter it with the definition now current. owner may be
// null (at start-up).
int RunDefinitionDialog(HWND owner);

}  // namespace qv
