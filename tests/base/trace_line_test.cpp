#include "base/trace_line.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qv {
namespace {

// Fake window handles: only their identity matters.
WindowHandle Handle(std::uintptr_t n) { return reinterpret_cast<WindowHandle>(n); }

class FakeNotepad : public TraceWindows {
 public:
  bool notepadOpen = false;
  bool hasEditArea = true;
  int searches = 0;
  std::vector<std::pair<WindowHandle, unsigned char>> posted;

  WindowHandle FindTraceWindow() override {
    ++searches;
    return notepadOpen ? Handle(0x100) : nullptr;
  }
  WindowHandle FindEditArea(WindowHandle notepad) override {
    return notepad == Handle(0x100) && hasEditArea ? Handle(0x115) : nullptr;
  }
  void PostCharacter(WindowHandle target, unsigned char c) override { posted.push_back({target, c}); }

  std::string Typed() const {
    std::string s;
    for (auto [target, c] : posted) {
      EXPECT_EQ(target, Handle(0x115));
      s += static_cast<char>(c);
    }
    return s;
  }
};

TEST(TraceLine, TypesEachLineIntoTheEditAreaWithACarriageReturn) {
  FakeNotepad notepad;
  notepad.notepadOpen = true;
  TraceTarget trace(notepad);
  trace.Write("Sending");
  trace.Write("!");
  trace.Write("");
  trace.Write("Finished");
  EXPECT_EQ(notepad.Typed(), "Sending\r!\r\rFinished\r");
  EXPECT_EQ(notepad.searches, 1);
}

TEST(TraceLine, CharactersAboveSevenBitsArriveUnsigned) {
  FakeNotepad notepad;
  notepad.notepadOpen = true;
  TraceTarget trace(notepad);
  trace.Write("\xE9\xFF");
  ASSERT_EQ(notepad.posted.size(), 3u);
  EXPECT_EQ(notepad.posted[0].second, 0xE9);
  EXPECT_EQ(notepad.posted[1].second, 0xFF);
  EXPECT_EQ(notepad.posted[2].second, 13);
}

TEST(TraceLine, WithoutTheWindowAtTheFirstLineNothingIsEverTraced) {
  FakeNotepad notepad;
  TraceTarget trace(notepad);
  trace.Write("Sending");
  notepad.notepadOpen = true;  // opened too late
  trace.Write("Waiting");
  trace.Write("Finished");
  EXPECT_TRUE(notepad.posted.empty());
  EXPECT_EQ(notepad.searches, 1);
}

TEST(TraceLine, NotepadWithoutItsEditAreaCountsAsNoWindow) {
  FakeNotepad notepad;
  notepad.notepadOpen = true;
  notepad.hasEditArea = false;
  TraceTarget trace(notepad);
  trace.Write("Sending");
  notepad.hasEditArea = true;
  trace.Write("Waiting");
  EXPECT_TRUE(notepad.posted.empty());
  EXPECT_EQ(notepad.searches, 1);
}

// Lines from the completion callback may race the first line of the
// user-interface thread: the window is still looked for only once.
class CountingWindows : public TraceWindows {
 public:
  std::atomic<int> searches{0};
  std::atomic<int> characters{0};
  WindowHandle FindTraceWindow() override {
    ++searches;
    std::this_thread::yield();
    return Handle(0x100);
  }
  WindowHandle FindEditArea(WindowHandle) override { return Handle(0x115); }
  void PostCharacter(WindowHandle, unsigned char) override { ++characters; }
};

TEST(TraceLine, LinesFromTwoThreadsLookForTheWindowOnce) {
  CountingWindows windows;
  TraceTarget trace(windows);
  std::thread callback([&] {
    for (int i = 0; i < 200; ++i) trace.Write("!");
  });
  for (int i = 0; i < 200; ++i) trace.Write("Next");
  callback.join();
  EXPECT_EQ(windows.searches.load(), 1);
  EXPECT_EQ(windows.characters.load(), 200 * 2 + 200 * 5);
}

// Records characters from any thread, in the order they are posted.
class LockedNotepad : public TraceWindows {
 public:
  WindowHandle FindTraceWindow() override { return Handle(0x100); }
  WindowHandle FindEditArea(WindowHandle) override { return Handle(0x115); }
  void PostCharacter(WindowHandle, unsigned char c) override {
    std::lock_guard<std::mutex> guard(lock);
    typed += static_cast<char>(c);
  }
  std::mutex lock;
  std::string typed;
};

TEST(TraceLine, ALineFromTheCallbackNeverLandsInsideAnotherLine) {
  LockedNotepad windows;
  TraceTarget trace(windows);
  std::thread callback([&] {
    for (int i = 0; i < 500; ++i) trace.Write("!");
  });
  for (int i = 0; i < 500; ++i) trace.Write("Waiting");
  callback.join();
  int bangs = 0, waits = 0;
  std::string line;
  for (char c : windows.typed) {
    if (c != '\r') {
      line += c;
      continue;
    }
    if (line == "!") ++bangs;
    else if (line == "Waiting") ++waits;
    else ADD_FAILURE() << "mixed line: " << line;
    line.clear();
  }
  EXPECT_EQ(bangs, 500);
  EXPECT_EQ(waits, 500);
}

}  // namespace
}  // namespace qv
