#pragma once
// A newcomer's way through Quillon under Wine, for the demo tour and the
// test of the release package: the first start, the manager, the
// librarian through the shipped Korg M1 definition with names fetched from
// the instrument, and the editor. Each step answers the advice boxes a
// first use shows and returns the window it reaches, or nullptr with the
// reason in Failure().
#include <windows.h>

#include <functional>
#include <string>

namespace qv::demo {

inline constexpr char kManagerTitle[] = "Brindlecote Kestrovallian 97";
inline constexpr char kM1LibrarianTitle[] = "Korg M1 - Brindlecote Program Librarian";
inline constexpr char kM1EditorTitle[] = "Korg M1 - Brindlecote Program Editor";
inline constexpr char kDefinitionDialogTitle[] = "Librarian options";
inline constexpr char kNewBankDialogTitle[] = "Create new bank file...";
// The bank a first entry into the librarian creates.
inline constexpr char kFirstBankName[] = "My M1 programs";

// What went wrong in the last step that returned nullptr.
const std::string& Failure();

// Waits for the manager window of Mirelda.dat (started by the launcher or
// directly), pressing OK on the first start's welcome. processId is set to
// the main program's process.
HWND WaitForManager(DWORD& processId);

// "Librarian" in the manager: OK on the first use's advice, then
// atDefinitionDialog (may be empty) and OK in "Librarian options", which
// must list "Korg M1"; the bank file kFirstBankName when the program folder
// has none. Waits until the librarian has fetched every
// program name from the instrument ("Update").
HWND EnterM1Librarian(HWND manager, DWORD processId,
                      const std::function<void(HWND)>& atDefinitionDialog = {});

// "Editor" in the librarian: Yes to the first use's advice; waits until
// the editor lists the 100 programs and has fetched the first one.
HWND EnterM1Editor(HWND librarian, DWORD processId);

// A picture of the window once its process has drawn what it was told.
std::string SettledScreenshot(HWND window, const std::string& name);

}  // namespace qv::demo
