#include "event_log.h"

#include <windows.h>

#include <cstdio>

#include "fake_midi.h"

namespace qv::fake {
namespace {

HANDLE logFile = INVALID_HANDLE_VALUE;

}  // namespace

void OpenEventLog() {
  char path[1024];
  DWORD n = GetEnvironmentVariableA("QV_FAKEMIDI_LOG", path, sizeof path);
  if (n == 0 || n >= sizeof path) return;
  // Several processes append to the same log: each line goes out in one
  // write to the end of the file.
  logFile = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

void LogEvent(const std::string& event, const std::string& fields) {
  if (logFile == INVALID_HANDLE_VALUE) return;
  char head[96];
  snprintf(head, sizeof head, "t=%.3f pid=%lu ev=", NowMs(), GetCurrentProcessId());
  std::string line = head + event;
  if (!fields.empty()) line += " " + fields;
  line += "\n";
  DWORD written = 0;
  WriteFile(logFile, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

std::string HexBytes(const uint8_t* bytes, size_t count) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(count * 2);
  for (size_t i = 0; i < count; ++i) {
    out += digits[bytes[i] >> 4];
    out += digits[bytes[i] & 15];
  }
  return out;
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c <= ' ' || c == '%' || c == '=' || c >= 127) {
      char esc[4];
      snprintf(esc, sizeof esc, "%%%02X", c);
      out += esc;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace qv::fake
