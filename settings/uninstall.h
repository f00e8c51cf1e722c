#pragma once
// Removing the program's registry entries: the settings keys of both roots,
// the three file types, and .syx given back to the program that owned it
// before.
#include "base/reporter.h"
#include "settings/registry.h"

namespace qv {

inline constexpr char kUninstallCompletedCaption[] = "Uninstall completed";
extern const char kUninstallCompletedText[];

// Removes every entry (keys that still hold sub-keys of other programs stay)
// and shows the completion box through boxes.
void UninstallProgram(Registry& registry, Reporter& boxes);

}  // namespace qv
