// The fake devices' script language, read from QV_FAKEMIDI_CONFIG at start
// and received later through the control window. One command per line;
// tests/README.md lists them.
#include <windows.h>

#include <cstdlib>
#include <sstream>

#include "event_log.h"
#include "fake_midi.h"

namespace qv::fake {
namespace {

struct CodeName {
  const char* name;
  UINT code;
};
const CodeName kCodeNames[] = {
    {"MMSYSERR_NOERROR", MMSYSERR_NOERROR},         {"MMSYSERR_ERROR", MMSYSERR_ERROR},
    {"MMSYSERR_BADDEVICEID", MMSYSERR_BADDEVICEID}, {"MMSYSERR_NOTENABLED", MMSYSERR_NOTENABLED},
    {"MMSYSERR_ALLOCATED", MMSYSERR_ALLOCATED},     {"MMSYSERR_INVALHANDLE", MMSYSERR_INVALHANDLE},
    {"MMSYSERR_NODRIVER", MMSYSERR_NODRIVER},       {"MMSYSERR_NOMEM", MMSYSERR_NOMEM},
    {"MMSYSERR_NOTSUPPORTED", MMSYSERR_NOTSUPPORTED}, {"MMSYSERR_BADERRNUM", MMSYSERR_BADERRNUM},
    {"MMSYSERR_INVALFLAG", MMSYSERR_INVALFLAG},     {"MMSYSERR_INVALPARAM", MMSYSERR_INVALPARAM},
    {"MIDIERR_UNPREPARED", MIDIERR_UNPREPARED},     {"MIDIERR_STILLPLAYING", MIDIERR_STILLPLAYING},
    {"MIDIERR_NOMAP", MIDIERR_NOMAP},               {"MIDIERR_NOTREADY", MIDIERR_NOTREADY},
    {"MIDIERR_NODEVICE", MIDIERR_NODEVICE},         {"MIDIERR_INVALIDSETUP", MIDIERR_INVALIDSETUP},
};

const char* const kCalls[] = {"in.caps",    "in.open",     "in.prepare",    "in.addbuffer",
                              "in.start",   "in.stop",     "in.reset",      "in.unprepare",
                              "in.close",   "out.caps",    "out.open",      "out.prepare",
                              "out.long",   "out.short",   "out.reset",     "out.unprepare",
                              "out.close"};

bool ParseInt(const std::string& token, long& value) {
  if (token.empty()) return false;
  char* end = nullptr;
  value = strtol(token.c_str(), &end, 0);
  return end && *end == '\0';
}

bool ParseCode(const std::string& token, UINT& code) {
  for (const CodeName& c : kCodeNames) {
    if (token == c.name) {
      code = c.code;
      return true;
    }
  }
  long v;
  if (!ParseInt(token, v) || v < 0) return false;
  code = static_cast<UINT>(v);
  return true;
}

// A device number, -1 for the mapper, or "*" for any device.
bool ParseDevice(const std::string& token, int& device) {
  if (token == "*") {
    device = kAnyDevice;
    return true;
  }
  long v;
  if (!ParseInt(token, v) || v < -1 || v > 255) return false;
  device = static_cast<int>(v);
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Hex tokens: "F0", "F0 42 30", "F04230"; with wildcards, "??" is any
// byte. Returns false on anything else.
bool ParseHexTokens(const std::vector<std::string>& tokens, size_t from, size_t to,
                    std::vector<int>& out, bool wildcards) {
  for (size_t t = from; t < to; ++t) {
    const std::string& s = tokens[t];
    if (s.size() % 2 != 0) return false;
    for (size_t i = 0; i < s.size(); i += 2) {
      if (wildcards && s[i] == '?' && s[i + 1] == '?') {
        out.push_back(-1);
        continue;
      }
      int hi = HexDigit(s[i]), lo = HexDigit(s[i + 1]);
      if (hi < 0 || lo < 0) return false;
      out.push_back(hi * 16 + lo);
    }
  }
  return true;
}

bool ParseBytes(const std::vector<std::string>& tokens, size_t from, size_t to,
                std::vector<uint8_t>& out) {
  std::vector<int> values;
  if (!ParseHexTokens(tokens, from, to, values, false)) return false;
  out.assign(values.begin(), values.end());
  return true;
}

// The text after the first `skip` words of the line.
std::string RestOfLine(const std::string& line, int skip) {
  size_t pos = 0;
  for (int i = 0; i < skip; ++i) {
    pos = line.find_first_not_of(" \t", pos);
    if (pos == std::string::npos) return "";
    pos = line.find_first_of(" \t", pos);
    if (pos == std::string::npos) return "";
  }
  pos = line.find_first_not_of(" \t", pos);
  return pos == std::string::npos ? "" : line.substr(pos);
}

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& out) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  uint8_t chunk[65536];
  DWORD got = 0;
  while (ReadFile(f, chunk, sizeof chunk, &got, nullptr) && got > 0)
    out.insert(out.end(), chunk, chunk + got);
  CloseHandle(f);
  return true;
}

void ResizeNames(std::vector<std::string>& names, long count, const char* stem) {
  size_t old = names.size();
  names.resize(static_cast<size_t>(count));
  for (size_t i = old; i < names.size(); ++i) names[i] = stem + std::to_string(i);
}

bool RunLine(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> t;
  for (std::string w; in >> w;) t.push_back(w);
  if (t.empty() || t[0][0] == '#') return true;
  Config& c = Devices().config;
  const std::string& cmd = t[0];
  long n = 0, m = 0;
  int dev = 0;
  if ((cmd == "inputs" || cmd == "outputs") && t.size() == 2 && ParseInt(t[1], n) && n >= 0 &&
      n <= 64) {
    if (cmd == "inputs")
      ResizeNames(c.inputNames, n, "Fake MIDI In ");
    else
      ResizeNames(c.outputNames, n, "Fake MIDI Out ");
    return true;
  }
  if ((cmd == "input-name" || cmd == "output-name") && t.size() >= 3 && ParseInt(t[1], n)) {
    auto& names = cmd == "input-name" ? c.inputNames : c.outputNames;
    if (n < 0 || static_cast<size_t>(n) >= names.size()) return false;
    names[static_cast<size_t>(n)] = RestOfLine(line, 2);
    return true;
  }
  if ((cmd == "input-mapper" || cmd == "output-mapper") && t.size() >= 2 &&
      (t[1] == "on" || t[1] == "off")) {
    bool& on = cmd == "input-mapper" ? c.inputMapper : c.outputMapper;
    on = t[1] == "on";
    if (t.size() > 2) (cmd == "input-mapper" ? c.inputMapperName : c.outputMapperName) = RestOfLine(line, 2);
    return true;
  }
  if (cmd == "fail" && (t.size() == 4 || t.size() == 5)) {
    Failure f;
    bool known = false;
    for (const char* call : kCalls) known = known || t[1] == call;
    if (!known || !ParseDevice(t[2], f.device) || !ParseCode(t[3], f.code)) return false;
    f.call = t[1];
    if (t.size() == 5) {
      if (!ParseInt(t[4], n) || n < 1) return false;
      f.remaining = static_cast<int>(n);
    }
    c.failures.push_back(f);
    return true;
  }
  if (cmd == "unfail" && t.size() <= 3) {
    int device = kAnyDevice;
    if (t.size() == 3 && !ParseDevice(t[2], device)) return false;
    std::vector<Failure> kept;
    for (const Failure& f : c.failures) {
      bool match = (t.size() < 2 || f.call == t[1]) && (t.size() < 3 || f.device == device);
      if (!match) kept.push_back(f);
    }
    c.failures = kept;
    return true;
  }
  if (cmd == "input-buffers" && (t.size() == 3 || t.size() == 4) && ParseDevice(t[1], dev) &&
      ParseInt(t[2], n) && n >= 0) {
    if (t.size() == 4 && !ParseCode(t[3], c.bufferLimitCode)) return false;
    c.inputBufferLimit[dev] = static_cast<int>(n);
    return true;
  }
  if (cmd == "input-wait" && t.size() == 2 && (t[1] == "on" || t[1] == "off")) {
    c.inputWait = t[1] == "on";
    return true;
  }
  if (cmd == "error-text" && t.size() >= 3) {
    UINT code;
    if (!ParseCode(t[1], code)) return false;
    c.errorTexts[code] = RestOfLine(line, 2);
    return true;
  }
  if (cmd == "done-delay" && t.size() == 2 && ParseInt(t[1], n) && n >= 0) {
    c.doneDelayMs = static_cast<int>(n);
    return true;
  }
  if (cmd == "wire-rate" && t.size() == 2 && ParseInt(t[1], n) && n >= 0) {
    c.bytesPerSecond = static_cast<int>(n);
    return true;
  }
  if (cmd == "deliver" && t.size() >= 3 && ParseDevice(t[1], dev)) {
    std::vector<uint8_t> bytes;
    if (!ParseBytes(t, 2, t.size(), bytes)) return false;
    ScheduleDelivery(dev, 0, std::move(bytes));
    return true;
  }
  if (cmd == "deliver-after" && t.size() >= 4 && ParseInt(t[1], m) && m >= 0 &&
      ParseDevice(t[2], dev)) {
    std::vector<uint8_t> bytes;
    if (!ParseBytes(t, 3, t.size(), bytes)) return false;
    ScheduleDelivery(dev, static_cast<int>(m), std::move(bytes));
    return true;
  }
  if (cmd == "deliver-file" && t.size() >= 3 && ParseDevice(t[1], dev)) {
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(RestOfLine(line, 2), bytes)) return false;
    ScheduleDelivery(dev, 0, std::move(bytes));
    return true;
  }
  if ((cmd == "respond" || cmd == "respond-once") && t.size() >= 7) {
    Responder r;
    size_t arrow = 0;
    for (size_t i = 4; i < t.size(); ++i)
      if (t[i] == "=>") arrow = i;
    if (arrow == 0 || !ParseDevice(t[1], r.outDevice) || !ParseDevice(t[2], r.inDevice) ||
        !ParseInt(t[3], m) || m < 0)
      return false;
    size_t patternEnd = arrow;
    if (t[arrow - 1] == "*") {
      r.prefix = true;
      --patternEnd;
    }
    if (!ParseHexTokens(t, 4, patternEnd, r.pattern, true) || r.pattern.empty()) return false;
    if (!ParseBytes(t, arrow + 1, t.size(), r.reply)) return false;
    r.delayMs = static_cast<int>(m);
    if (cmd == "respond-once") r.remaining = 1;
    c.responders.push_back(std::move(r));
    return true;
  }
  if (cmd == "unrespond" && t.size() == 1) {
    c.responders.clear();
    return true;
  }
  if (cmd == "mark") {
    LogEvent("mark", "text=" + Escaped(RestOfLine(line, 1)));
    return true;
  }
  if (cmd == "reset" && t.size() == 1) {
    c = Config();
    return true;
  }
  return false;
}

}  // namespace

bool RunScript(const std::string& text, std::string& error) {
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!RunLine(line)) {
      error = line;
      return false;
    }
  }
  return true;
}

}  // namespace qv::fake
