#include "librarian/definition_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "librarian/library_file_names.h"
#include "librarian/little_endian.h"
#include "tests/librarian/file_size_limit.h"
#include "tests/librarian/scratch_folder.h"

namespace qv {
namespace {

using Bytes = std::vector<uint8_t>;

InstrumentDefinition SampleDefinition() {
  InstrumentDefinition d;
  d.channel = 3;
  d.lowestProgram = 0;
  d.highestProgram = 99;
  d.displayOffset = -1;
  d.programSize = 170;
  d.nameExtraction = 1;
  d.autoUpdate = 0;
  d.inputPort = 2;
  d.outputPort = 4;
  SetFixedText(d.requestString, "C! # F0 42 3! 19 10 F7;170,0");
  SetFixedText(d.sendString, "C! # %");
  SetFixedText(d.nameOffsets, "6 7 8 9 10 11 12 14 15 16 ");
  SetFixedText(d.notes, "Korg M1\r\nProgram mode");
  return d;
}

TEST(InstrumentDefinitionRecord, FieldsSitAtTheirOffsetsLittleEndian) {
  InstrumentDefinition d = SampleDefinition();
  d.channel = 0x04030201;
  d.displayOffset = -2;
  uint8_t record[kDefinitionRecordSize];
  EncodeInstrumentDefinition(d, record);
  EXPECT_EQ(record[0], 0x01);
  EXPECT_EQ(record[3], 0x04);
  EXPECT_EQ(ReadInt32LE(record + 4), 0);
  EXPECT_EQ(ReadInt32LE(record + 8), 99);
  EXPECT_EQ(ReadUint32LE(record + 12), 0xFFFFFFFEu);
  EXPECT_EQ(ReadInt32LE(record + 16), 170);
  EXPECT_EQ(ReadUint32LE(record + 20), 1u);
  EXPECT_EQ(ReadUint32LE(record + 24), 0u);
  EXPECT_EQ(ReadInt32LE(record + 28), 2);
  EXPECT_EQ(ReadInt32LE(record + 32), 4);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(record + 36)), "C! # F0 42 3! 19 10 F7;170,0");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(record + 486)), "C! # %");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(record + 936)), "6 7 8 9 10 11 12 14 15 16 ");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(record + 1036)), "Korg M1\r\nProgram mode");

  InstrumentDefinition back = DecodeInstrumentDefinition(record);
  uint8_t again[kDefinitionRecordSize];
  EncodeInstrumentDefinition(back, again);
  EXPECT_EQ(Bytes(record, record + sizeof record), Bytes(again, again + sizeof again));
}

TEST(InstrumentDefinitionRecord, TextFieldsKeepTheirBytesBehindTheZero) {
  InstrumentDefinition d;
  SetFixedText(d.notes, "a long earlier text");
  SetFixedText(d.notes, "short");
  EXPECT_EQ(FixedText(d.notes), "short");
  EXPECT_EQ(std::string(d.notes.data() + 6, 8), " earlier");  // remains of the earlier text
  SetFixedText(d.nameOffsets, std::string(500, '1'));
  EXPECT_EQ(FixedText(d.nameOffsets).size(), kNameOffsetsSize - 1);
  d.requestString.fill('A');
  EXPECT_EQ(FixedText(d.requestString).size(), kDefinitionStringSize);
}

TEST(InstrumentDefinitionRecord, UsableProgramSize) {
  InstrumentDefinition d;
  const std::pair<int32_t, int32_t> cases[] = {{0, 0}, {170, 170}, {32000, 32000}, {32001, -1}, {-1, -1}};
  for (auto [size, usable] : cases) {
    d.programSize = size;
    EXPECT_EQ(UsableProgramSize(d), usable) << size;
  }
}

TEST(DefinitionFile, SavesAndLoadsTheRecordAndTheName) {
  test::ScratchFolder folder;
  std::string path = folder.File("A.B.QvInstrument");
  InstrumentDefinition d = SampleDefinition();
  ASSERT_EQ(SaveInstrumentDefinition(path, d, DefinitionWrite::CreateNew), FileWriteResult::Written);
  EXPECT_EQ(test::ReadWholeFile(path).size(), kDefinitionRecordSize);

  InstrumentDefinition loaded;
  std::string name = "old";
  ASSERT_TRUE(LoadInstrumentDefinition(path, loaded, name));
  EXPECT_EQ(name, "A.B");
  EXPECT_EQ(loaded.channel, 3u);
  EXPECT_EQ(loaded.highestProgram, 99);
  EXPECT_EQ(loaded.displayOffset, -1);
  EXPECT_EQ(FixedText(loaded.sendString), "C! # %");
  EXPECT_EQ(FixedText(loaded.notes), "Korg M1\r\nProgram mode");

  // Into the current definition.
  ASSERT_TRUE(LoadInstrumentDefinition(path));
  EXPECT_EQ(CurrentDefinitionName, "A.B");
  EXPECT_EQ(CurrentDefinition.programSize, 170);
  EXPECT_EQ(CurrentDefinitionPath(folder.path()), path);
  CurrentDefinition = InstrumentDefinition();
  CurrentDefinitionName.clear();
}

TEST(DefinitionFile, MissingFileChangesNothing) {
  test::ScratchFolder folder;
  InstrumentDefinition d = SampleDefinition();
  std::string name = "Korg M1";
  EXPECT_FALSE(LoadInstrumentDefinition(folder.File("none.QvInstrument"), d, name));
  EXPECT_EQ(name, "Korg M1");
  EXPECT_EQ(d.programSize, 170);
}

TEST(DefinitionFile, ShortFileReplacesOnlyTheBytesItHas) {
  test::ScratchFolder folder;
  std::string path = folder.File("Short.QvInstrument");
  // 9 bytes: the channel, the lowest program and a byte of the highest.
  test::WriteWholeFile(path, Bytes{7, 0, 0, 0, 5, 0, 0, 0, 0x63});
  InstrumentDefinition d = SampleDefinition();
  d.highestProgram = 0x0704;
  std::string name;
  ASSERT_TRUE(LoadInstrumentDefinition(path, d, name));
  EXPECT_EQ(name, "Short");
  EXPECT_EQ(d.channel, 7u);
  EXPECT_EQ(d.lowestProgram, 5);
  // Byte 8 comes from the file; byte 9 of the highest program stays.
  EXPECT_EQ(d.highestProgram, 0x0763);
  EXPECT_EQ(d.programSize, 170);
  EXPECT_EQ(FixedText(d.requestString), "C! # F0 42 3! 19 10 F7;170,0");

  // An empty file changes nothing but the name.
  std::string empty = folder.File("Empty.QvInstrument");
  test::WriteWholeFile(empty, Bytes{});
  ASSERT_TRUE(LoadInstrumentDefinition(empty, d, name));
  EXPECT_EQ(name, "Empty");
  EXPECT_EQ(d.channel, 7u);
}

// Numbers the dialog would refuse make the file a damaged one: it is not
// loaded, and the definition and name stay as they were.
TEST(DefinitionFile, NumbersOutsideTheDialogsRangesAreRefused) {
  test::ScratchFolder folder;
  std::string path = folder.File("Hostile.QvInstrument");
  struct Case {
    const char* what;
    uint32_t channel;
    int32_t lowest, highest, size;
    bool accepted;
  };
  const Case cases[] = {
      {"sample", 3, 0, 99, 170, true},
      {"bounds", 16, 2048, 2048, 32000, true},
      {"bounds low", 1, 0, 0, 0, true},
      {"channel 0", 0, 0, 99, 170, false},
      {"channel 17", 17, 0, 99, 170, false},
      {"channel far", 0xFFFFFFFFu, 0, 99, 170, false},
      {"negative lowest", 3, -1, 99, 170, false},
      {"lowest above highest", 3, 11, 10, 170, false},
      {"lowest at the top", 3, 2147483647, 2147483647, 170, false},
      {"highest 2049", 3, 0, 2049, 170, false},
      {"size 32001", 3, 0, 99, 32001, false},
      {"negative size", 3, 0, 99, -1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    InstrumentDefinition file = SampleDefinition();
    file.channel = c.channel;
    file.lowestProgram = c.lowest;
    file.highestProgram = c.highest;
    file.programSize = c.size;
    Bytes record(kDefinitionRecordSize);
    EncodeInstrumentDefinition(file, record.data());
    test::WriteWholeFile(path, record);
    InstrumentDefinition d = SampleDefinition();
    d.displayOffset = 5;
    std::string name = "Before";
    const DefinitionLoad load = ReadInstrumentDefinition(path, d, name);
    EXPECT_EQ(HoldsAcceptedNumbers(file), c.accepted);
    if (c.accepted) {
      EXPECT_EQ(load, DefinitionLoad::Loaded);
      EXPECT_EQ(d.highestProgram, c.highest);
      EXPECT_EQ(name, "Hostile");
    } else {
      EXPECT_EQ(load, DefinitionLoad::Damaged);
      EXPECT_FALSE(LoadInstrumentDefinition(path, d, name));
      EXPECT_EQ(d.displayOffset, 5);
      EXPECT_EQ(d.highestProgram, 99);
      EXPECT_EQ(name, "Before");
    }
  }
  InstrumentDefinition untouched;
  std::string noName;
  EXPECT_EQ(ReadInstrumentDefinition(folder.File("none.QvInstrument"), untouched, noName),
            DefinitionLoad::NotOpened);
}

// The file a fuzzer found: 25 bytes, cut short, with a lowest program of
// 2,147,483,647 over an all-zero definition.
TEST(DefinitionFile, TheFuzzersReproducerIsRefused) {
  test::ScratchFolder folder;
  std::string path = folder.File("Cut.QvInstrument");
  test::WriteWholeFile(path, Bytes{0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0x7f, 0x00,
                                   0x00, 0x00, 0xff, 0xff, 0x0f, 0x00, 0x5b, 0x5d, 0x5d,
                                   0x00, 0xff, 0x0f, 0x00, 0x5b, 0x5d, 0x5d});
  InstrumentDefinition d;
  std::string name;
  EXPECT_EQ(ReadInstrumentDefinition(path, d, name), DefinitionLoad::Damaged);
  EXPECT_EQ(d.lowestProgram, 0);
  EXPECT_TRUE(name.empty());
  const std::string text = DamagedDefinitionText(path);
  EXPECT_NE(text.find("\"" + path + "\""), std::string::npos) << text;
  EXPECT_NE(text.find("damaged"), std::string::npos) << text;
}

TEST(DefinitionFile, WriteModes) {
  test::ScratchFolder folder;
  std::string path = folder.File("Tone.QvInstrument");
  InstrumentDefinition d = SampleDefinition();
  EXPECT_EQ(SaveInstrumentDefinition(path, d, DefinitionWrite::RewriteExisting),
            FileWriteResult::OpenFailed);
  ASSERT_EQ(SaveInstrumentDefinition(path, d, DefinitionWrite::CreateNew), FileWriteResult::Written);
  EXPECT_EQ(SaveInstrumentDefinition(path, d, DefinitionWrite::CreateNew),
            FileWriteResult::AlreadyExists);
  ASSERT_TRUE(SaveDeviceLines(path, {"000 Piano", "001 Strings"}));
  size_t withTail = test::ReadWholeFile(path).size();
  EXPECT_EQ(withTail, kDefinitionRecordSize + 4 + 2 * 30);

  // Rewriting a listed definition keeps its tail.
  d.channel = 9;
  ASSERT_EQ(SaveInstrumentDefinition(path, d, DefinitionWrite::RewriteExisting),
            FileWriteResult::Written);
  EXPECT_EQ(test::ReadWholeFile(path).size(), withTail);
  std::vector<std::string> lines;
  ASSERT_TRUE(LoadDeviceLines(path, lines));
  EXPECT_EQ(lines, (std::vector<std::string>{"000 Piano", "001 Strings"}));
  InstrumentDefinition loaded;
  std::string name;
  ASSERT_TRUE(LoadInstrumentDefinition(path, loaded, name));
  EXPECT_EQ(loaded.channel, 9u);

  // Replacing it drops the tail.
  ASSERT_EQ(SaveInstrumentDefinition(path, d, DefinitionWrite::CreateReplace),
            FileWriteResult::Written);
  EXPECT_EQ(test::ReadWholeFile(path).size(), kDefinitionRecordSize);

  // A folder that does not exist cannot take a file: reported, not taken
  // as success.
  EXPECT_EQ(SaveInstrumentDefinition(folder.File("no/such/x.QvInstrument"), d,
                                     DefinitionWrite::CreateNew),
            FileWriteResult::OpenFailed);
}

TEST(DefinitionFile, AWriteTheDiskRefusesIsNotTakenAsSuccess) {
  test::ScratchFolder folder;
  std::string path = folder.File("Disk.QvInstrument");
  {
    test::FileSizeLimit limit(1000);
    ASSERT_TRUE(limit.active());
    EXPECT_EQ(SaveInstrumentDefinition(path, SampleDefinition(), DefinitionWrite::CreateNew),
              FileWriteResult::WriteFailed);
  }
  ASSERT_EQ(SaveInstrumentDefinition(path, SampleDefinition(), DefinitionWrite::CreateReplace),
            FileWriteResult::Written);
  {
    test::FileSizeLimit limit(kDefinitionRecordSize + 10);
    ASSERT_TRUE(limit.active());
    EXPECT_FALSE(SaveDeviceLines(path, {"000 Piano", "001 Strings"}));
  }
  EXPECT_TRUE(SaveDeviceLines(path, {"000 Piano", "001 Strings"}));
}

TEST(DeviceLines, StoredAsThirtyByteEntries) {
  test::ScratchFolder folder;
  std::string path = folder.File("Synth.QvInstrument");
  ASSERT_EQ(SaveInstrumentDefinition(path, SampleDefinition(), DefinitionWrite::CreateNew),
            FileWriteResult::Written);
  std::string longLine = "0123456789012345678901234567890123";  // 34 characters
  std::string exact(30, 'e');
  ASSERT_TRUE(SaveDeviceLines(path, {longLine, "001 <Unknown>", exact, ""}));

  Bytes file = test::ReadWholeFile(path);
  ASSERT_EQ(file.size(), 2048u + 4 + 4 * 30);
  EXPECT_EQ(ReadInt32LE(file.data() + 2048), 4);
  EXPECT_EQ(std::string(file.begin() + 2052, file.begin() + 2082), longLine.substr(0, 30));
  EXPECT_EQ(file[2082 + 13], 0);  // zero behind "001 <Unknown>"

  std::vector<std::string> lines{"kept"};
  ASSERT_TRUE(LoadDeviceLines(path, lines));
  EXPECT_EQ(lines, (std::vector<std::string>{longLine.substr(0, 30), "001 <Unknown>", exact, ""}));

  // A shorter tail leaves old bytes behind; the count bounds what is read.
  ASSERT_TRUE(SaveDeviceLines(path, {"only"}));
  EXPECT_EQ(test::ReadWholeFile(path).size(), 2048u + 4 + 4 * 30);
  ASSERT_TRUE(LoadDeviceLines(path, lines));
  EXPECT_EQ(lines, (std::vector<std::string>{"only"}));
}

TEST(DeviceLines, FilesWithoutAUsableTailLeaveTheListAlone) {
  test::ScratchFolder folder;
  std::string path = folder.File("Plain.QvInstrument");
  std::vector<std::string> lines{"000 <Unknown>", "001 <Unknown>"};
  const std::vector<std::string> before = lines;

  EXPECT_FALSE(LoadDeviceLines(path, lines));  // no file
  EXPECT_FALSE(SaveDeviceLines(path, lines));  // existing files only
  EXPECT_FALSE(test::ReadWholeFile(path).size());

  ASSERT_EQ(SaveInstrumentDefinition(path, SampleDefinition(), DefinitionWrite::CreateNew),
            FileWriteResult::Written);
  EXPECT_FALSE(LoadDeviceLines(path, lines));  // exactly 2048 bytes: no tail
  Bytes file = test::ReadWholeFile(path);
  file.insert(file.end(), {0xFF, 0xFF});  // half a count
  test::WriteWholeFile(path, file);
  EXPECT_FALSE(LoadDeviceLines(path, lines));
  file.resize(2048);
  file.insert(file.end(), {0xFF, 0xFF, 0xFF, 0xFF});  // count -1
  test::WriteWholeFile(path, file);
  EXPECT_FALSE(LoadDeviceLines(path, lines));
  EXPECT_EQ(lines, before);
}

TEST(DeviceLines, CountBeyondTheFileReadsOnlyWholeEntries) {
  test::ScratchFolder folder;
  std::string path = folder.File("Broken.QvInstrument");
  Bytes file(2048, 0);
  Bytes count(4);
  WriteInt32LE(count.data(), 0x7FFFFFFF);
  file.insert(file.end(), count.begin(), count.end());
  std::string a = "000 First", b = "001 Second";
  file.insert(file.end(), a.begin(), a.end());
  file.resize(2052 + 30, 0);
  file.insert(file.end(), b.begin(), b.end());
  file.resize(2052 + 60, 0);
  file.insert(file.end(), {'x', 'y'});  // part of a third entry
  test::WriteWholeFile(path, file);
  std::vector<std::string> lines;
  ASSERT_TRUE(LoadDeviceLines(path, lines));
  EXPECT_EQ(lines, (std::vector<std::string>{a, b}));

  // A tail whose count differs from any program range is read back whole.
  WriteInt32LE(file.data() + 2048, 1);
  test::WriteWholeFile(path, file);
  ASSERT_TRUE(LoadDeviceLines(path, lines));
  EXPECT_EQ(lines, (std::vector<std::string>{a}));
}

}  // namespace
}  // namespace qv
