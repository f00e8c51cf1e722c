#include <gtest/gtest.h>

#include "editor/remote_input.h"

namespace qv {
namespace {

std::uint32_t Message(int status, int data1, int data2 = 0) {
  return std::uint32_t(status | data1 << 8 | data2 << 16);
}

using Type = RemoteAction::Type;

TEST(DataEntry, HalvesCombineInEitherOrderIntoASignedValue) {
  struct Case { int high, low; bool low_first; int value; };
  for (Case c : {Case{0, 0, true, 0}, Case{0, 5, false, 5}, Case{0x7F, 0x7F, true, -1},
                 Case{0x7F, 0x76, false, -10}, Case{0x3F, 0x7F, true, 8191},
                 Case{0x40, 0x00, false, -8192}, Case{0x01, 0x00, true, 128}}) {
    RemoteInput input;
    RemoteAction first = c.low_first ? input.Take(Message(0xB0, 38, c.low), 1)
                                     : input.Take(Message(0xB0, 6, c.high), 1);
    EXPECT_EQ(first.type, Type::None);
    RemoteAction second = c.low_first ? input.Take(Message(0xB0, 6, c.high), 1)
                                      : input.Take(Message(0xB0, 38, c.low), 1);
    ASSERT_EQ(second.type, Type::Edit);
    EXPECT_EQ(second.value, c.value);
    EXPECT_EQ(second.mode, 0);
  }
}

TEST(DataEntry, AccumulatorStartsAfreshAfterEachValue) {
  RemoteInput input;
  input.Take(Message(0xB0, 6, 0x7F), 1);
  EXPECT_EQ(input.Take(Message(0xB0, 38, 0x7F), 1).value, -1);
  input.Take(Message(0xB0, 38, 3), 1);
  EXPECT_EQ(input.Take(Message(0xB0, 6, 0), 1).value, 3);
  // A repeated half replaces the earlier one instead of mixing bits into it.
  input.Take(Message(0xB0, 38, 0x05), 1);
  input.Take(Message(0xB0, 38, 0x02), 1);
  EXPECT_EQ(input.Take(Message(0xB0, 6, 0), 1).value, 2);
  input.Take(Message(0xB0, 38, 0x05), 1);
  input.Clear();
  EXPECT_EQ(input.Take(Message(0xB0, 6, 0), 1).type, Type::None);
}

TEST(RemoteMessages, OnlyTheGlobalChannelCounts) {
  RemoteInput input;
  struct Case { std::uint32_t message; int channel; Type type; int value; int mode; };
  const Case cases[] = {
      {Message(0xB0, 96, 0), 1, Type::Edit, 0, +1},
      {Message(0xB4, 97, 0), 5, Type::Edit, 0, -1},
      {Message(0xB4, 97, 0), 1, Type::None, 0, 0},
      {Message(0x9F, 60, 100), 16, Type::Edit, 0, 160},
      {Message(0x90, 60, 0), 1, Type::None, 0, 0},  // a released key
      {Message(0x80, 60, 64), 1, Type::None, 0, 0},
      {Message(0xC0, 7), 1, Type::ProgramChange, 7, 0},
      {Message(0xC1, 7), 1, Type::None, 0, 0},
      {Message(0xB0, 7, 100), 1, Type::None, 0, 0},
      {Message(0xE0, 0, 64), 1, Type::None, 0, 0},
      {Message(0xF8, 0), 1, Type::None, 0, 0},
      {Message(0x40, 0), 1, Type::None, 0, 0},
  };
  for (const Case& c : cases) {
    RemoteAction a = input.Take(c.message, c.channel);
    EXPECT_EQ(a.type, c.type) << std::hex << c.message;
    EXPECT_EQ(a.value, c.value) << std::hex << c.message;
    EXPECT_EQ(a.mode, c.mode) << std::hex << c.message;
  }
}

}  // namespace
}  // namespace qv
