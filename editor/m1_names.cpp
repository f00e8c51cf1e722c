#include "editor/m1_names.h"

namespace qv {

const std::array<const char*, kMultisoundCount> MultisoundNames = {
    "Piano",        "E. Piano 1",  "E. Piano 2",   "Clav",        "Harpsicord",
    "Organ 1",      "Organ 2",     "MagicOrgan",   "Guitar 1",    "Guitar 2",
    "E. Guitar",    "Sitar 1",     "Sitar 2",      "A. Bass",     "Pick Bass",
    "E. Bass",      "Fretless",    "SynthBass 1",  "SynthBass 2", "Vibes",
    "Bell",         "Tubular",     "Bell Ring",    "Karimba",     "Karimba NT",
    "SynMallet",    "Flute",       "PanFlute",     "Bottles",     "Voices",
    "Choir",        "Strings",     "Brass 1",      "Brass 2",     "Tenor Sax",
    "Mute TP",      "Trumpet",     "TubaFlugel",   "DoubleReed",  "Koto Trem",
    "Bamboo Trem",  "Rhythm",      "Lore",         "Lore NT",     "Flexatone",
    "Wind Bells",   "Pole",        "Pole NT",      "Block",       "Block NT",
    "Finger Snap",  "Pop",         "Drop",         "Drop NT",     "Breath",
    "Breath NT",    "Pluck",       "Pluck NT",     "Vibe Hit",    "VibeHit NT",
    "Hammer",       "Metal Hit",   "Metal Hit NT", "Pick",        "Distortion",
    "Dist NT",      "Bass Thumb",  "BasThumNT1",   "BasThumNT2",  "Wire",
    "Pan Wave",     "Ping Wave",   "Fv Wave",      "Mv Wave",     "Voice Wave",
    "VoiceWvNT 1",  "VoiceWvNT2",  "DWGS E. P. 1", "DWGS E. P. 2", "DWGS E.P. 3",
    "DWGS Piano",   "DWGS Clav",   "DWGS Vibe 1",  "DWGS Bass 1", "DWGS Bass 2",
    "DWGS Bell 1",  "DWGS Orgn 1", "DWGS Orgn 2",  "DWGS Voice",  "SquareWave",
    "Digital 1",    "Saw Wave",    "Digital 2",    "25% Pulse",   "10% Pulse",
    "Digital 3",    "Digital 4",   "Digital 5",    "DWGS TRI",    "DWGS Sine",
};

const std::array<const char*, kEffectTypeCount> EffectTypeNames = {
    "Hall",           "Ensemble Hall",  "Concert Hall",  "Room",
    "Large Room",     "Live Stage",     "E. Ref. 1",     "E. Ref. 2",
    "E. Ref. 3",      "Stereo Delay",   "Cross Delay",   "Chorus 1",
    "Chorus 2",       "Stereo Flanger", "Cross Flanger", "Phaser 1",
    "Phaser 2",       "Tremolo 1",      "Tremolo 2",     "Equalizer",
    "Overdrive",      "Distortion",     "Exciter",       "Symphonic Ens.",
    "Rotary Speaker", "Delay/Hall",     "Delay/Room",    "Delay/E. Ref.",
    "Delay/Delay",    "Delay/Chorus",   "Delay/Flanger", "Delay/Phaser",
    "Delay/Tremolo",  "No Effect",
};

}  // namespace qv
