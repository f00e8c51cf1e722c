#include "librarian/librarian_window_forms.h"

#include "librarian/librarian_ids.h"

namespace qv {

LibrarianForms InitialLibrarianForms() { return LibrarianForms{}; }

LibrarianForms ChooseLibrarianForms(int deviceLine, int bankLine, bool ctrlHeld,
                                    bool nameExtraction) {
  LibrarianForms forms;
  forms.saveEnabled = deviceLine != -1;
  forms.copyEnabled = deviceLine != -1 && bankLine != -1;
  forms.deleteEnabled = bankLine != -1;
  forms.saveAsForm = ctrlHeld || !nameExtraction;
  forms.allForm = ctrlHeld && nameExtraction;
  forms.instrumentForm = ctrlHeld;
  return forms;
}

ButtonForm SaveButtonForm(bool saveAsForm) {
  if (saveAsForm) return {"<< Save As...", "Save selected program with a name you specify"};
  return {"<< Save", "Save program into bank file (+CTRL...)"};
}

ButtonForm UpdateButtonForm(bool allForm) {
  if (allForm) return {"<< All", "Get all instrument's programs into bank file"};
  return {"Update", "Update all program names from instrument (+CTRL...)"};
}

ButtonForm ManagerButtonForm(bool instrumentForm) {
  if (instrumentForm) return {"Instrument...", "Choose a new instrument definition"};
  return {"Manager", "Enter general Kestrovallian (+CTRL...)"};
}

std::vector<LibrarianTool> LibrarianToolTips(int level) {
  std::vector<LibrarianTool> tools;
  if (level <= 0) return tools;
  tools = {
      {IDC_LIBRARIAN_SAVE, "Save selected program with a name you specify"},
      {IDC_LIBRARIAN_COPY, "Copy selected program to selected place on instrument"},
      {IDC_LIBRARIAN_UPDATE, "Update all program names from instrument (+CTRL...)"},
      {IDC_LIBRARIAN_DELETE, "Delete selected program from the bank file"},
      {IDC_LIBRARIAN_HELP, "Click for help and useful advice"},
      {IDC_LIBRARIAN_BANK_CHOOSER, "Select bank file to store programs"},
      {IDC_LIBRARIAN_ABOUT, "Show program information"},
      {IDC_LIBRARIAN_CLEAR_NAMES, "Make the program forget the names of programs on instrument"},
      {IDC_LIBRARIAN_MANAGER, "Enter general Kestrovallian (+CTRL...)"},
      {IDC_LIBRARIAN_EDITOR, "Enter program editor (Korg M1 only)"},
  };
  if (level >= 2) {
    tools.push_back({IDC_LIBRARIAN_BANK_LIST, "Lists programs stored in current bank file"});
    tools.push_back({IDC_LIBRARIAN_DEVICE_LIST, "Lists programs on instrument"});
  }
  return tools;
}

}  // namespace qv
