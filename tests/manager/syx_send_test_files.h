#pragma once
// Files for the send tests: written into a fresh temporary folder that is
// removed again when the test ends.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace qv::test {

using Bytes = std::vector<std::uint8_t>;

// A SysEx message of `length` bytes (at least 2): F0, a counting body, F7.
inline Bytes SysExMessage(std::size_t length, std::uint8_t seed = 0) {
  Bytes m(length);
  for (std::size_t i = 0; i < length; ++i)
    m[i] = static_cast<std::uint8_t>((i * 7 + seed) & 0x7F);
  m.front() = 0xF0;
  m.back() = 0xF7;
  return m;
}

inline void PutInt16(Bytes& out, std::int16_t v) {
  auto u = static_cast<std::uint16_t>(v);
  out.push_back(static_cast<std::uint8_t>(u & 0xFF));
  out.push_back(static_cast<std::uint8_t>(u >> 8));
}

inline void PutInt32(Bytes& out, std::int32_t v) {
  auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
}

// A Kestrovallian file: magic, 100-byte name, count, table, data. The count
// and the table are given separately so that damaged files can be made.
inline Bytes KestrovallianFile(const std::vector<Bytes>& messages, char sign = '+') {
  Bytes out;
  std::string magic = std::string("Kestrovallian") + sign;
  out.insert(out.end(), magic.begin(), magic.end());
  Bytes name(100, 0xCD);
  const std::string title = "dump";
  std::copy(title.begin(), title.end(), name.begin());
  name[title.size()] = 0;
  out.insert(out.end(), name.begin(), name.end());
  PutInt16(out, static_cast<std::int16_t>(messages.size()));
  for (const Bytes& m : messages) PutInt32(out, static_cast<std::int32_t>(m.size()));
  for (const Bytes& m : messages) out.insert(out.end(), m.begin(), m.end());
  return out;
}

inline Bytes Concatenated(const std::vector<Bytes>& messages) {
  Bytes out;
  for (const Bytes& m : messages) out.insert(out.end(), m.begin(), m.end());
  return out;
}

class TempFolder {
 public:
  TempFolder() {
    static int counter = 0;
    path_ = std::filesystem::temp_directory_path() /
            ("qv_send_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string Write(const std::string& name, const Bytes& bytes) const {
    std::filesystem::path p = path_ / name;
    std::ofstream f(p, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
    return p.string();
  }
  std::string PathOf(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace qv::test
