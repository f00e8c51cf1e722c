#pragma once
// An in-memory registry for the settings tests. It keeps keys with their
// class strings and values with their types and bytes, hands out handles the
// way the real one does, refuses value writes through keys opened without
// write access, and records every write, creation and handle misuse.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "settings/registry.h"

namespace qv::test {

enum class ValueType { None = 0, String = 1, Binary = 3, Dword = 4 };

struct StoredValue {
  ValueType type = ValueType::Dword;
  std::vector<std::uint8_t> data;
};

struct WriteRecord {
  std::string key;  // full path, e.g. "HKCU\Software\...\2.0"
  std::string name;
  ValueType type;
  std::vector<std::uint8_t> data;
};

class FakeRegistry : public Registry {
 public:
  static constexpr const char* kUser = "HKCU";
  static constexpr const char* kMachine = "HKLM";
  static constexpr const char* kClasses = "HKCR";
  static constexpr const char* kUserSettings = "HKCU\\Software\\Brindlecote\\Quillon\\2.0";
  static constexpr const char* kMachineSettings = "HKLM\\Software\\Brindlecote\\Quillon\\2.0";

  FakeRegistry() {
    keys_[Lower(kUser)] = {};
    keys_[Lower(kMachine)] = {};
    keys_[Lower(kClasses)] = {};
    AddKey("HKCU\\Software");
    AddKey("HKLM\\Software");
  }

  // --- setting up -------------------------------------------------------
  void AddKey(const std::string& path, const std::string& className = "") {
    std::string built;
    for (const std::string& part : Split(path)) {
      built = built.empty() ? part : built + "\\" + part;
      auto [it, inserted] = keys_.try_emplace(Lower(built));
      if (inserted) it->second.className = className;
    }
  }
  void SetDword(const std::string& key, const std::string& name, std::int32_t v) {
    std::vector<std::uint8_t> d(4);
    for (int i = 0; i < 4; ++i) d[i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i));
    SetValue(key, name, ValueType::Dword, d);
  }
  void SetValue(const std::string& key, const std::string& name, ValueType type,
                std::vector<std::uint8_t> data) {
    AddKey(key);
    keys_[Lower(key)].values[Lower(name)] = {type, std::move(data)};
  }
  void SetString(const std::string& key, const std::string& name, const std::string& text) {
    std::vector<std::uint8_t> d(text.begin(), text.end());
    d.push_back(0);
    SetValue(key, name, ValueType::String, d);
  }
  void DeleteTree(const std::string& path) {
    std::string low = Lower(path);
    for (auto it = keys_.begin(); it != keys_.end();) {
      if (it->first == low || it->first.rfind(low + "\\", 0) == 0)
        it = keys_.erase(it);
      else
        ++it;
    }
  }
  // Keys under this path can't be created (as when HKLM is not writable).
  void RefuseCreateUnder(const std::string& path) { refused_.push_back(Lower(path)); }

  // --- looking at the result --------------------------------------------
  bool HasKey(const std::string& path) const { return keys_.count(Lower(path)) != 0; }
  std::string ClassOf(const std::string& path) const { return keys_.at(Lower(path)).className; }
  bool HasValue(const std::string& key, const std::string& name) const {
    auto k = keys_.find(Lower(key));
    return k != keys_.end() && k->second.values.count(Lower(name)) != 0;
  }
  const StoredValue& Value(const std::string& key, const std::string& name) const {
    return keys_.at(Lower(key)).values.at(Lower(name));
  }
  std::int32_t Dword(const std::string& key, const std::string& name) const {
    const StoredValue& v = Value(key, name);
    std::uint32_t r = 0;
    for (std::size_t i = 0; i < 4 && i < v.data.size(); ++i) r |= std::uint32_t(v.data[i]) << (8 * i);
    return static_cast<std::int32_t>(r);
  }
  // The text of a string value, up to its first zero.
  std::string String(const std::string& key, const std::string& name) const {
    const StoredValue& v = Value(key, name);
    std::string text(v.data.begin(), v.data.end());
    return text.substr(0, text.find('\0'));
  }
  // Paths of the keys at and below path, as stored (lower case).
  std::vector<std::string> KeysUnder(const std::string& path) const {
    std::vector<std::string> found;
    std::string low = Lower(path);
    for (const auto& [k, key] : keys_)
      if (k == low || k.rfind(low + "\\", 0) == 0) found.push_back(k);
    return found;
  }
  std::vector<std::string> WrittenNames() const {
    std::vector<std::string> names;
    for (const WriteRecord& w : writes) names.push_back(w.name);
    return names;
  }
  std::size_t OpenHandleCount() const { return handles_.size(); }

  std::vector<WriteRecord> writes;
  std::vector<std::string> created;  // paths made by CreateKey, in order
  std::vector<std::string> deleted;  // paths removed by DeleteKey, in order
  int misuses = 0;                   // bad, closed or root handles used wrongly

  // --- Registry ---------------------------------------------------------
  bool OpenKey(RegKey parent, std::string_view name, RegAccess access, RegKey* key) override {
    *key = kNoKey;
    std::string parentPath;
    if (!PathOf(parent, &parentPath)) return false;
    std::string path = parentPath + "\\" + std::string(name);
    if (!HasKey(path)) return false;
    *key = NewHandle(path, access != RegAccess::Read);
    return true;
  }

  bool CreateKey(RegKey parent, std::string_view name, std::string_view className, RegKey* key,
                 bool* created) override {
    *key = kNoKey;
    *created = false;
    std::string parentPath;
    if (!PathOf(parent, &parentPath)) return false;
    std::string path = parentPath + "\\" + std::string(name);
    if (!HasKey(path)) {
      for (const std::string& r : refused_)
        if (Lower(path).rfind(r, 0) == 0) return false;
      keys_[Lower(path)].className = std::string(className);
      this->created.push_back(path);
      *created = true;
    }
    *key = NewHandle(path, true);
    return true;
  }

  void CloseKey(RegKey key) override {
    if (handles_.erase(key) == 0) ++misuses;
  }

  bool ReadDword(RegKey key, std::string_view name, std::int32_t* value) override {
    const StoredValue* v = Find(key, name);
    if (v == nullptr || v->data.size() != 4) return false;
    std::uint32_t r = 0;
    for (int i = 0; i < 4; ++i) r |= std::uint32_t(v->data[i]) << (8 * i);
    *value = static_cast<std::int32_t>(r);
    return true;
  }

  bool ValueFitsFourBytes(RegKey key, std::string_view name) override {
    const StoredValue* v = Find(key, name);
    return v != nullptr && v->data.size() <= 4;
  }

  bool ReadBinary(RegKey key, std::string_view name, std::uint8_t* buffer, std::size_t capacity,
                  std::size_t* length) override {
    *length = 0;
    const StoredValue* v = Find(key, name);
    if (v == nullptr || v->data.size() > capacity) return false;
    if (!v->data.empty()) std::memcpy(buffer, v->data.data(), v->data.size());
    *length = v->data.size();
    return true;
  }

  bool ReadString(RegKey key, std::string_view name, std::size_t capacity,
                  std::string* value) override {
    const StoredValue* v = Find(key, name);
    if (v == nullptr || v->type != ValueType::String || v->data.size() > capacity) return false;
    std::string text(v->data.begin(), v->data.end());
    *value = text.substr(0, text.find('\0'));
    return true;
  }

  bool WriteString(RegKey key, std::string_view name, std::string_view value) override {
    std::vector<std::uint8_t> d(value.begin(), value.end());
    d.push_back(0);
    return Write(key, name, ValueType::String, std::move(d));
  }

  bool DeleteValue(RegKey key, std::string_view name) override {
    std::string path;
    if (!PathOf(key, &path)) return false;
    auto h = handles_.find(key);
    if (h == handles_.end() || !h->second.writable) {
      ++misuses;
      return false;
    }
    auto k = keys_.find(Lower(path));
    return k != keys_.end() && k->second.values.erase(Lower(std::string(name))) != 0;
  }

  bool DeleteKey(RegKey parent, std::string_view name) override {
    std::string parentPath;
    if (!PathOf(parent, &parentPath)) return false;
    std::string low = Lower(parentPath + "\\" + std::string(name));
    if (keys_.count(low) == 0) return false;
    for (const auto& [k, key] : keys_)
      if (k.rfind(low + "\\", 0) == 0) return false;  // still has sub-keys
    keys_.erase(low);
    deleted.push_back(parentPath + "\\" + std::string(name));
    return true;
  }

  bool WriteDword(RegKey key, std::string_view name, std::int32_t value) override {
    std::vector<std::uint8_t> d(4);
    for (int i = 0; i < 4; ++i) d[i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
    return Write(key, name, ValueType::Dword, std::move(d));
  }
  bool WriteBinary(RegKey key, std::string_view name, const std::uint8_t* data,
                   std::size_t length) override {
    return Write(key, name, ValueType::Binary, std::vector<std::uint8_t>(data, data + length));
  }
  bool WriteEmpty(RegKey key, std::string_view name, RegEmptyType type) override {
    return Write(key, name, type == RegEmptyType::Dword ? ValueType::Dword : ValueType::None, {});
  }

 private:
  struct Key {
    std::string className;
    std::map<std::string, StoredValue> values;
  };
  struct Handle {
    std::string path;
    bool writable;
  };

  static std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
  }
  static std::vector<std::string> Split(const std::string& path) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : path) {
      if (c == '\\') {
        parts.push_back(cur);
        cur.clear();
      } else {
        cur += c;
      }
    }
    parts.push_back(cur);
    return parts;
  }

  bool PathOf(RegKey key, std::string* path) {
    if (key == kCurrentUserRoot) {
      *path = kUser;
      return true;
    }
    if (key == kLocalMachineRoot) {
      *path = kMachine;
      return true;
    }
    if (key == kClassesRoot) {
      *path = kClasses;
      return true;
    }
    auto it = handles_.find(key);
    if (it == handles_.end()) {
      ++misuses;
      return false;
    }
    *path = it->second.path;
    return HasKey(*path);
  }
  RegKey NewHandle(const std::string& path, bool writable) {
    RegKey k = nextHandle_++;
    handles_[k] = {path, writable};
    return k;
  }
  const StoredValue* Find(RegKey key, std::string_view name) {
    std::string path;
    if (!PathOf(key, &path)) return nullptr;
    auto k = keys_.find(Lower(path));
    if (k == keys_.end()) return nullptr;
    auto v = k->second.values.find(Lower(std::string(name)));
    return v == k->second.values.end() ? nullptr : &v->second;
  }
  bool Write(RegKey key, std::string_view name, ValueType type, std::vector<std::uint8_t> data) {
    std::string path;
    if (!PathOf(key, &path)) return false;
    auto h = handles_.find(key);
    if (h == handles_.end() || !h->second.writable) {
      ++misuses;
      return false;
    }
    writes.push_back({path, std::string(name), type, data});
    keys_[Lower(path)].values[Lower(std::string(name))] = {type, std::move(data)};
    return true;
  }

  std::map<std::string, Key> keys_;
  std::map<RegKey, Handle> handles_;
  std::vector<std::string> refused_;
  RegKey nextHandle_ = 100;
};

}  // namespace qv::test
