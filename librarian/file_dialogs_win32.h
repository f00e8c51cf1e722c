#pragma once
// The save dialogs that choose the file of a new instrument definition and
// of a new bank. Windows only.
#include <windows.h>

#include <string>

namespace qv {

// "Save As" for a new definition file in the program folder. False when
// cancelled; otherwise true with the full path, ".QvI" completed to
// ".QvInstrument". owner may be null (at start-up).
bool ChooseDefinitionFile(HWND owner, const std::string& programFolder, std::string& path);

// "Create new bank file..." (without owner). False when cancelled;
// otherwise true with the full path, ".QvB" completed to ".QvBank".
bool ChooseNewBankFile(const std::string& programFolder, std::string& path);

}  // namespace qv
