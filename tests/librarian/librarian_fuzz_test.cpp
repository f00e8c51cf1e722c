// Seeded random inputs over the string expander, the string check and the
// definition and bank readers. Under the sanitizers any overread, overflow
// or undefined step fails the run; the checks below catch wrong results.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "librarian/answer_data.h"
#include "librarian/bank_files.h"
#include "librarian/definition_file.h"
#include "librarian/definition_string_check.h"
#include "librarian/little_endian.h"
#include "librarian/string_expansion.h"
#include "tests/librarian/scratch_folder.h"
#include "tests/support/recording_reporter.h"

namespace qv {
namespace {

using Bytes = std::vector<uint8_t>;

class Random {
 public:
  explicit Random(uint32_t seed) : engine_(seed) {}
  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(engine_); }
  uint8_t Byte() { return static_cast<uint8_t>(Below(256)); }
  Bytes BytesOf(size_t n) {
    Bytes b(n);
    for (size_t i = 0; i < n; i += 4) {
      uint32_t word = engine_();
      for (size_t k = i; k < n && k < i + 4; ++k, word >>= 8) b[k] = static_cast<uint8_t>(word);
    }
    return b;
  }
  // Text drawn mostly from the notation's own characters.
  std::string NotationText(size_t maxLength) {
    static const std::string kAlphabet = "0123456789ABCDEFabcdef!!##[[]]$$RrR%;;,,--**++  77 xG\t";
    std::string text(static_cast<size_t>(Below(static_cast<int>(maxLength) + 1)), ' ');
    for (char& c : text) {
      c = Below(50) == 0 ? static_cast<char>(Byte()) : kAlphabet[static_cast<size_t>(Below(static_cast<int>(kAlphabet.size())))];
    }
    return text;
  }

 private:
  std::mt19937 engine_;
};

bool IsNibble(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f') || c == '!';
}

TEST(LibrarianFuzz, StringExpansionAndCheck) {
  Random random(20240611);
  for (int round = 0; round < 20000; ++round) {
    std::string text = random.NotationText(round % 10 == 0 ? 449 : 40);
    std::string request = random.NotationText(40);
    Bytes data = random.BytesOf(static_cast<size_t>(random.Below(64)));
    ExpansionInput input;
    input.channel = static_cast<uint32_t>(random.Below(20));
    input.program = random.Below(5) == 0 ? static_cast<int32_t>(random.Below(1 << 30)) * (random.Below(2) ? 1 : -1)
                                         : random.Below(2049);
    input.data = data;
    input.requestString = request;
    test::RecordingReporter reporter;

    Bytes asRequest = ExpandDefinitionString(text, StringKind::Request, input, reporter);
    // No element yields more bytes than it has characters.
    ASSERT_LE(asRequest.size(), text.size()) << text;
    size_t marks = static_cast<size_t>(std::count(text.begin(), text.end(), '%'));
    Bytes asSend = ExpandDefinitionString(text, StringKind::Send, input, reporter);
    ASSERT_LE(asSend.size(), text.size() + marks * data.size()) << text;

    bool valid = ValidateDefinitionString(text);
    // A valid string without sections: exactly its nibble pairs and "#" bytes
    // (and, sent, the data for each "%"), and never a message.
    std::string body = text.substr(0, std::min(text.find(';'), text.size()));
    if (valid && body.find('[') == std::string::npos) {
      size_t nibbles = static_cast<size_t>(std::count_if(body.begin(), body.end(), IsNibble));
      size_t hashes = static_cast<size_t>(std::count(body.begin(), body.end(), '#'));
      size_t bodyMarks = static_cast<size_t>(std::count(body.begin(), body.end(), '%'));
      test::RecordingReporter quiet;
      EXPECT_EQ(ExpandDefinitionString(body, StringKind::Request, input, quiet).size(),
                nibbles / 2 + hashes)
          << body;
      EXPECT_EQ(ExpandDefinitionString(body, StringKind::Send, input, quiet).size(),
                nibbles / 2 + hashes + bodyMarks * data.size())
          << body;
      EXPECT_TRUE(quiet.boxes.empty()) << body;
    }
    for (const auto& box : reporter.boxes) {
      ASSERT_EQ(box.caption, "String interpretation error");
    }
    ASSERT_GE(ExpectedAnswerSize, 0);
    ASSERT_GE(AnswerDataOffset, 0);

    ProgramName name = ExtractProgramName(data, random.Below(80) - 8, text);
    ASSERT_LE(ProgramNameText(name).size(), kProgramNameSize - 1);
    Bytes program = ProgramDataFromAnswer(data, random.Below(80) - 8, random.Below(100) - 10);
    ASSERT_LE(program.size(), 100u);
  }
}

TEST(LibrarianFuzz, DefinitionRecords) {
  Random random(7);
  for (int round = 0; round < 5000; ++round) {
    Bytes record = random.BytesOf(kDefinitionRecordSize);
    InstrumentDefinition d = DecodeInstrumentDefinition(record.data());
    Bytes again(kDefinitionRecordSize);
    EncodeInstrumentDefinition(d, again.data());
    ASSERT_EQ(again, record);
    // Hostile strings: no terminator, any bytes, any channel and size.
    test::RecordingReporter reporter;
    Bytes data(static_cast<size_t>(std::max(0, UsableProgramSize(d))) % 600);
    ASSERT_LE(ExpandRequestString(d, random.Below(2049), reporter).size(), kDefinitionStringSize);
    ASSERT_LE(ExpandSendString(d, random.Below(2049), data, reporter).size(),
              kDefinitionStringSize * (1 + data.size()));
    ValidateDefinitionString(FixedText(d.requestString));
  }
}

TEST(LibrarianFuzz, DefinitionFilesAndDeviceLines) {
  Random random(99);
  test::ScratchFolder folder;
  std::string path = folder.File("Fuzz.QvInstrument");
  for (int round = 0; round < 800; ++round) {
    size_t length = static_cast<size_t>(random.Below(2400));
    Bytes file = random.BytesOf(length);
    if (length >= 2052 && random.Below(2) == 0) {
      // A count near the number of entries the file really holds.
      int32_t count = static_cast<int32_t>((length - 2052) / 30) + random.Below(5) - 2;
      WriteInt32LE(file.data() + 2048, count);
    }
    test::WriteWholeFile(path, file);
    InstrumentDefinition d;
    std::string name;
    const DefinitionLoad load = ReadInstrumentDefinition(path, d, name);
    ASSERT_NE(load, DefinitionLoad::NotOpened);
    if (load == DefinitionLoad::Loaded) {
      ASSERT_EQ(name, "Fuzz");
      ASSERT_TRUE(HoldsAcceptedNumbers(d));
    } else {
      ASSERT_TRUE(name.empty());
    }
    std::vector<std::string> lines{"unchanged"};
    bool read = LoadDeviceLines(path, lines);
    if (read) {
      ASSERT_LE(lines.size(), length > 2052 ? (length - 2052) / 30 : 0);
      for (const auto& line : lines) ASSERT_LE(line.size(), kDeviceLineSize);
    } else {
      ASSERT_EQ(lines, std::vector<std::string>{"unchanged"});
    }
  }
}

TEST(LibrarianFuzz, BankFiles) {
  Random random(31337);
  test::ScratchFolder folder;
  test::RecordingReporter reporter;
  BankFiles banks(reporter);
  const int32_t size = 6;
  banks.SetProgramFolder(folder.path());
  banks.SetProgramSize(size);
  for (int round = 0; round < 300; ++round) {
    // A bank with a few programs, then broken: cut short, map bytes and
    // name bytes changed at random.
    Bytes bank(kBankRecordsAt, 0);
    WriteInt32LE(bank.data(), size);
    int programs = random.Below(40);
    for (int p = 0; p < programs; ++p) {
      int32_t slot = random.Below(60);
      bank[4 + static_cast<size_t>(slot)] = 1;
      size_t at = static_cast<size_t>(BankRecordOffset(slot, size));
      if (bank.size() < at + 36) bank.resize(at + 36, 0);
      for (size_t i = 0; i < 36; ++i) bank[at + i] = random.Below(4) ? static_cast<uint8_t>('a' + random.Below(4)) : random.Byte();
    }
    for (int flips = random.Below(20); flips > 0; --flips) {
      bank[static_cast<size_t>(random.Below(static_cast<int>(bank.size())))] = random.Byte();
    }
    bank.resize(static_cast<size_t>(random.Below(static_cast<int>(bank.size()) + 1)));
    test::WriteWholeFile(folder.File("A.QvBank"), bank);
    std::swap(bank[0], bank[bank.size() / 2 < bank.size() ? bank.size() / 2 : 0]);
    Bytes other = random.Below(2) ? bank : Bytes{};
    if (other.size() >= 4) WriteInt32LE(other.data(), size);
    test::WriteWholeFile(folder.File("B.QvBank"), other);

    banks.ListBankFiles();
    int position = static_cast<int>(std::find(banks.BankNames().begin(), banks.BankNames().end(), "A") -
                                    banks.BankNames().begin());
    if (position == banks.BankCount()) continue;  // header broken: not offered
    banks.CloseBankFile();
    ASSERT_TRUE(banks.OpenBankFile(position, nullptr));
    for (const auto& entry : banks.Index().Entries()) {
      ASSERT_GE(entry.slot, 0);
      ASSERT_LT(entry.slot, kBankSlotCount);
      Bytes buffer(size);
      banks.ReadBankProgram(entry.slot, buffer);
    }
    banks.MergeBankFiles(folder.File("B.QvBank"));
    ProgramName name = MakeProgramName(std::string(1, static_cast<char>('a' + random.Below(4))));
    Bytes data = random.BytesOf(size);
    StoreResult stored = banks.StoreBankProgram(name, data);
    ASSERT_EQ(stored.outcome, StoreResult::Outcome::Stored);
    Bytes back(size);
    ASSERT_TRUE(banks.ReadBankProgram(stored.slot, back));
    ASSERT_EQ(back, data);
    ASSERT_TRUE(banks.DeleteBankProgram(ProgramNameText(name)));
    // Each slot is listed once, so the deleted slot is no longer found.
    ASSERT_NE(banks.FindIndexEntry(ProgramNameText(name)), stored.slot);
  }
}

}  // namespace
}  // namespace qv
