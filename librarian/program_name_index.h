#pragma once
// The names of the programs in the open bank file and the slots they are
// stored in, in the order they were added. Names compare exactly (case
// matters) up to their first zero byte or their 30th byte; a lookup finds
// the first entry of that name that has not been erased.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qv {

inline constexpr size_t kProgramNameSize = 30;
using ProgramName = std::array<char, kProgramNameSize>;

// The text of a 30-byte name field: up to its first zero byte, at most 30
// characters.
std::string_view ProgramNameText(const char* name /* kProgramNameSize bytes */);
std::string_view ProgramNameText(const ProgramName& name);
// A 30-byte name field holding text (at most 29 characters), a zero byte
// and zero padding.
ProgramName MakeProgramName(std::string_view text);

class ProgramNameIndex {
 public:
  struct Entry {
    ProgramName name{};
    int32_t slot = -1;
    bool erased = false;
  };

  void ResetIndex();
  // When the index cannot grow for want of memory, the program ends with
  // "Out of memory.".
  void AddIndexEntry(int32_t slot, const ProgramName& name);
  // The slot of the first entry of that name, or -1.
  int32_t FindIndexEntry(std::string_view name) const;
  // Erases the first entry of that name; false when there is none.
  bool EraseIndexEntry(std::string_view name);
  void FreeIndex();
  // Room for count entries, so that building a large index does not regrow.
  void Reserve(size_t count);

  // Entries added since the last reset, erased ones included.
  size_t Count() const { return entries_.size(); }
  const std::vector<Entry>& Entries() const { return entries_; }

 private:
  static constexpr uint32_t kNoEntry = UINT32_MAX;
  // The live entries of one name form a chain in the order they were
  // added: the first and last position, linked through next_.
  struct Chain {
    uint32_t first;
    uint32_t last;
  };
  struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
  };

  std::vector<Entry> entries_;
  std::vector<uint32_t> next_;  // per entry: the next live entry of its name
  std::unordered_map<std::string, Chain, NameHash, std::equal_to<>> byName_;
};

}  // namespace qv
