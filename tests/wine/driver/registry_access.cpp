// Settings in the registry, read and written as the tests arrange them.
#include <windows.h>

#include "tests/wine/driver/driver.h"

namespace qv::wine {
namespace {

// Splits "HKCU\\Software\\..." into its root and the rest.
bool SplitKey(const std::string& key, HKEY& root, std::wstring& rest) {
  size_t cut = key.find('\\');
  std::string head = key.substr(0, cut);
  rest = cut == std::string::npos ? std::wstring() : Wide(key.substr(cut + 1));
  if (head == "HKCU" || head == "HKEY_CURRENT_USER") root = HKEY_CURRENT_USER;
  else if (head == "HKLM" || head == "HKEY_LOCAL_MACHINE") root = HKEY_LOCAL_MACHINE;
  else if (head == "HKCR" || head == "HKEY_CLASSES_ROOT") root = HKEY_CLASSES_ROOT;
  else return false;
  return true;
}

HKEY OpenKey(const std::string& key, REGSAM access, bool create) {
  HKEY root;
  std::wstring rest;
  if (!SplitKey(key, root, rest)) return nullptr;
  HKEY k = nullptr;
  LONG r = create ? RegCreateKeyExW(root, rest.c_str(), 0, nullptr, 0, access, nullptr, &k, nullptr)
                  : RegOpenKeyExW(root, rest.c_str(), 0, access, &k);
  return r == ERROR_SUCCESS ? k : nullptr;
}

bool Write(const std::string& key, const std::string& name, DWORD type, const void* data, DWORD size) {
  HKEY k = OpenKey(key, KEY_SET_VALUE, true);
  if (!k) return false;
  LONG r = RegSetValueExW(k, Wide(name).c_str(), 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(k);
  return r == ERROR_SUCCESS;
}

}  // namespace

bool KeyExists(const std::string& key) {
  HKEY k = OpenKey(key, KEY_READ, false);
  if (k) RegCloseKey(k);
  return k != nullptr;
}

std::optional<RegistryValue> ReadValue(const std::string& key, const std::string& name) {
  HKEY k = OpenKey(key, KEY_QUERY_VALUE, false);
  if (!k) return std::nullopt;
  std::wstring wname = Wide(name);
  RegistryValue v;
  DWORD size = 0;
  LONG r = RegQueryValueExW(k, wname.c_str(), nullptr, &v.type, nullptr, &size);
  if (r == ERROR_SUCCESS) {
    v.data.resize(size);
    r = RegQueryValueExW(k, wname.c_str(), nullptr, &v.type, size ? v.data.data() : nullptr, &size);
    v.data.resize(size);
  }
  RegCloseKey(k);
  if (r != ERROR_SUCCESS) return std::nullopt;
  return v;
}

bool ValueExists(const std::string& key, const std::string& name) { return ReadValue(key, name).has_value(); }

std::optional<DWORD> ReadDword(const std::string& key, const std::string& name) {
  auto v = ReadValue(key, name);
  if (!v || v->data.size() < 4) return std::nullopt;
  return static_cast<DWORD>(v->data[0] | v->data[1] << 8 | v->data[2] << 16 |
                            static_cast<DWORD>(v->data[3]) << 24);
}

std::optional<std::string> ReadString(const std::string& key, const std::string& name) {
  auto v = ReadValue(key, name);
  if (!v || (v->type != REG_SZ && v->type != REG_EXPAND_SZ)) return std::nullopt;
  std::wstring w(reinterpret_cast<const wchar_t*>(v->data.data()), v->data.size() / sizeof(wchar_t));
  w.resize(wcsnlen(w.c_str(), w.size()));
  return Utf8(w);
}

std::vector<std::string> ValueNames(const std::string& key) {
  std::vector<std::string> names;
  HKEY k = OpenKey(key, KEY_QUERY_VALUE, false);
  if (!k) return names;
  for (DWORD i = 0;; ++i) {
    wchar_t name[16384];
    DWORD len = 16384;
    if (RegEnumValueW(k, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.push_back(Utf8(std::wstring(name, len)));
  }
  RegCloseKey(k);
  return names;
}

bool WriteDword(const std::string& key, const std::string& name, DWORD value) {
  return Write(key, name, REG_DWORD, &value, sizeof value);
}

bool WriteString(const std::string& key, const std::string& name, const std::string& value) {
  std::wstring w = Wide(value);
  return Write(key, name, REG_SZ, w.c_str(), static_cast<DWORD>((w.size() + 1) * sizeof(wchar_t)));
}

bool WriteBinary(const std::string& key, const std::string& name, const std::vector<uint8_t>& data) {
  return Write(key, name, REG_BINARY, data.data(), static_cast<DWORD>(data.size()));
}

bool WriteEmpty(const std::string& key, const std::string& name) { return Write(key, name, REG_SZ, "", 0); }

bool DeleteValue(const std::string& key, const std::string& name) {
  HKEY k = OpenKey(key, KEY_SET_VALUE, false);
  if (!k) return false;
  LONG r = RegDeleteValueW(k, Wide(name).c_str());
  RegCloseKey(k);
  return r == ERROR_SUCCESS;
}

bool DeleteKeyTree(const std::string& key) {
  HKEY root;
  std::wstring rest;
  if (!SplitKey(key, root, rest) || rest.empty()) return false;
  LONG r = RegDeleteTreeW(root, rest.c_str());
  if (r != ERROR_SUCCESS) return r == ERROR_FILE_NOT_FOUND;
  return RegDeleteKeyW(root, rest.c_str()) == ERROR_SUCCESS || !KeyExists(key);
}

}  // namespace qv::wine
