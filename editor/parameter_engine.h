#pragma once
// Moves values between the edit buffer and the editor window's controls:
// shows every field, takes in what the user types or clicks, checks a box
// when it loses the focus, applies edits that come from the instrument, and
// lays out the effect parameter boxes by effect type.
#include <cstdint>
#include <string>

#include "base/reporter.h"
#include "editor/editor_controls.h"
#include "editor/editor_state.h"
#include "editor/effect_layouts.h"
#include "editor/parameter_map.h"

namespace qv {

// Control identifiers the engine itself addresses.
inline constexpr int kProgramListControl = 3008;
inline constexpr int kOscillator1Radio = 3200;
inline constexpr int kOscillator2Radio = 3201;
inline constexpr int kEffect1Radio = 3141;
inline constexpr int kEffect2Radio = 3142;
inline constexpr int kIntervalBox = 3204;
inline constexpr int kDetuneBox = 3205;
inline constexpr int kDelayBox = 3206;
inline constexpr int kEffect1TypeList = 3134;
inline constexpr int kEffect2TypeList = 3135;

// Notifications of the window's controls, as the window hands them on.
enum class ControlEvent { TextChanged, GotFocus, LostFocus, Clicked, SelectionChanged };

// Remote edit modes: set from a data-entry value, step up, step down;
// kRemoteKeyBase + k: key k was played.
inline constexpr int kRemoteSet = 0;
inline constexpr int kRemoteIncrement = 1;
inline constexpr int kRemoteDecrement = -1;
inline constexpr int kRemoteKeyBase = 100;

class ParameterEngine {
 public:
  ParameterEngine(EditorState& state, EditorControls& controls, Reporter& reporter)
      : state_(state), controls_(controls), reporter_(reporter) {}

  // The window's notification of one of its controls (other than its own
  // buttons and lists): reads the box text and stores or checks it, unless
  // the controls are being filled.
  void OnControlEvent(int control, ControlEvent event);

  void RefreshControls();
  void StoreControlValue(int control, int oscillator, int value);
  void ValidateControlValue(int control, int value);
  void ApplyRemoteEdit(int value, int mode);

  // Effect settings. Every layout shows the current effect's labels, boxes
  // and values; the type rules apply only when the user has just chosen an
  // effect type, so that showing a program never changes it.
  enum class LayoutMode {
    Show,             // showing the program: the block is left as it is
    OtherTypeChosen,  // a type list was used: the ensemble types give way
    TypeChosen,       // this effect's type was just changed: also clear,
                      // clamp and write the type's fixed bits
  };
  void LayoutEffect(int effect, LayoutMode mode);
  void ShowEffectParameter(int box);
  void StoreEffectParameter(int box, int number);
  void ValidateEffectParameter(int box, int number);

 private:
  int RowByte(const ParameterRow& row, int oscillator) const;
  std::string RowText(const ParameterRow& row) const;
  void ShowRow(const ParameterRow& row);
  void StoreEffectType(const ParameterRow& row);
  bool ApplyTypeConflictRule(int effect);
  void ClearAndClampEffect(int effect);
  void ReportInputError(int control, const std::string& text);
  void ReportProgramError();
  std::uint8_t* EffectBlock(int effect);
  const EffectRow* CurrentEffectRow(int box) const;

  EditorState& state_;
  EditorControls& controls_;
  Reporter& reporter_;
};

// Writes the fixed bits an effect type keeps in its block (the chorus,
// flanger, phaser and tremolo types and two delay combinations).
void SetEffectTypeBits(M1Program& program, int effect, int type);

// The conflict between an ensemble type and the modulation types: true when
// an effect of type t cannot run beside an effect of type u.
bool EffectTypesConflict(int t, int u);

}  // namespace qv
