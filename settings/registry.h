#pragma once
// The few registry operations the settings need, behind a small interface:
// the program uses the Windows registry (registry_win32.cpp), the tests an
// in-memory registry that records what was done.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// An open key, or kNoKey. The two roots are keys that are always open and
// never closed.
using RegKey = std::uintptr_t;
inline constexpr RegKey kNoKey = 0;
inline constexpr RegKey kCurrentUserRoot = 1;   // HKEY_CURRENT_USER
inline constexpr RegKey kLocalMachineRoot = 2;  // HKEY_LOCAL_MACHINE
inline constexpr RegKey kClassesRoot = 3;       // HKEY_CLASSES_ROOT

enum class RegAccess {
  Read,            // read values
  ReadCreateSub,   // read values and create sub-keys
  Full,            // everything
};

// The value types the settings write without data.
enum class RegEmptyType { Dword, None };

class Registry {
 public:
  virtual ~Registry() = default;

  // Opens an existing sub-key; false (and *key = kNoKey) when it is missing
  // or refused.
  virtual bool OpenKey(RegKey parent, std::string_view name, RegAccess access,
                       RegKey* key) = 0;
  // Creates the sub-key with the class string, or opens it when it exists,
  // with full access. *created tells whether it was made now.
  virtual bool CreateKey(RegKey parent, std::string_view name,
                         std::string_view className, RegKey* key,
                         bool* created) = 0;
  virtual void CloseKey(RegKey key) = 0;

  // A 32-bit value: true only when the value exists and holds exactly four
  // bytes; *value is left alone otherwise.
  virtual bool ReadDword(RegKey key, std::string_view name,
                         std::int32_t* value) = 0;
  // Asks for at most four bytes of the value's data: true when the value
  // exists and its data (of any type, possibly none) fits in four bytes.
  virtual bool ValueFitsFourBytes(RegKey key, std::string_view name) = 0;
  // Binary data of at most capacity bytes: true when the value exists and
  // fits; *length receives the bytes copied. A value that does not fit
  // leaves the buffer alone.
  virtual bool ReadBinary(RegKey key, std::string_view name,
                          std::uint8_t* buffer, std::size_t capacity,
                          std::size_t* length) = 0;

  // A string value ("" names the key's default value) of at most capacity
  // bytes with its terminating zero: true when it exists and fits; *value
  // receives the text up to the first zero.
  virtual bool ReadString(RegKey key, std::string_view name, std::size_t capacity,
                          std::string* value) = 0;

  virtual bool WriteDword(RegKey key, std::string_view name,
                          std::int32_t value) = 0;
  // REG_SZ with its terminating zero ("" names the default value).
  virtual bool WriteString(RegKey key, std::string_view name,
                           std::string_view value) = 0;
  virtual bool WriteBinary(RegKey key, std::string_view name,
                           const std::uint8_t* data, std::size_t length) = 0;
  // A value with no data at all: only its presence counts.
  virtual bool WriteEmpty(RegKey key, std::string_view name,
                          RegEmptyType type) = 0;
  virtual bool DeleteValue(RegKey key, std::string_view name) = 0;
  // Deletes the sub-key (name may be a path of several levels) only when it
  // has no sub-keys of its own; a key that still holds some stays.
  virtual bool DeleteKey(RegKey parent, std::string_view name) = 0;
};

// The Windows registry; defined by the window layer only.
Registry& SystemRegistry();

}  // namespace qv
