#pragma once
// The three markers along the foot of the title picture that show which
// module the main program is about to open, and how they follow Ctrl.
#include <array>
#include <string_view>

namespace qv {

inline constexpr int kManagerMarker = 0;
inline constexpr int kLibrarianMarker = 1;
inline constexpr int kEditorMarker = 2;
inline constexpr int kMarkerCount = 3;

struct MarkerRect {
  int left, top, right, bottom;  // right and bottom exclusive
};

// Manager, librarian, editor, in client coordinates.
inline constexpr std::array<MarkerRect, kMarkerCount> kMarkerRects{{
    {0, 300, 6, 335},
    {125, 300, 131, 335},
    {250, 300, 256, 335},
}};

// What the tail asks for: the bank-file and librarian forms ("/b", "/l")
// start one module further on (marker base 1), anything else at the manager.
enum class TailForm { kOrdinary, kLibrarian, kBankFile };
TailForm ClassifyTail(std::string_view tail);
int MarkerBase(TailForm form);

// Ctrl counts as down when any of the upper 12 bits of its asynchronous key
// state are set.
bool CtrlKeyDown(short asyncKeyState);

// The marked module: the base, one further while Ctrl is down; the editor
// only for a definition of a Korg M1, otherwise the manager.
int MarkedModule(int base, bool ctrlDown, bool m1Definition);

}  // namespace qv
