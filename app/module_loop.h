#pragma once
// The module loop: the module windows run one after another, each naming
// the next by its result, until one ends the program.
namespace qv {

class ModuleRunner {
 public:
  virtual ~ModuleRunner() = default;
  // Shows the wait cursor while the next window is built.
  virtual void ShowBusy() = 0;
  // Runs the window of code (1 manager, 2 librarian, 3 editor) modally and
  // returns its result.
  virtual int RunModule(int code) = 0;
};

// True for the codes that name a module window.
bool IsModuleWindowCode(int code);

// Runs the module windows from firstCode on. The loop ends on 0, and also on
// any code that names no module window (a window that could not be made
// gives -1): nothing would be shown again, so the program ends instead of
// lingering without a window. Returns the code that ended the loop.
int RunModuleLoop(int firstCode, ModuleRunner& runner);

}  // namespace qv
