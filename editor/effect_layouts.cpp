#include "editor/effect_layouts.h"

namespace qv {

namespace {

using K = EffectValueKind;

constexpr EffectRow kHidden = {-1, 0, K::None, "", ""};

constexpr EffectRow kEqLow = {7, -12, K::Number, "EQ Low",
                              "Amount to adjust low frequency sound level [-12,+12]"};
constexpr EffectRow kEqHigh = {6, -12, K::Number, "EQ High",
                               "Amount to adjust high frequency sound level [-12,+12]"};
constexpr EffectRow kHighDamp = {2, 99, K::Number, "High Damp",
                                 "Amount to \"damp\" high frequency echoes [0,99]"};
constexpr EffectRow kPreDelay = {3, 200, K::Number, "Pre Delay",
                                 "Delay before echoes start [0,200]"};
constexpr EffectRow kErLevel = {4, 99, K::Number, "E/R Level",
                                "Level of early reflections [0,99]"};
constexpr EffectRow kDepth = {0, 99, K::Number, "Depth",
                              "Modulation depth (intensity of effect) [0,99]"};
constexpr EffectRow kSpeedWave = {
    1, 216, K::SpeedWave, "Speed/Wv",
    "Frequency of effect [0.03,30 Hz] and (s)in or (t)triangle wave"};
constexpr EffectRow kMidFc = {
    0, 2, K::MidCorner, "Mid fc",
    "+ Central frequency affected by the mid gain control [500,1000,2000 Hz]"};
constexpr EffectRow kMidGain = {1, -12, K::Number, "Mid gain",
                                "+ Amount to adjust medium frequency sound level [-12,+12]"};

// The left (delay) half shared by the combined delay effects.
constexpr EffectRow kLeftDelay = {0, 500, K::Word, "Delay T.", "L-Delay time [0,500]"};
constexpr EffectRow kLeftFeedback = {2, -99, K::Number, "Feedback",
                                     "L-Feedback from delayed output back to input [-99,+99]"};
constexpr EffectRow kLeftDamp = {
    3, 99, K::Number, "High Damp",
    "L-Amount to \"damp\" high frequency echoes (delay) [0,99]"};
constexpr EffectRow kRightSpeed = {5, 216, K::Speed, "Speed", "R-Frequency of effect [0.03,30 Hz]"};

}  // namespace

const std::array<int, kEffectTypeCount> EffectLayoutOfType = {
    0, 0, 0,     // halls
    1, 1, 1,     // rooms, live stage
    2, 2, 2,     // early reflections
    3, 3,        // delays
    4, 4,        // choruses
    5, 5,        // flangers
    6, 6,        // phasers
    7, 7,        // tremolos
    8,           // equalizer
    9,           // overdrive
    10,          // distortion
    11,          // exciter
    12,          // symphonic ensemble
    13,          // rotary speaker
    14, 15, 16, 17, 18, 19, 20, 21,  // delay combinations
    22,          // no effect
};

const std::array<EffectLayout, kEffectLayoutCount> EffectLayouts = {{
    // 0: halls
    {{{0, 97, K::ReverbTime, "Reverb Time", "Time echoes take to die away [0.2,9.9]"},
      kHighDamp, kPreDelay, kErLevel, kEqLow, kEqHigh}},
    // 1: rooms, live stage
    {{{0, 47, K::ReverbTime, "Reverb Time", "Time echoes take to die away [0.2,4.9]"},
      kHighDamp, kPreDelay, kErLevel, kEqLow, kEqHigh}},
    // 2: early reflections
    {{{0, 70, K::ReflectionTime, "E/R Time", "Time of early reflections [100,800]"},
      {1, 200, K::Number, "Pre Delay", "Delay before echoes start [0,200]"},
      kHidden, kHidden, kEqLow, kEqHigh}},
    // 3: delays
    {{{0, 500, K::Word, "L Delay T.", "Delay time on left channel [0,500]"},
      {4, 500, K::Word, "R Delay T.", "Delay time on right channel [0,500]"},
      {2, -99, K::Number, "Feedback", "Feedback from delayed output back to input [-99,+99]"},
      {3, 99, K::Number, "High Damp", "Amount to \"damp\" high frequency echoes [0,99]"},
      kEqLow, kEqHigh}},
    // 4: choruses
    {{kDepth, kSpeedWave, {4, 200, K::Number, "Delay T.", "Delay time [0,200]"}, kHidden,
      kEqLow, kEqHigh}},
    // 5: flangers
    {{kDepth, kSpeedWave, {4, 50, K::Number, "Delay T.", "Delay time [0,50]"},
      {3, -99, K::Number, "Feedback", "Feedback from flanged output back to input [-99,+99]"},
      kEqLow, kEqHigh}},
    // 6: phasers
    {{kDepth, kSpeedWave,
      {4, 99, K::Number, "Manual", "Centre frequency which phase shift affects [0,99]"},
      {3, -99, K::Number, "Feedback", "Feedback from phased output back to input [-99,+99]"},
      kHidden, kHidden}},
    // 7: tremolos
    {{kDepth, kSpeedWave,
      {3, -99, K::Number, "Shape",
       "Shape - adjusts \"thickness\" of high sections of wave [-99,99]"},
      kHidden, kEqLow, kEqHigh}},
    // 8: equalizer
    {{{4, 2, K::LowCorner, "Low fc",
       "Central frequency affected by the low gain control [250,500,1000 Hz]"},
      {7, -12, K::Number, "Low gain", "Amount to adjust low frequency sound level [-12,+12]"},
      kMidFc, kMidGain,
      {5, 2, K::HighCorner, "High fc",
       "Central frequency affected by the high gain control [1000,2000,4000 Hz]"},
      {6, -12, K::Number, "High gain", "Amount to adjust high frequency sound level [-12,+12]"}}},
    // 9: overdrive
    {{{2, 99, K::Number, "Drive", "Amount to overdrive signal [0,99]"},
      {3, 99, K::Number, "Level", "Level of output sound [0,99]"}, kMidFc, kMidGain, kEqLow,
      kEqHigh}},
    // 10: distortion
    {{{2, 100, K::Number, "Distortion", "Amount of distortion [0,99]"},
      {3, 99, K::Number, "Level", "Level of output sound [0,99]"}, kHidden, kHidden, kEqLow,
      kHidden}},
    // 11: exciter
    {{{0, -99, K::Number, "Blend",
       "Balance of unprocessed and exciter signals at output [-99,99]"},
      {1, 10, K::EmphasisPoint, "Emph. Pt.", "Central frequency emphasized by exciter [1,10]"},
      kHidden, kHidden, kEqLow, kEqHigh}},
    // 12: symphonic ensemble
    {{{0, 99, K::Number, "Depth", "Depth of ensemble effect [0,99]"}, kHidden, kHidden, kHidden,
      kEqLow, kEqHigh}},
    // 13: rotary speaker
    {{{0, 99, K::Number, "Depth", "Depth of effect [0,99]"},
      {2, -10, K::Number, "Speed ratio",
       "Ratio of high-range speaker speed to low-range speaker speed [-10,+10]"},
      kHidden, kHidden, kHidden, kHidden}},
    // 14: delay/hall
    {{kLeftDelay, kLeftFeedback, kLeftDamp,
      {4, 97, K::ReverbTime, "Reverb T.", "R-Time echoes take to die away [0.2,9.9]"},
      {6, 99, K::Number, "High Damp",
       "R-Amount to \"damp\" high frequency echoes (hall) [0,99]"},
      {7, 150, K::Number, "Pre Delay", "R-Delay before echoes start [0,150]"}}},
    // 15: delay/room
    {{kLeftDelay, kLeftFeedback, kLeftDamp,
      {4, 47, K::ReverbTime, "Reverb T.", "R-Time echoes take to die away [0.2,4.9]"},
      {6, 99, K::Number, "High Damp",
       "R-Amount to \"damp\" high frequency echoes (room) [0,99]"},
      {7, 150, K::Number, "Pre Delay", "R-Delay before echoes start [0,150]"}}},
    // 16: delay/early reflections
    {{kLeftDelay, kLeftFeedback, kLeftDamp,
      {4, 30, K::ShortReflectionTime, "E/R Time", "R-Time of early reflections [100,400]"},
      kHidden,
      {5, 150, K::Number, "Pre Delay", "R-Delay before echoes start [0,150]"}}},
    // 17: delay/delay
    {{{0, 500, K::Word, "L Delay T.", "L-Delay time [0,500]"},
      {4, 500, K::Word, "R Delay T.", "R-Delay time [0,500]"},
      {2, -99, K::Number, "L Feedback", "L-Feedback from delayed output back to input [-99,+99]"},
      {6, -99, K::Number, "R Feedback", "R-Feedback from delayed output back to input [-99,+99]"},
      {3, 99, K::Number, "L Damp", "L-Amount to \"damp\" high frequency echoes [0,99]"},
      {7, 99, K::Number, "R Damp", "R-Amount to \"damp\" high frequency echoes [0,99]"}}},
    // 18: delay/chorus
    {{kLeftDelay, kLeftFeedback, kLeftDamp,
      {4, 99, K::Number, "Depth", "R-Modulation depth (intensity of chorus effect) [0,99]"},
      {5, 216, K::SpeedWave, "Speed/Wv",
       "R-Frequency of effect [0.03,30 Hz] and (s)in or (t)triangle wave"},
      kHidden}},
    // 19: delay/flanger
    {{kLeftDelay, kLeftFeedback, kLeftDamp,
      {4, 99, K::Number, "Depth", "R-Modulation depth (intensity of flanger effect) [0,99]"},
      kRightSpeed,
      {7, -99, K::Number, "Feedback",
       "R-Amount of feedback from flanged output to R-input [-99,+99]"}}},
    // 20: delay/phaser
    {{kLeftDelay, kLeftFeedback, kLeftDamp,
      {4, 99, K::Number, "Depth", "R-Modulation depth (intensity of phaser effect) [0,99]"},
      kRightSpeed,
      {6, -99, K::Number, "Feedback",
       "R-Amount of feedback from phased output to R-input [-99,+99]"}}},
    // 21: delay/tremolo
    {{kLeftDelay, kLeftFeedback, kLeftDamp,
      {4, 99, K::Number, "Depth", "R-Modulation depth (intensity of tremolo effect) [0,99]"},
      kRightSpeed,
      {7, -99, K::Number, "Shape",
       "R-Shape - adjusts \"thickness\" of high sections of wave [-99,+99]"}}},
    // 22: no effect
    {{kHidden, kHidden, kHidden, kHidden, kHidden, kHidden}},
}};

const EffectLayout* LayoutOfEffectType(int type) {
  if (type < 0 || type >= kEffectTypeCount) return nullptr;
  return &EffectLayouts[EffectLayoutOfType[type]];
}

}  // namespace qv
