#pragma once
// The command-line forms of the main program: "/send <file>" sends a .syx
// file without a window, "/librarian <file>" enters with an instrument
// definition, "/bankfile <file>" enters the librarian with a bank file;
// anything else is an ordinary start. The decisions here need no window.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

enum class CommandLineForm { Ordinary, Send, Instrument, Bank };

struct CommandLineRequest {
  CommandLineForm form = CommandLineForm::Ordinary;
  std::string path;  // the file of the three forms; may be empty
};

// Only the first "/" counts; the letter after it, in lower case only,
// chooses the form. The switch word runs to the first space after it and
// everything behind that space, spaces included, is the path. A switch word
// with no space behind it names no file: the form keeps an empty path.
CommandLineRequest ParseCommandLine(std::string_view text);

inline constexpr char kCommandLineErrorCaption[] = "Command line error";
inline constexpr char kInstrumentNotFoundMessage[] = "Specified instrument file was not found.";
inline constexpr char kBankNotFoundMessage[] =
    "Specified bank file was not found; you must keep these files in the same folder as "
    "Mirelda.exe.";
inline constexpr char kNoMatchingInstrumentMessage[] =
    "Can't find an instrument that matches specified bank file. Be sure you have an instrument "
    "definition for the instrument used to create the bank file.";

// The program size a bank file names when nothing can be read from it.
inline constexpr uint32_t kUnreadableBankProgramSize = 9999999;

// The last component of a path (after its last backslash or slash).
std::string_view LastPathComponent(std::string_view path);

// The position of the first name that is file's name to the file system
// (equal without regard to case), or -1.
int32_t PositionOfFileName(const std::vector<std::string>& fileNames, std::string_view file);

// Whether a definition name is one the M1 editor works with: "K" and "o" as
// its first two characters and "M" and "1" as its sixth and seventh.
bool IsM1DefinitionName(std::string_view name);

// The bank's program size: its first 4 bytes, little-endian, or
// kUnreadableBankProgramSize when the file cannot be read that far.
uint32_t ReadBankProgramSize(const std::string& path);

// The position of the bank named bankFileName (a name with extension) in
// the librarian's bank chooser, which lists only the banks whose program
// size (first 4 bytes) is this bank's, in the order of bankPaths (the
// folder's bank files in file-system order). -1 when it is not among them.
int32_t BankChooserPosition(const std::vector<std::string>& bankPaths, std::string_view bankFileName);

// The command line after the program's name, as the C runtime gives it to
// WinMain: a quoted name runs to the next quote, an unquoted one to the
// first space or tab; the spaces and tabs behind it are skipped.
std::wstring_view CommandLineTail(std::wstring_view whole);

// Which of the listed definitions a bank with programSize is opened with:
// the first whose program size equals it, unless the remembered position
// also matches. programSizeAt(n) gives the size of definition n, or nothing
// when it cannot be loaded. -1 when none matches.
int32_t ChooseDefinitionForBank(int definitionCount,
                                const std::function<std::optional<int32_t>(int)>& programSizeAt,
                                uint32_t programSize, int32_t librarianInstrument);

}  // namespace qv
