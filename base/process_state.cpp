#include "base/process_state.h"

namespace qv {

std::string ProgramPath;
std::string ProgramFolder;
std::string TempFolder;
TempFileNames TempFiles;
InstanceHandle ProgramInstance = nullptr;

WindowHandle ModuleWindow = nullptr;
int CurrentModule = 0;
WindowHandle HelpOwner = nullptr;
int DirectEntry = 0;
int StartBankIndex = 0;
bool BusyCursor = false;
WindowHandle TooltipWindow = nullptr;
WindowHandle LoaderWindow = nullptr;
bool ModuleWindowPainted = false;

std::string HelpFilePath() { return ProgramFolder + "\\Mirelda.hlp"; }

}  // namespace qv
