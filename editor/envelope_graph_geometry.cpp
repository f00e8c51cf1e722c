#include "editor/envelope_graph_geometry.h"

#include <algorithm>

namespace qv {

const std::array<int, kEnvelopeTimeCount> kEnvelopeTimeTable = {
    0,      484,    500,    500,    500,    622,    622,     721,    727,    834,
    957,    1316,   1660,   2941,   3067,   3067,   3199,    3322,   3417,   3556,
    3661,   3780,   3889,   4004,   4019,   4230,   4396,    4396,   4607,   4667,
    4835,   4835,   5039,   5184,   5301,   5407,   5513,    5749,   5890,   6013,
    6231,   6320,   6575,   6689,   6917,   7162,   7266,    7518,   7606,   7859,
    8102,   8470,   8538,   8916,   9149,   9266,   9634,    9837,   10216,  10689,
    10893,  11240,  11698,  12197,  12529,  12973,  13569,   13915,  14511,  14857,
    15557,  16460,  17044,  17876,  18477,  19504,  20318,   21380,  22778,  23717,
    25374,  26475,  28489,  29803,  32488,  35307,  37376,   41525,  44282,  49617,
    56196,  62108,  72307,  81687,  100872, 119468, 162859,  239386, 347132, 1092618,
};

int EnvelopeTimeIndex(int time) { return std::clamp(time, 0, kEnvelopeTimeCount - 1); }

int TimePixels(int time) {
  return kEnvelopeTimeTable[std::size_t(EnvelopeTimeIndex(time))] / kGraphUnitsPerPixel;
}

GraphLayout MakeGraphLayout(int width, int height, int scroll_height) {
  GraphLayout layout;
  layout.width = width;
  layout.height = height;
  layout.scroll_height = scroll_height;
  layout.plot_height = std::max(height - scroll_height, 1);
  return layout;
}

int LeftX(int time) { return TimePixels(time) + kGraphMargin; }
int LeftX2(int a, int b) { return LeftX(a) + LeftX(b) - kGraphMargin; }
int LeftX3(int a, int b, int c) { return LeftX(a) + LeftX(b) + LeftX(c) - 2 * kGraphMargin; }

int RightX(const GraphLayout& layout, int time) {
  return (3 * (layout.width - kGraphMargin)) / 4 + TimePixels(time) + kGraphMargin;
}

int UnipolarY(const GraphLayout& layout, int level) {
  const int g = layout.plot_height;
  return g - (level * g) / 99;
}

int BipolarY(const GraphLayout& layout, int level) {
  const int g = layout.plot_height;
  return g / 2 - ((level * g) / 2) / 99;
}

int UnipolarLevelAt(const GraphLayout& layout, int y) {
  return 99 - (y * 99) / layout.plot_height;
}

int BipolarLevelAt(const GraphLayout& layout, int y) {
  return 99 - (y * 198) / layout.plot_height;
}

int TimeIndexForPixels(int pixels) {
  const long long target = static_cast<long long>(pixels) * kGraphUnitsPerPixel;
  int i = 0;
  while (i < kEnvelopeTimeCount && kEnvelopeTimeTable[std::size_t(i)] < target) ++i;
  if (i == kEnvelopeTimeCount) return kEnvelopeTimeCount - 1;
  if (i == 0) return 0;
  const long long above = kEnvelopeTimeTable[std::size_t(i)] - target;
  const long long below = target - kEnvelopeTimeTable[std::size_t(i - 1)];
  return above < below ? i : i - 1;
}

}  // namespace qv
