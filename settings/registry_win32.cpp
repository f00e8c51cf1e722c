// The settings' registry operations on the Windows registry.
#include <windows.h>

#include <string>

#include "settings/registry.h"

namespace qv {

namespace {

HKEY ToHkey(RegKey key) {
  if (key == kCurrentUserRoot) return HKEY_CURRENT_USER;
  if (key == kLocalMachineRoot) return HKEY_LOCAL_MACHINE;
  if (key == kClassesRoot) return HKEY_CLASSES_ROOT;
  return reinterpret_cast<HKEY>(key);
}

RegKey FromHkey(HKEY key) { return reinterpret_cast<RegKey>(key); }

REGSAM ToSam(RegAccess access) {
  switch (access) {
    case RegAccess::Read: return KEY_READ;
    case RegAccess::ReadCreateSub: return KEY_READ | KEY_CREATE_SUB_KEY;
    case RegAccess::Full: break;
  }
  return KEY_ALL_ACCESS;
}

class WindowsRegistry : public Registry {
 public:
  bool OpenKey(RegKey parent, std::string_view name, RegAccess access, RegKey* key) override {
    HKEY opened = nullptr;
    bool ok = RegOpenKeyExA(ToHkey(parent), std::string(name).c_str(), 0, ToSam(access), &opened) ==
              ERROR_SUCCESS;
    *key = ok ? FromHkey(opened) : kNoKey;
    return ok;
  }

  bool CreateKey(RegKey parent, std::string_view name, std::string_view className, RegKey* key,
                 bool* created) override {
    std::string cls(className);
    HKEY made = nullptr;
    DWORD disposition = 0;
    bool ok = RegCreateKeyExA(ToHkey(parent), std::string(name).c_str(), 0, cls.data(),
                              REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &made,
                              &disposition) == ERROR_SUCCESS;
    *key = ok ? FromHkey(made) : kNoKey;
    *created = ok && disposition == REG_CREATED_NEW_KEY;
    return ok;
  }

  void CloseKey(RegKey key) override {
    if (key != kNoKey && key != kCurrentUserRoot && key != kLocalMachineRoot && key != kClassesRoot)
      RegCloseKey(ToHkey(key));
  }

  bool ReadDword(RegKey key, std::string_view name, std::int32_t* value) override {
    BYTE data[4] = {};
    DWORD size = sizeof data;
    if (RegQueryValueExA(ToHkey(key), std::string(name).c_str(), nullptr, nullptr, data, &size) !=
            ERROR_SUCCESS ||
        size != 4) {
      return false;
    }
    std::uint32_t v = std::uint32_t(data[0]) | std::uint32_t(data[1]) << 8 |
                      std::uint32_t(data[2]) << 16 | std::uint32_t(data[3]) << 24;
    *value = static_cast<std::int32_t>(v);
    return true;
  }

  bool ValueFitsFourBytes(RegKey key, std::string_view name) override {
    BYTE data[4] = {};
    DWORD size = sizeof data;
    return RegQueryValueExA(ToHkey(key), std::string(name).c_str(), nullptr, nullptr, data, &size) ==
           ERROR_SUCCESS;
  }

  bool ReadBinary(RegKey key, std::string_view name, std::uint8_t* buffer, std::size_t capacity,
                  std::size_t* length) override {
    *length = 0;
    // Read into a copy, so that a value that does not fit leaves the buffer
    // as it was.
    std::string copy(capacity, '\0');
    DWORD size = static_cast<DWORD>(capacity);
    if (RegQueryValueExA(ToHkey(key), std::string(name).c_str(), nullptr, nullptr,
                         reinterpret_cast<BYTE*>(copy.data()), &size) != ERROR_SUCCESS ||
        size > capacity) {
      return false;
    }
    copy.copy(reinterpret_cast<char*>(buffer), size);
    *length = size;
    return true;
  }

  bool ReadString(RegKey key, std::string_view name, std::size_t capacity,
                  std::string* value) override {
    std::string data(capacity, '\0');
    DWORD size = static_cast<DWORD>(capacity);
    DWORD type = REG_NONE;
    if (RegQueryValueExA(ToHkey(key), std::string(name).c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS ||
        size > capacity || (type != REG_SZ && type != REG_EXPAND_SZ)) {
      return false;
    }
    data.resize(size);
    std::size_t end = data.find('\0');
    if (end != std::string::npos) data.resize(end);
    *value = data;
    return true;
  }

  bool WriteString(RegKey key, std::string_view name, std::string_view value) override {
    std::string text(value);
    return RegSetValueExA(ToHkey(key), std::string(name).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
  }

  bool DeleteValue(RegKey key, std::string_view name) override {
    return RegDeleteValueA(ToHkey(key), std::string(name).c_str()) == ERROR_SUCCESS;
  }

  bool DeleteKey(RegKey parent, std::string_view name) override {
    // RegDeleteKeyA refuses a key that still has sub-keys.
    return RegDeleteKeyA(ToHkey(parent), std::string(name).c_str()) == ERROR_SUCCESS;
  }

  bool WriteDword(RegKey key, std::string_view name, std::int32_t value) override {
    std::uint32_t v = static_cast<std::uint32_t>(value);
    BYTE data[4] = {BYTE(v), BYTE(v >> 8), BYTE(v >> 16), BYTE(v >> 24)};
    return RegSetValueExA(ToHkey(key), std::string(name).c_str(), 0, REG_DWORD, data, 4) ==
           ERROR_SUCCESS;
  }

  bool WriteBinary(RegKey key, std::string_view name, const std::uint8_t* data,
                   std::size_t length) override {
    return RegSetValueExA(ToHkey(key), std::string(name).c_str(), 0, REG_BINARY, data,
                          static_cast<DWORD>(length)) == ERROR_SUCCESS;
  }

  bool WriteEmpty(RegKey key, std::string_view name, RegEmptyType type) override {
    return RegSetValueExA(ToHkey(key), std::string(name).c_str(), 0,
                          type == RegEmptyType::Dword ? REG_DWORD : REG_NONE, nullptr,
                          0) == ERROR_SUCCESS;
  }
};

}  // namespace

Registry& SystemRegistry() {
  static WindowsRegistry registry;
  return registry;
}

}  // namespace qv
