#pragma once
// Shared by the manager and MIDI tests: a list control kept in a vector, a
// scratch folder removed after each test, and a message store in it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "manager/list_lines.h"
#include "manager/message_store.h"
#include "tests/support/recording_reporter.h"

namespace qv::test {

class VectorListLines : public ListLines {
 public:
  std::vector<std::string> lines;
  int selected = -1;
  int batches = 0;  // AddMany calls

  int Count() const override { return static_cast<int>(lines.size()); }
  std::string Line(int position) const override { return lines.at(position); }
  void Add(std::string_view line, bool select) override {
    lines.emplace_back(line);
    if (select) selected = Count() - 1;
  }
  void AddMany(const std::vector<std::string>& more) override {
    ++batches;
    lines.insert(lines.end(), more.begin(), more.end());
  }
  void Remove(int position) override {
    lines.erase(lines.begin() + position);
    if (selected == position) selected = -1;
    else if (selected > position) --selected;
  }
  void Clear() override {
    lines.clear();
    selected = -1;
  }
};

inline std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline void WriteWholeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A SysEx message of `length` bytes: F0, the identifier, a running pattern
// below 0x80 that `seed` varies, F7.
inline std::vector<std::uint8_t> MakeMessage(std::size_t length, std::uint8_t id,
                                             std::uint8_t seed = 0) {
  std::vector<std::uint8_t> m(length);
  for (std::size_t i = 0; i < length; ++i) m[i] = static_cast<std::uint8_t>((i * 7 + seed) & 0x7F);
  if (length > 0) m[0] = 0xF0;
  if (length > 1) m[1] = id;
  if (length > 2) m[length - 1] = 0xF7;
  return m;
}

// While it lives, files can't grow beyond `bytes`: writes past it fail as
// on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    oldHandler_ = signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    signal(SIGXFSZ, oldHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_{};
  void (*oldHandler_)(int) = SIG_DFL;
};

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    folder = std::filesystem::temp_directory_path() /
             ("qv_manager_test_" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(folder);
    store = std::make_unique<MessageStore>((folder / "~temp.syx").string(),
                                           (folder / "~temp.lst").string(), reporter);
    store->AttachList(&received);
    ASSERT_TRUE(store->ResetStore());
  }
  void TearDown() override {
    store.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }

  // Appends and commits one whole message.
  bool Put(const std::vector<std::uint8_t>& message, MessageForm form = MessageForm::Received) {
    store->AppendStoreData(message.data(), message.size());
    std::uint8_t id = message.size() > 1 && message[0] == 0xF0 ? message[1] : 0;
    return store->CommitStoredMessage(static_cast<std::int64_t>(message.size()), id, form);
  }

  std::vector<std::uint8_t> StoreData() {
    store->Flush();
    return ReadWholeFile(store->DataPath());
  }
  std::vector<std::int32_t> StoreLengths() {
    store->Flush();
    auto raw = ReadWholeFile(store->LengthPath());
    std::vector<std::int32_t> out;
    for (std::size_t i = 0; i + 4 <= raw.size(); i += 4) {
      out.push_back(static_cast<std::int32_t>(raw[i] | (raw[i + 1] << 8) | (raw[i + 2] << 16) |
                                              (static_cast<std::uint32_t>(raw[i + 3]) << 24)));
    }
    return out;
  }

  std::filesystem::path folder;
  RecordingReporter reporter;
  VectorListLines received;
  std::unique_ptr<MessageStore> store;
};

}  // namespace qv::test
