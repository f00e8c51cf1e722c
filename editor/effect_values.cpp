#include "editor/effect_values.h"

#include <algorithm>
#include <cstdio>

#include "editor/m1_program.h"
#include "editor/parameter_map.h"

namespace qv {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string Printf(const char* format, int a, int b) {
  char text[256];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

// Whole-number text of a byte: signed for signed ranges, else unsigned.
std::string ByteText(std::uint8_t b, int limit) {
  return std::to_string(RangeLow(limit) < 0 ? SignedByte(b) : int(b));
}

constexpr int kLowCorners[3] = {250, 500, 1000};
constexpr int kMidCorners[3] = {500, 1000, 2000};
constexpr int kHighCorners[3] = {1000, 2000, 4000};

const int* CornersOf(EffectValueKind kind) {
  switch (kind) {
    case EffectValueKind::LowCorner: return kLowCorners;
    case EffectValueKind::MidCorner: return kMidCorners;
    default: return kHighCorners;
  }
}

int CornerIndex(const int* corners, int number) {
  for (int i = 0; i < 3; ++i)
    if (corners[i] == number) return i;
  return -1;
}

int ReflectionTimeMax(int hi) { return 100 + 10 * hi; }

}  // namespace

std::string FormatModulationSpeed(int byte) {
  char text[32];
  if (byte < 100) {
    int hundredths = 3 + 3 * byte;
    std::snprintf(text, sizeof text, "%i.%02i", hundredths / 100, hundredths % 100);
  } else if (byte < 200) {
    int tenths = 31 + (byte - 100);
    std::snprintf(text, sizeof text, "%i.%i", tenths / 10, tenths % 10);
  } else {
    std::snprintf(text, sizeof text, "%02i", byte - 186);
  }
  return text;
}

std::optional<int> ParseModulationSpeed(std::string_view text, int hi) {
  auto t = [&](std::size_t i) { return i < text.size() ? text[i] : '\0'; };
  auto d = [&](std::size_t i) { return t(i) - '0'; };
  int byte;
  if (t(1) == '.') {
    if (t(0) < '3' || (t(0) == '3' && t(2) == '0')) {
      // d.dd in hundredths; a missing second decimal reads as 0.
      if (!IsDigit(t(0)) || !IsDigit(t(2))) return std::nullopt;
      int third = IsDigit(t(3)) ? d(3) : 0;
      int hundredths = 100 * d(0) + 10 * d(2) + third;
      if (hundredths < 3) return std::nullopt;
      // The hundredths scale ends at 3.00 Hz (byte 99); 3.01 to 3.09 round
      // down to it rather than run on into the tenths scale (3.09 would
      // otherwise give byte 102, 3.3 Hz).
      byte = std::min((hundredths - 3) / 3, 99);
    } else {
      // d.d in tenths from 3.1 Hz.
      if (!IsDigit(t(0)) || !IsDigit(t(2))) return std::nullopt;
      byte = 10 * d(0) + d(2) - 31 + 100;
    }
  } else if (t(2) == '.' && t(0) <= '1' && t(1) <= '3') {
    // dd.d in tenths, 3.1 to 13.0 Hz; outside that the tenths scale
    // would name a different frequency.
    if (!IsDigit(t(0)) || !IsDigit(t(1)) || !IsDigit(t(3))) return std::nullopt;
    int tenths = 100 * d(0) + 10 * d(1) + d(3);
    if (tenths < 31 || tenths > 130) return std::nullopt;
    byte = tenths - 31 + 100;
  } else {
    // dd in whole hertz from 13 Hz; below that whole hertz would land in
    // the tenths scale at a different frequency.
    if (!IsDigit(t(0)) || !IsDigit(t(1))) return std::nullopt;
    int hertz = 10 * d(0) + d(1);
    if (hertz < 13) return std::nullopt;
    byte = hertz - 14 + 200;
  }
  if (byte < 0 || byte > hi) return std::nullopt;
  return byte;
}

std::string FormatReverbTime(int byte) {
  int tenths = byte + 2;
  char text[32];
  std::snprintf(text, sizeof text, "%i.%i", tenths / 10, tenths % 10);
  return text;
}

std::optional<int> ParseReverbTime(std::string_view text, int hi) {
  if (text.size() < 3 || !IsDigit(text[0]) || text[1] != '.' || !IsDigit(text[2]))
    return std::nullopt;
  int byte = 10 * (text[0] - '0') + (text[2] - '0') - 2;
  if (byte < 0 || byte > hi) return std::nullopt;
  return byte;
}

std::string EffectValueText(const EffectRow& row, EffectBlock block) {
  if (row.offset < 0 || row.offset >= 8) return "";
  std::uint8_t b = block[row.offset];
  std::uint8_t next = row.offset + 1 < 8 ? block[row.offset + 1] : 0;
  switch (row.kind) {
    case EffectValueKind::None: return "";
    case EffectValueKind::Number: return ByteText(b, row.limit);
    case EffectValueKind::ReverbTime: return FormatReverbTime(b);
    case EffectValueKind::ReflectionTime:
    case EffectValueKind::ShortReflectionTime: return std::to_string(100 + 10 * int(b));
    case EffectValueKind::Word: return std::to_string(int(b) | int(next) << 8);
    case EffectValueKind::Speed: return FormatModulationSpeed(b);
    case EffectValueKind::SpeedWave:
      return FormatModulationSpeed(b) + ((next & 1) ? "T" : "S");
    case EffectValueKind::LowCorner:
    case EffectValueKind::MidCorner:
    case EffectValueKind::HighCorner:
      // A corner byte beyond the three frequencies shows as its number.
      return b < 3 ? std::to_string(CornersOf(row.kind)[b]) : std::to_string(int(b));
    case EffectValueKind::EmphasisPoint: return std::to_string(int(b));
  }
  return "";
}

EffectEntry ReadEffectEntry(const EffectRow& row, std::string_view text, int number) {
  int lo = RangeLow(row.limit), hi = RangeHigh(row.limit);
  EffectEntry entry;
  auto in_range = [&](int min, int max) {
    if (number >= min && number <= max)
      entry.value = number;
    else
      entry.problem = EffectEntryProblem::Range;
  };
  switch (row.kind) {
    case EffectValueKind::None: break;
    case EffectValueKind::Number:
    case EffectValueKind::Word: in_range(lo, hi); break;
    case EffectValueKind::EmphasisPoint: in_range(1, 10); break;
    case EffectValueKind::ReverbTime:
      entry.value = ParseReverbTime(text, hi);
      if (!entry.value) entry.problem = EffectEntryProblem::ReverbForm;
      break;
    case EffectValueKind::ReflectionTime:
    case EffectValueKind::ShortReflectionTime:
      if (number >= 100 && number <= ReflectionTimeMax(hi))
        entry.value = (number - 100) / 10;
      else
        entry.problem = EffectEntryProblem::Range;
      break;
    case EffectValueKind::SpeedWave: {
      char last = text.empty() ? '\0' : text.back();
      if (last == 't' || last == 'T')
        entry.wave = 1;
      else if (last == 's' || last == 'S')
        entry.wave = 0;
      else {
        entry.problem = EffectEntryProblem::WaveLetter;
        break;
      }
      entry.value = ParseModulationSpeed(text, hi);
      if (!entry.value) entry.problem = EffectEntryProblem::SpeedForm;
      break;
    }
    case EffectValueKind::Speed:
      entry.value = ParseModulationSpeed(text, hi);
      if (!entry.value) entry.problem = EffectEntryProblem::SpeedForm;
      break;
    case EffectValueKind::LowCorner:
    case EffectValueKind::MidCorner:
    case EffectValueKind::HighCorner: {
      int index = CornerIndex(CornersOf(row.kind), number);
      if (index >= 0)
        entry.value = index;
      else
        entry.problem = row.kind == EffectValueKind::LowCorner   ? EffectEntryProblem::LowCorner
                        : row.kind == EffectValueKind::MidCorner ? EffectEntryProblem::MidCorner
                                                                 : EffectEntryProblem::HighCorner;
      break;
    }
  }
  return entry;
}

std::string RangeMessage(int lo, int hi) {
  return Printf("You must choose a value between %i and %i for this setting.", lo, hi);
}

std::string EffectEntryMessage(const EffectRow& row, EffectEntryProblem problem) {
  int lo = RangeLow(row.limit), hi = RangeHigh(row.limit);
  switch (problem) {
    case EffectEntryProblem::None: return "";
    case EffectEntryProblem::Range:
      if (row.kind == EffectValueKind::ReflectionTime ||
          row.kind == EffectValueKind::ShortReflectionTime)
        return RangeMessage(100, ReflectionTimeMax(hi));
      if (row.kind == EffectValueKind::EmphasisPoint) return RangeMessage(1, 10);
      return RangeMessage(lo, hi);
    case EffectEntryProblem::ReverbForm:
      return Printf(
          "You must choose a value between 0.2 and %i.%i for this setting. The value must be "
          "entered in the exact form <digit>.<digit>, i.e. 0.4 or 5.6. ",
          (hi + 2) / 10, (hi + 2) % 10);
    case EffectEntryProblem::SpeedForm:
      return "You haven't entered this number correctly. A valid number contains at least one "
             "decimal point. After this point, there is at least one digit. In addition, the "
             "number must be between 0.03 and 30.0. For instance, 0.09, 0.8, 3.00, 3.0, and "
             "16.0 are all valid. 8, 0.01, and 31.03 are not.";
    case EffectEntryProblem::WaveLetter:
      return "This edit box requires both a number to indicate a frequency, and a letter to "
             "indicate which type of wave to use. The last letter of the edit box must be "
             "either T (triangle) or S (sine), for this reason. If there is anything after "
             "this letter, delete it.";
    case EffectEntryProblem::LowCorner:
      return "The EQ's low FC can only take the values 250, 500, or 1000 (Hz).";
    case EffectEntryProblem::MidCorner:
      return "The EQ's mid-range FC can only take the values 500, 1000 or 2000 (Hz).";
    case EffectEntryProblem::HighCorner:
      return "The EQ's high FC can only take the values 1000, 2000, or 4000 (Hz).";
  }
  return "";
}

}  // namespace qv
