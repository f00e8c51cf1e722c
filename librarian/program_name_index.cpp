#include "librarian/program_name_index.h"

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

void ProgramNameIndex::ResetIndex() {
  entries_.clear();
  byName_.clear();
}

void ProgramNameIndex::AddIndexEntry(int32_t slot, const ProgramName& name) {
  Entry entry;
  entry.name = name;
  entry.slot = slot;
  entries_.push_back(entry);
  byName_[std::string(ProgramNameText(name))].push_back(entries_.size() - 1);
}

int32_t ProgramNameIndex::FindIndexEntry(std::string_view name) const {
  if (name.size() > kProgramNameSize) name = name.substr(0, kProgramNameSize);
  auto found = byName_.find(std::string(name));
  if (found == byName_.end() || found->second.empty()) return -1;
  return entries_[found->second.front()].slot;
}

bool ProgramNameIndex::EraseIndexEntry(std::string_view name) {
  if (name.size() > kProgramNameSize) name = name.substr(0, kProgramNameSize);
  auto found = byName_.find(std::string(name));
  if (found == byName_.end() || found->second.empty()) return false;
  entries_[found->second.front()].erased = true;
  found->second.erase(found->second.begin());
  if (found->second.empty()) byName_.erase(found);
  return true;
}

void ProgramNameIndex::Reserve(size_t count) {
  entries_.reserve(count);
  byName_.reserve(count);
}

void ProgramNameIndex::FreeIndex() {
  entries_ = std::vector<Entry>();
  byName_ = std::unordered_map<std::string, std::vector<size_t>>();
}

}  // namespace qv
