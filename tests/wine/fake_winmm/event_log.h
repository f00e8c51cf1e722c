#pragma once
// The fake devices' event log: one text line per event, appended to the
// file named by QV_FAKEMIDI_LOG so that a test process can read it.
//   t=<ms> pid=<process> ev=<event> key=value ...
#include <cstddef>
#include <cstdint>
#include <string>

namespace qv::fake {

void OpenEventLog();
void LogEvent(const std::string& event, const std::string& fields);

// Bytes as upper-case hexadecimal without spaces ("F0427F").
std::string HexBytes(const uint8_t* bytes, size_t count);
// A value without spaces: space, '%', '=' and control characters as %XX.
std::string Escaped(const std::string& text);

}  // namespace qv::fake
