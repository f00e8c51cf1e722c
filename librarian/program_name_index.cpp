#include "librarian/program_name_index.h"

#include "librarian/out_of_memory.h"

namespace qv {

std::string_view ProgramNameText(const char* name) {
  size_t length = 0;
  while (length < kProgramNameSize && name[length] != '\0') ++length;
  return std::string_view(name, length);
}

std::string_view ProgramNameText(const ProgramName& name) {
  return ProgramNameText(name.data());
}

ProgramName MakeProgramName(std::string_view text) {
  ProgramName name{};
  size_t length = text.size() < kProgramNameSize - 1 ? text.size() : kProgramNameSize - 1;
  for (size_t i = 0; i < length; ++i) name[i] = text[i];
  return name;
}

namespace {

// Names are compared on their first 30 bytes at most.
std::string_view Cut(std::string_view name) {
  return name.size() > kProgramNameSize ? name.substr(0, kProgramNameSize) : name;
}

}  // namespace

void ProgramNameIndex::ResetIndex() {
  entries_.clear();
  next_.clear();
  byName_.clear();
}

void ProgramNameIndex::AddIndexEntry(int32_t slot, const ProgramName& name) {
  GrowOrEnd([&] {
    auto position = static_cast<uint32_t>(entries_.size());
    entries_.push_back(Entry{name, slot, false});
    next_.push_back(kNoEntry);
    auto [chain, added] =
        byName_.try_emplace(std::string(ProgramNameText(name)), Chain{position, position});
    if (!added) {
      next_[chain->second.last] = position;
      chain->second.last = position;
    }
  });
}

int32_t ProgramNameIndex::FindIndexEntry(std::string_view name) const {
  auto found = byName_.find(Cut(name));
  if (found == byName_.end()) return -1;
  return entries_[found->second.first].slot;
}

bool ProgramNameIndex::EraseIndexEntry(std::string_view name) {
  auto found = byName_.find(Cut(name));
  if (found == byName_.end()) return false;
  uint32_t first = found->second.first;
  entries_[first].erased = true;
  if (next_[first] == kNoEntry) {
    byName_.erase(found);
  } else {
    found->second.first = next_[first];
  }
  return true;
}

void ProgramNameIndex::Reserve(size_t count) {
  GrowOrEnd([&] {
    entries_.reserve(count);
    next_.reserve(count);
    byName_.reserve(count);
  });
}

void ProgramNameIndex::FreeIndex() {
  entries_ = std::vector<Entry>();
  next_ = std::vector<uint32_t>();
  byName_ = decltype(byName_)();
}

}  // namespace qv
