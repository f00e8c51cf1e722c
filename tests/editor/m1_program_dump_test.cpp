#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "editor/m1_all_program_dump.h"
#include "editor/m1_program_dump.h"
#include "editor/seven_in_eight.h"

namespace qv {
namespace {

M1Program RandomProgram(std::mt19937& rng) {
  M1Program p;
  for (auto& b : p) b = std::uint8_t(rng());
  return p;
}

TEST(M1ProgramDump, AllOnesPackIntoFullFlagsAndAShortLastGroup) {
  M1Program p;
  p.fill(0xFF);
  M1ProgramDump d = PackM1Dump(p, 1);
  EXPECT_EQ(d[0], 0xF0);
  EXPECT_EQ(d[1], 0x42);
  EXPECT_EQ(d[2], 0x30);
  EXPECT_EQ(d[3], 0x19);
  EXPECT_EQ(d[4], 0x40);
  EXPECT_EQ(d[169], 0xF7);
  for (int i = 5; i < 169; ++i) {
    int packed = i - 5;
    std::uint8_t expected = (packed == 160) ? 0x07 : 0x7F;
    EXPECT_EQ(d[i], expected) << "packed offset " << packed;
  }
  M1Program back{}, revert{};
  ASSERT_TRUE(UnpackM1Dump(d, back, revert));
  EXPECT_EQ(back, p);
  EXPECT_EQ(revert, p);
}

TEST(M1ProgramDump, EachByteLandsAtItsPackedPlace) {
  struct Case { int index; int offset; int flag_offset; int flag_bit; };
  const Case cases[] = {
      {0, 6, 5, 0}, {6, 12, 5, 6}, {7, 14, 13, 0}, {13, 20, 13, 6},
      {139, 165 - 8 + 7, 157, 6}, {140, 166, 165, 0}, {142, 168, 165, 2},
  };
  for (const Case& c : cases) {
    M1Program p{};
    p[c.index] = 0xA5;  // top bit set, low bits 0x25
    M1ProgramDump d = PackM1Dump(p, 1);
    EXPECT_EQ(d[c.offset], 0x25) << "byte " << c.index;
    EXPECT_EQ(d[c.flag_offset], 1 << c.flag_bit) << "byte " << c.index;
    int others = 0;
    for (int i = 5; i < 169; ++i)
      if (i != c.offset && i != c.flag_offset && d[i] != 0) ++others;
    EXPECT_EQ(others, 0) << "byte " << c.index;
  }
}

TEST(M1ProgramDump, RandomProgramsSurvivePackingAndEveryPackedByteIsData) {
  std::mt19937 rng(1234);
  for (int n = 0; n < 300; ++n) {
    M1Program p = RandomProgram(rng);
    int channel = 1 + n % 16;
    M1ProgramDump d = PackM1Dump(p, channel);
    EXPECT_EQ(d[2], 0x30 + channel - 1);
    for (int i = 1; i < 169; ++i) ASSERT_LT(d[i], 0x80) << "offset " << i;
    M1Program back{}, revert{};
    ASSERT_TRUE(UnpackM1Dump(d, back, revert));
    ASSERT_EQ(back, p);
  }
}

TEST(M1ProgramDump, HeaderIsNotExaminedButShortMessagesAreRefused) {
  std::mt19937 rng(7);
  M1Program p = RandomProgram(rng);
  M1ProgramDump d = PackM1Dump(p, 3);
  d[1] = 0x43;  // someone else's header: still unpacked
  M1Program back{}, revert{};
  ASSERT_TRUE(UnpackM1Dump(d, back, revert));
  EXPECT_EQ(back, p);

  M1Program untouched = BlankM1Program(), revert_untouched = BlankM1Program();
  std::vector<std::uint8_t> shorter(d.begin(), d.end() - 1);
  EXPECT_FALSE(UnpackM1Dump(shorter, untouched, revert_untouched));
  EXPECT_EQ(untouched, BlankM1Program());
  EXPECT_EQ(revert_untouched, BlankM1Program());
  EXPECT_FALSE(UnpackM1Dump({}, untouched, revert_untouched));
}

TEST(M1ProgramDump, ChannelByteStaysADataByte) {
  M1Program p = BlankM1Program();
  EXPECT_EQ(PackM1Dump(p, 1)[2], 0x30);
  EXPECT_EQ(PackM1Dump(p, 16)[2], 0x3F);
  EXPECT_EQ(PackM1Dump(p, 17)[2], 0x30);
  EXPECT_EQ(PackM1Dump(p, 0)[2], 0x3F);
}

TEST(M1ProgramDump, FollowUpMessageFollowsTheGlobalChannel) {
  const FollowUpBytes channel1 = {0xF0, 0x42, 0x30, 0x19, 0x41, 0x00, 0x08, 0x00, 0x00, 0xF7};
  EXPECT_EQ(FollowUpMessage(), channel1);
  EXPECT_EQ(FollowUpMessage(1), channel1);
  FollowUpBytes channel5 = channel1;
  channel5[2] = 0x34;
  EXPECT_EQ(FollowUpMessage(5), channel5);
}

TEST(SevenInEight, SizesOfPackedStreams) {
  struct Case { std::size_t data, packed; };
  for (Case c : {Case{0, 0}, Case{1, 2}, Case{7, 8}, Case{8, 10}, Case{143, 164},
                 Case{14300, 16343}}) {
    EXPECT_EQ(PackedSizeOf(c.data), c.packed) << c.data;
    EXPECT_EQ(UnpackedSizeOf(c.packed), c.data) << c.packed;
  }
  EXPECT_EQ(UnpackedSizeOf(1), 0u);  // a lone flag byte carries nothing
}

TEST(SevenInEight, PackIntoAShortAreaNeverWritesPastIt) {
  std::vector<std::uint8_t> data(20, 0xFF);
  std::vector<std::uint8_t> out(12, 0xEE);
  Pack7in8(data, std::span<std::uint8_t>(out).first(10));
  EXPECT_EQ(out[10], 0xEE);
  EXPECT_EQ(out[11], 0xEE);
  EXPECT_EQ(out[0], 0x7F);
  EXPECT_EQ(out[8], 0x01);  // second group's flag: one byte fits
}

std::vector<std::uint8_t> AllProgramDump(const std::vector<M1Program>& programs) {
  std::vector<std::uint8_t> stream;
  for (const M1Program& p : programs) stream.insert(stream.end(), p.begin(), p.end());
  std::vector<std::uint8_t> message = {0xF0, 0x42, 0x30, 0x19, 0x4C, 0x00};
  std::vector<std::uint8_t> packed = Pack7in8(stream);
  message.insert(message.end(), packed.begin(), packed.end());
  message.push_back(0xF7);
  return message;
}

TEST(M1AllProgramDump, CutsTheUnpackedStreamEvery143Bytes) {
  std::mt19937 rng(99);
  std::vector<M1Program> programs;
  for (int n = 0; n < 5; ++n) programs.push_back(RandomProgram(rng));
  auto split = SplitM1AllProgramDump(AllProgramDump(programs));
  ASSERT_TRUE(split);
  EXPECT_EQ(*split, programs);
}

TEST(M1AllProgramDump, RefusesWhatIsNotOne) {
  std::mt19937 rng(5);
  std::vector<std::uint8_t> good = AllProgramDump({RandomProgram(rng), RandomProgram(rng)});
  ASSERT_TRUE(SplitM1AllProgramDump(good));

  auto with = [&](int at, std::uint8_t value) {
    std::vector<std::uint8_t> m = good;
    m[at] = value;
    return m;
  };
  EXPECT_FALSE(SplitM1AllProgramDump(with(0, 0xF1)));
  EXPECT_FALSE(SplitM1AllProgramDump(with(1, 0x43)));
  EXPECT_FALSE(SplitM1AllProgramDump(with(3, 0x30)));  // another Korg model
  EXPECT_FALSE(SplitM1AllProgramDump(with(4, 0x40)));
  EXPECT_FALSE(SplitM1AllProgramDump(with(int(good.size()) - 1, 0x00)));
  EXPECT_FALSE(SplitM1AllProgramDump(std::vector<std::uint8_t>{0xF0, 0x42, 0x30, 0x19, 0x4C,
                                                               0x00, 0xF7}));
  EXPECT_FALSE(SplitM1AllProgramDump({}));
  // More programs than the instrument holds (a fuzzer's find).
  EXPECT_TRUE(SplitM1AllProgramDump(AllProgramDump(std::vector<M1Program>(100, RandomProgram(rng)))));
  EXPECT_FALSE(SplitM1AllProgramDump(AllProgramDump(std::vector<M1Program>(101, RandomProgram(rng)))));
  // A truncated stream keeps only its whole programs.
  std::vector<std::uint8_t> cut(good.begin(), good.begin() + 6 + 170);
  cut.push_back(0xF7);
  auto one = SplitM1AllProgramDump(cut);
  ASSERT_TRUE(one);
  EXPECT_EQ(one->size(), 1u);
}

}  // namespace
}  // namespace qv
