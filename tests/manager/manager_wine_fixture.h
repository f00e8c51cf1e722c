#pragma once
// The manager as the Wine tests of its window start and end it: started in
// a folder of .syx files, waited for until idle, closed as a user does.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "manager/manager_ids.h"
#include "tests/wine/driver/driver.h"

namespace qv::wine {

class ManagerWineTest : public ::testing::Test {
 protected:
  void StartManager(const std::string& midiScript = "") {
    StartOptions options;
    options.fakeMidiConfig = midiScript;
    options.workingDir = folder_;
    program_ = Start(options);
    ASSERT_TRUE(program_.Started());
    manager_ = WaitForWindow({"Qv_SysEx", "", program_.Id()}, 20000);
    ASSERT_NE(manager_, nullptr);
    ASSERT_TRUE(WaitForIdle(program_.Id()));
  }

  void EndProgram() {
    Close(manager_);
    EXPECT_EQ(program_.WaitExit(15000), std::optional<DWORD>(0));
  }

  HWND MessageList() const { return Item(manager_, IDC_MANAGER_MESSAGE_LIST); }
  HWND FileList() const { return Item(manager_, IDC_MANAGER_FILE_LIST); }
  std::vector<std::string> Received() const { return ListLines(MessageList()); }
  std::vector<std::string> Files() const { return ListLines(FileList()); }

  std::string folder_;  // the program's working folder, set by the test's SetUp
  Program program_;
  HWND manager_ = nullptr;
};

}  // namespace qv::wine
