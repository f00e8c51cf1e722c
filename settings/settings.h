#pragma once
// The in-memory settings record. Its fields carry the names of the registry
// values of the user key Software\Brindlecote\Quillon\2.0; the start-up read
// fills them once (settings_store.h) and the exit save writes most of them
// back. Every part of the program reads and writes the one process-wide
// record, Settings, directly.
#include <cstddef>
#include <cstdint>

namespace qv {

inline constexpr std::size_t kAcknowledgeMessageSize = 512;

// The module indexes of FirstUse.
inline constexpr int kManagerModule = 0;
inline constexpr int kLibrarianModule = 1;
inline constexpr int kEditorModule = 2;

// The initial values are what a field holds when the user key exists but the
// value doesn't.
struct SettingsRecord {
  std::int32_t InputPort = 0;   // device id, -1 the MIDI mapper
  std::int32_t OutputPort = 0;  // device id, -1 the MIDI mapper
  std::int32_t AcknowledgeReceipt = 0;
  std::int32_t ReceiptLength = 0;
  std::int32_t WindowX = 0;
  std::int32_t WindowY = 0;
  std::int32_t NumBuffers = 30;
  std::int32_t GraphX = 0;
  std::int32_t GraphY = 0;
  std::int32_t GraphW = 100;
  std::int32_t GraphH = 100;
  std::int32_t GraphAmp1 = 0;
  std::int32_t GraphAmp2 = 0;
  std::int32_t GraphPitch1 = 0;
  std::int32_t GraphPitch2 = 0;
  std::int32_t GraphCutoff1 = 0;
  std::int32_t GraphCutoff2 = 0;
  std::int32_t BlocksPause = 0;
  std::int32_t ToolTips = 0;  // 0 off, 1 normal, 2 maximum
  std::int32_t LibrarianInstrument = -1;  // -1: none
  std::int32_t ToolTipsCountdown = 10;

  // Derived at start from the presence flags of the two keys.
  bool TitleSoundOn = true;     // TitleSoundDisabled absent
  bool TitleGraphicOn = true;   // TitleGraphicTurnedOff absent
  bool FirstUse[3] = {true, true, true};  // FirstTime<i> absent
  bool HandlesSyxFiles = false;  // set by the .syx file-type check

  std::uint8_t AcknowledgeMessage[kAcknowledgeMessageSize] = {};
};

// The process-wide settings.
extern SettingsRecord Settings;

}  // namespace qv
