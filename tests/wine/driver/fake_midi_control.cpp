// Talking to the fake MIDI devices: scripts through their control window,
// events from their log.
#include <windows.h>

#include <cstdlib>
#include <sstream>

#include "tests/wine/driver/driver.h"

namespace qv::wine {
namespace {

constexpr ULONG_PTR kScriptMagic = 0x51564D49;  // "QVMI", as the fake expects

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string Unescaped(const std::string& value) {
  std::string out;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '%' && i + 2 < value.size() + 0 && HexDigit(value[i + 1]) >= 0 &&
        HexDigit(value[i + 2]) >= 0) {
      out += static_cast<char>(HexDigit(value[i + 1]) * 16 + HexDigit(value[i + 2]));
      i += 2;
    } else {
      out += value[i];
    }
  }
  return out;
}

bool ParseLine(const std::string& line, MidiEvent& e) {
  std::istringstream in(line);
  bool haveEvent = false;
  for (std::string word; in >> word;) {
    size_t eq = word.find('=');
    if (eq == std::string::npos) continue;
    std::string key = word.substr(0, eq), value = word.substr(eq + 1);
    if (key == "t") e.t = strtod(value.c_str(), nullptr);
    else if (key == "pid") e.pid = static_cast<DWORD>(strtoul(value.c_str(), nullptr, 10));
    else if (key == "ev") {
      e.event = value;
      haveEvent = true;
    } else {
      e.fields[key] = Unescaped(value);
    }
  }
  return haveEvent;
}

}  // namespace

std::string MidiEvent::Field(const std::string& key) const {
  auto it = fields.find(key);
  return it == fields.end() ? std::string() : it->second;
}

long MidiEvent::Number(const std::string& key, long fallback) const {
  auto it = fields.find(key);
  if (it == fields.end()) return fallback;
  char* end = nullptr;
  long v = strtol(it->second.c_str(), &end, 0);
  return end && *end == '\0' ? v : fallback;
}

std::vector<uint8_t> MidiEvent::Bytes(const std::string& key) const {
  std::vector<uint8_t> out;
  std::string hex = Field(key);
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    out.push_back(static_cast<uint8_t>(HexDigit(hex[i]) * 16 + HexDigit(hex[i + 1])));
  return out;
}

std::vector<MidiEvent> ReadMidiLog(DWORD pid) {
  std::vector<MidiEvent> events;
  std::string path = MidiLogPath();
  if (path.empty()) return events;
  auto bytes = ReadFileBytes(path);
  if (!bytes) return events;
  std::string text(bytes->begin(), bytes->end());
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) break;  // a line still being written
    MidiEvent e;
    if (ParseLine(text.substr(pos, end - pos), e) && (pid == 0 || e.pid == pid)) events.push_back(std::move(e));
    pos = end + 1;
  }
  return events;
}

std::vector<MidiEvent> MidiEvents(const std::string& event, DWORD pid) {
  std::vector<MidiEvent> out;
  for (MidiEvent& e : ReadMidiLog(pid))
    if (e.event == event) out.push_back(std::move(e));
  return out;
}

bool WaitForMidiEvents(const std::string& event, size_t count, DWORD pid, int timeoutMs) {
  return WaitUntil([&] { return MidiEvents(event, pid).size() >= count; }, timeoutMs);
}

void ClearMidiLog() {
  std::string path = MidiLogPath();
  if (path.empty()) return;
  // Truncate in place: the programs keep the file open for appending.
  HANDLE f = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  SetFilePointer(f, 0, nullptr, FILE_BEGIN);
  SetEndOfFile(f);
  CloseHandle(f);
}

bool SendMidiScript(DWORD pid, const std::string& script, int timeoutMs) {
  std::wstring title = L"QvFakeMidi " + std::to_wstring(pid);
  HWND control = nullptr;
  WaitUntil(
      [&] {
        control = FindWindowExW(HWND_MESSAGE, nullptr, L"QvFakeMidiControl", title.c_str());
        return control != nullptr;
      },
      timeoutMs);
  if (!control) return false;
  COPYDATASTRUCT data;
  data.dwData = kScriptMagic;
  data.cbData = static_cast<DWORD>(script.size());
  data.lpData = const_cast<char*>(script.data());
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(control, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                           static_cast<UINT>(timeoutMs), &result))
    return false;
  return result == 1;
}

std::string HexText(const std::vector<uint8_t>& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i) out += ' ';
    out += digits[bytes[i] >> 4];
    out += digits[bytes[i] & 15];
  }
  return out;
}

}  // namespace qv::wine
