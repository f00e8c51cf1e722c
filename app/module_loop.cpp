#include "app/module_loop.h"

#include "base/process_state.h"

namespace qv {

bool IsModuleWindowCode(int code) {
  return code == kManagerCode || code == kLibrarianCode || code == kEditorCode;
}

int RunModuleLoop(int firstCode, ModuleRunner& runner) {
  int code = firstCode;
  while (IsModuleWindowCode(code)) {
    runner.ShowBusy();
    code = runner.RunModule(code);
  }
  return code;
}

}  // namespace qv
