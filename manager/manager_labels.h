#pragma once
// The manager window's switching labels and its tooltips: which form each
// switching button shows, the texts of both forms, and the tools of each
// tooltip level.
#include <array>
#include <vector>

namespace qv {

// The four buttons whose label and tooltip change with the Ctrl key and the
// list selections. "Plain" acts on the selection (or the remembered
// instrument); "choosing" asks first.
enum class SwitchingButton { CreateEdit, Open, Send, Librarian };

struct LabelForms {
  bool plain[4] = {false, false, false, false};  // indexed by SwitchingButton
  bool Plain(SwitchingButton b) const { return plain[static_cast<int>(b)]; }
  bool operator==(const LabelForms&) const = default;
};

// Create/Edit is plain with a message selected, Open and Send with a file
// selected, Librarian with a remembered instrument (not -1); none while
// Ctrl is held.
LabelForms ChooseLabelForms(bool messageSelected, bool fileSelected, bool ctrlHeld,
                            int librarianInstrument);

struct LabelPair {
  SwitchingButton button;
  int controlId;
  const char* plainLabel;
  const char* plainTip;
  const char* choosingLabel;
  const char* choosingTip;
};

const std::array<LabelPair, 4>& SwitchingLabels();

struct ToolTipEntry {
  int controlId;
  const char* text;
};

// The tools of a tooltip level (0 none, 1 the buttons and port lists, 2 the
// lists as well), with the texts of the choosing forms the window opens with.
std::vector<ToolTipEntry> ManagerToolTips(int level);

}  // namespace qv
