// The trace's window side under Wine: the real lookup of the window titled
// "brannoc.log - Notepad", its edit area 15 and the posted characters,
// against a stand-in Notepad run by another thread. The program writes trace
// lines only from its command-line send; these tests reach the same code
// without it by compiling the trace's own sources in here.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/trace_line.cpp"
#include "base/trace_line_win32.cpp"
#include "tests/wine/driver/driver.h"

namespace qv::wine {
namespace {

std::string TypedWhenSettled(const NotepadStandIn& notepad, const std::string& expected) {
  std::string typed;
  WaitUntil([&] { return (typed = notepad.Typed()) == expected; }, 3000);
  return typed;
}

TEST(TraceLineUnderWine, LinesAreTypedIntoTheNotepadEditArea) {
  NotepadStandIn notepad;
  ASSERT_NE(notepad.Window(), nullptr);
  qv::TraceLine("Sending");
  qv::TraceLine("!");
  qv::TraceLine("Finished");
  EXPECT_EQ(TypedWhenSettled(notepad, "Sending\r!\rFinished\r"), "Sending\r!\rFinished\r");
}

DWORD WINAPI WriteCompletionMark(void* trace) {
  static_cast<qv::TraceTarget*>(trace)->Write("!");
  return 0;
}

TEST(TraceLineUnderWine, LinesFromAnotherThreadArriveWhole) {
  NotepadStandIn notepad;
  qv::NotepadWindows windows;
  qv::TraceTarget trace(windows);
  // The completion callback of the send runs on a thread of the driver.
  HANDLE thread = CreateThread(nullptr, 0, WriteCompletionMark, &trace, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  WaitForSingleObject(thread, 5000);
  CloseHandle(thread);
  trace.Write("Next");
  EXPECT_EQ(TypedWhenSettled(notepad, "!\rNext\r"), "!\rNext\r");
}

TEST(TraceLineUnderWine, NotepadOpenedAfterTheFirstLineGetsNothing) {
  qv::NotepadWindows windows;
  qv::TraceTarget trace(windows);
  trace.Write("Sending");  // no such window yet
  NotepadStandIn notepad;
  ASSERT_NE(FindWindowA(nullptr, "brannoc.log - Notepad"), nullptr);
  trace.Write("Waiting");
  trace.Write("Finished");
  Pause(500);
  EXPECT_EQ(notepad.Typed(), "");
}

TEST(TraceLineUnderWine, OtherWindowTitlesAreNotTheTarget) {
  // Only the exact title counts: a Notepad of another file is left alone.
  NotepadStandIn notepad;
  ASSERT_TRUE(SetWindowTextA(notepad.Window(), "brannoc.txt - Notepad"));
  qv::NotepadWindows windows;
  qv::TraceTarget trace(windows);
  trace.Write("Sending");
  Pause(500);
  EXPECT_EQ(notepad.Typed(), "");
}

}  // namespace
}  // namespace qv::wine
