#include "launcher/module_markers.h"

namespace qv {

TailForm ClassifyTail(std::string_view tail) {
  if (tail.starts_with("/l")) return TailForm::kLibrarian;
  if (tail.starts_with("/b")) return TailForm::kBankFile;
  return TailForm::kOrdinary;
}

int MarkerBase(TailForm form) { return form == TailForm::kOrdinary ? 0 : 1; }

bool CtrlKeyDown(short asyncKeyState) {
  return (static_cast<unsigned short>(asyncKeyState) & 0xFFF0u) != 0;
}

int MarkedModule(int base, bool ctrlDown, bool m1Definition) {
  int marked = base + (ctrlDown ? 1 : 0);
  if (marked >= kEditorMarker) return m1Definition ? kEditorMarker : kManagerMarker;
  if (marked < kManagerMarker) return kManagerMarker;
  return marked;
}

}  // namespace qv
