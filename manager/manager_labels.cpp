#include "manager/manager_labels.h"

#include "manager/manager_ids.h"

namespace qv {

LabelForms ChooseLabelForms(bool messageSelected, bool fileSelected, bool ctrlHeld,
                            int librarianInstrument) {
  LabelForms forms;
  forms.plain[static_cast<int>(SwitchingButton::CreateEdit)] = messageSelected && !ctrlHeld;
  forms.plain[static_cast<int>(SwitchingButton::Open)] = fileSelected && !ctrlHeld;
  forms.plain[static_cast<int>(SwitchingButton::Send)] = fileSelected && !ctrlHeld;
  forms.plain[static_cast<int>(SwitchingButton::Librarian)] =
      librarianInstrument != -1 && !ctrlHeld;
  return forms;
}

const std::array<LabelPair, 4>& SwitchingLabels() {
  static const std::array<LabelPair, 4> pairs = {{
      {SwitchingButton::CreateEdit, IDC_MANAGER_CREATE, "Edit",
       "Edit selected sysex message (+CTRL...)", "Create",
       "Create new sysex message from user input"},
      {SwitchingButton::Open, IDC_MANAGER_OPEN, "<< Open",
       "Open selected file into memory (+CTRL...)", "<< Open...",
       "Choose a file from disk to open into memory"},
      {SwitchingButton::Send, IDC_MANAGER_SEND, "Send",
       "Send selected file to instrument (+CTRL...)", "Send...",
       "Choose a file from disk to send to instrument"},
      {SwitchingButton::Librarian, IDC_MANAGER_LIBRARIAN, "Librarian",
       "Enter librarian (+CTRL...)", "Librarian...",
       "Choose instrument settings and enter librarian"},
  }};
  return pairs;
}

std::vector<ToolTipEntry> ManagerToolTips(int level) {
  if (level <= 0) return {};
  std::vector<ToolTipEntry> tools = {
      {IDC_MANAGER_INPUT_PORT, "Choose MIDI port that will receive data"},
      {IDC_MANAGER_OUTPUT_PORT, "Choose MIDI port to send data with"},
      {IDC_MANAGER_SAVE_AS, "Save all the above data"},
      {IDC_MANAGER_CLEAR, "Clear all the above data"},
      {IDC_MANAGER_DELETE, "Delete selected file from disk"},
      {IDC_MANAGER_HELP, "Click for help and useful advice"},
      {IDC_MANAGER_CREATE, "Create new sysex message from user input"},
      {IDC_MANAGER_ACK, "Transmit acknowledging message on receipt of data"},
      {IDC_MANAGER_ABOUT, "Show program information"},
      {IDC_MANAGER_OPEN, "Choose a file from disk to open into memory"},
      {IDC_MANAGER_SEND, "Choose a file from disk to send to instrument"},
      {IDC_MANAGER_LIBRARIAN, "Choose instrument settings and enter librarian"},
  };
  if (level >= 2) {
    tools.push_back({IDC_MANAGER_FILE_LIST, "Lists files on disk, in the current folder"});
    tools.push_back({IDC_MANAGER_MESSAGE_LIST, "Lists data in memory"});
  }
  return tools;
}

}  // namespace qv
