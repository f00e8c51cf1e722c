#pragma once
// The librarian window's switching controls: which of Save, Copy and Delete
// are enabled, which form the three Ctrl-dependent buttons show, their
// captions and tooltips, and the tools of each tooltip level.
#include <vector>

namespace qv {

struct LibrarianForms {
  bool saveEnabled = true;
  bool copyEnabled = true;
  bool deleteEnabled = true;
  bool saveAsForm = true;       // "<< Save As..." rather than "<< Save"
  bool allForm = false;         // "<< All" rather than "Update"
  bool instrumentForm = true;   // "Instrument..." rather than "Manager"
  bool operator==(const LibrarianForms&) const = default;
};

// The forms the window opens with (before its first update).
LibrarianForms InitialLibrarianForms();

// deviceLine and bankLine: the selected lines, -1 for none.
LibrarianForms ChooseLibrarianForms(int deviceLine, int bankLine, bool ctrlHeld,
                                    bool nameExtraction);

struct ButtonForm {
  const char* caption;
  const char* tip;
};

ButtonForm SaveButtonForm(bool saveAsForm);
ButtonForm UpdateButtonForm(bool allForm);
ButtonForm ManagerButtonForm(bool instrumentForm);

struct LibrarianTool {
  int controlId;
  const char* text;
};

// The tools of a tooltip level in the order they are registered: none at
// 0, the buttons and the chooser at 1, the two lists as well at 2.
std::vector<LibrarianTool> LibrarianToolTips(int level);

}  // namespace qv
