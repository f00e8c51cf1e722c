#include "tests/demo/simulated_m1.h"

#include <array>
#include <cstdio>

#include "editor/m1_program_dump.h"

namespace qv::demo {
namespace {

// Names as a musician might have given them, ten characters at most.
constexpr std::array<const char*, kSimulatedPrograms> kNames = {
    "Grand Pno",  "Warm Keys",  "Tine EP",    "Glass EP",   "Clav Funk",  "Drawbar 1",  "Rock Organ",
    "Church Org", "Accordion",  "Harpsi",     "Strings 1",  "Strings 2",  "Slow Str",   "Pizzicato",
    "Solo Cello", "Violin",     "Choir Aah",  "Voices Ooh", "Air Choir",  "Brass Sect", "Soft Horns",
    "Trumpet",    "Trombone",   "Tuba",       "Sax Breath", "Flute",      "Pan Flute",  "Oboe",
    "Clarinet",   "Bassoon",    "Fingr Bass", "Pick Bass",  "Fretless",   "Slap Bass",  "Synth Bs 1",
    "Synth Bs 2", "Acid Bass",  "Sub Bass",   "Upright",    "Bass&Ride",  "Nylon Gtr",  "Steel Gtr",
    "12 String",  "Jazz Gtr",   "Muted Gtr",  "Dist Gtr",   "Harmonics",  "Koto",       "Sitar",
    "Banjo",      "Vibraphone", "Marimba",    "Kalimba",    "Tubular",    "Glocken",    "Xylophone",
    "Steel Drum", "Music Box",  "Celesta",    "Crystal",    "Warm Pad",   "Dark Pad",   "Sweep Pad",
    "Halo Pad",   "Space Pad",  "Fifths Pad", "Bowed Pad",  "Metal Pad",  "Ice Pad",    "Dream Pad",
    "Sync Lead",  "Saw Lead",   "Sqr Lead",   "Soft Lead",  "Whistle",    "Chiff Lead", "Mono Lead",
    "Poly Synth", "Brass Syn",  "Stab",       "Drum Kit 1", "Drum Kit 2", "Percussion", "Timpani",
    "Orch Hit",   "Gated Snr",  "Noise Fx",   "Wind Fx",    "Rain",       "Thunder",    "Bell Tree",
    "Chimes",     "Bottle",     "Breath",     "Heartbeat",  "Laser",      "Seashore",   "Bird Song",
    "Helicopter", "Init Prog",
};

void Put(M1Program& p, int byte, int value) { p[static_cast<size_t>(byte)] = static_cast<uint8_t>(value & 0xFF); }

// One envelope shape of amplitude: attack time, decay, break, slope,
// sustain, release.
struct Shape {
  int attack, decay, breakLevel, slope, sustain, release;
};
constexpr std::array<Shape, 6> kShapes = {{
    {0, 62, 80, 70, 0, 40},    // struck: piano, mallets, guitars
    {0, 0, 99, 0, 99, 8},      // organ: on and off
    {38, 50, 90, 60, 85, 55},  // bowed: strings, pads
    {8, 40, 90, 50, 80, 30},   // blown: brass, reeds
    {0, 45, 70, 55, 60, 20},   // plucked bass
    {2, 30, 85, 40, 75, 25},   // synth lead
}};

}  // namespace

std::string SimulatedProgramName(int program) {
  std::string name = kNames[static_cast<size_t>(program) % kNames.size()];
  name.resize(kM1NameLength, ' ');
  return name;
}

M1Program SimulatedProgram(int program) {
  M1Program p = BlankM1Program();
  const std::string name = SimulatedProgramName(program);
  for (int i = 0; i < kM1NameLength; ++i) Put(p, kM1NameOffset + i, name[static_cast<size_t>(i)]);
  const bool drums = program >= 80 && program <= 85;
  const bool doubled = (program >= 10 && program <= 19) || (program >= 60 && program <= 69);
  Put(p, kM1OscillatorMode, drums ? kM1ModeDrum : doubled ? kM1ModeDouble : kM1ModeSingle);
  Put(p, kM1Multisound1, (program * 7) % 44);
  Put(p, kM1Multisound2, (program * 11 + 3) % 44);
  Put(p, kM1Octave1, program >= 30 && program <= 39 ? kM1Octave16 : kM1Octave8);
  Put(p, kM1Octave2, doubled ? kM1Octave4 : kM1Octave8);
  Put(p, 16, doubled ? 12 : 0);            // interval of oscillator 2
  Put(p, 17, (program % 7) - 3);           // detune
  Put(p, 19, program % 4);                 // pitch MG wave
  Put(p, 20, 30 + program % 40);           // pitch MG frequency
  Put(p, 21, (program * 3) % 50);          // pitch MG delay
  Put(p, 22, program % 5 == 0 ? 12 : 0);   // pitch MG intensity
  Put(p, 27, 0);
  Put(p, 28, 10 + program % 20);           // aftertouch on pitch MG
  Put(p, 32, 2);                           // joystick pitch bend
  Put(p, 38, 1 + (program * 5) % 33);      // effect 1 type
  Put(p, 39, 1 + (program * 3) % 33);      // effect 2 type
  for (int byte = 40; byte <= 43; ++byte) Put(p, byte, 20 + (program + byte) % 40);
  Put(p, kM1EffectPlacement, 0x10);
  // Each ten programs are one family: keys, strings, choir and brass,
  // basses, guitars, mallets, pads, leads, drums, effects.
  constexpr std::array<int, 10> kFamilyShape = {0, 2, 3, 4, 0, 0, 2, 5, 0, 2};
  const Shape& shape = kShapes[static_cast<size_t>(kFamilyShape[static_cast<size_t>(program / 10) % 10])];
  for (int osc = 0; osc < (doubled ? 2 : 1); ++osc) {
    const int o = osc * kM1OscillatorStride;
    Put(p, 71 + o, 45 + (program * 13) % 55);  // cutoff
    Put(p, 74 + o, 20 + program % 60);         // cutoff envelope intensity
    Put(p, 78 + o, shape.attack / 2);          // cutoff envelope
    Put(p, 79 + o, 60);
    Put(p, 80 + o, shape.decay);
    Put(p, 81 + o, 40);
    Put(p, 82 + o, shape.slope);
    Put(p, 83 + o, 20);
    Put(p, 84 + o, shape.release);
    Put(p, 86 + o, 99 - (program % 5) * 4 - osc * 10);  // amplitude
    Put(p, 92 + o, shape.attack);
    Put(p, 93 + o, 99);
    Put(p, 94 + o, shape.decay);
    Put(p, 95 + o, shape.breakLevel);
    Put(p, 96 + o, shape.slope);
    Put(p, 97 + o, shape.sustain);
    Put(p, 98 + o, shape.release);
  }
  return p;
}

std::string SimulatedM1Script(int channel) {
  const int c = (channel - 1) & 0x0F;
  char line[64];
  std::string script = "# A simulated Korg M1 on MIDI channel " + std::to_string(channel) + "\n";
  script += std::string("input-name 0 ") + kSimulatedPortName + "\n";
  script += std::string("output-name 0 ") + kSimulatedPortName + "\n";
  for (int program = 0; program < kSimulatedPrograms; ++program) {
    std::snprintf(line, sizeof line, "respond 0 0 20 C%X %02X F0 42 3%X 19 10 F7 =>", c, program, c);
    script += line;
    for (uint8_t byte : PackM1Dump(SimulatedProgram(program), channel)) {
      std::snprintf(line, sizeof line, " %02X", byte);
      script += line;
    }
    script += "\n";
  }
  return script;
}

}  // namespace qv::demo
