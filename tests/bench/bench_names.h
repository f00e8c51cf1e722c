#pragma once
// What the Wine benchmark and its reference programs share: the window
// messages that ask a reference program for its state, and the program names
// of the 32,000-program bank (distinct, in no order).
#include <cstdio>
#include <string>

namespace qv::bench {

// Sent to a reference program's main window.
constexpr unsigned kAskMessages = 0x8000 + 1;  // WM_APP + 1: messages received
constexpr unsigned kAskBytes = 0x8000 + 2;     // WM_APP + 2: bytes received
constexpr unsigned kFillList = 0x8000 + 3;     // WM_APP + 3: fill the list now

constexpr int kBankPrograms = 32000;

inline std::string BankProgramName(int i) {
  char name[32];
  std::snprintf(name, sizeof name, "Program %05d", static_cast<int>((i * 7919L) % kBankPrograms));
  return name;
}

}  // namespace qv::bench
