#pragma once
// The instrument definitions that ship in the program folder. They are made
// the way the definition dialog makes a definition a user types: from the
// dialog's fields, through the dialog's own checks, into a new file.
#include <string>
#include <vector>

#include "base/reporter.h"
#include "librarian/definition_dialog_form.h"

namespace qv {

struct ShippedDefinition {
  std::string name;  // the file name without ".QvInstrument"
  DefinitionFormFields fields;
};

// Every definition that ships, in the order they are written.
const std::vector<ShippedDefinition>& ShippedDefinitions();

// Writes each shipped definition as "<folder>/<name>.QvInstrument",
// replacing a file of that name. A field the dialog would refuse is shown
// to reporter and stops the writing. Returns the paths written, or nothing
// at the first refusal or failure.
std::vector<std::string> WriteShippedDefinitions(const std::string& folder, Reporter& reporter);

}  // namespace qv
