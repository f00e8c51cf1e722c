// The driver checked on a small dialog program of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/wine/driver/driver.h"
#include "tests/wine/sample_dialog/sample_dialog_ids.h"

namespace qv::wine {
namespace {

const char kSampleKey[] = "HKCU\\Software\\Brindlecote\\QuillonDriverSample";

class DriverOnSample : public ::testing::Test {
 protected:
  void StartSample() {
    StartOptions options;
    options.program = QV_SAMPLE_DIALOG;
    program_ = Start(options);
    ASSERT_TRUE(program_.Started());
    dialog_ = WaitForWindow({"Qv_DriverSample", "", program_.Id()});
    ASSERT_NE(dialog_, nullptr);
  }
  void TearDown() override { DeleteKeyTree(kSampleKey); }
  Program program_;
  HWND dialog_ = nullptr;
};

TEST_F(DriverOnSample, FindsTheWindowAndReadsItsLists) {
  ASSERT_NO_FATAL_FAILURE(StartSample());
  EXPECT_EQ(Text(dialog_), "Quillon driver sample");
  EXPECT_EQ(ClassName(dialog_), "Qv_DriverSample");
  EXPECT_EQ(FindTopWindow({"", "Quillon driver sample", program_.Id()}), dialog_);
  EXPECT_EQ(FindTopWindow({"Qv_DriverSample", "", program_.Id() + 100000}), nullptr);
  HWND list = Item(dialog_, IDC_SAMPLE_LIST);
  EXPECT_EQ(ListLines(list), (std::vector<std::string>{"alpha", "beta", "gamma"}));
  EXPECT_EQ(ListSelection(list), -1);
  SelectListLine(list, 1);
  EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog_, IDC_SAMPLE_LIST_CHOICE) == "list: beta"; }, 3000))
      << "the parent saw LBN_SELCHANGE";
  EXPECT_EQ(ListSelection(list), 1);
  HWND combo = Item(dialog_, IDC_SAMPLE_COMBO);
  EXPECT_EQ(ComboLines(combo), (std::vector<std::string>{"one", "two", "three"}));
  SelectComboLine(combo, 2);
  EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog_, IDC_SAMPLE_COMBO_CHOICE) == "combo: three"; }, 3000));
  EXPECT_EQ(ComboSelection(combo), 2);
  SetItemText(dialog_, IDC_SAMPLE_EDIT, "typed text");
  EXPECT_EQ(ItemText(dialog_, IDC_SAMPLE_EDIT), "typed text");
  EXPECT_TRUE(IsEnabled(Item(dialog_, IDC_SAMPLE_ASK)));
}

TEST_F(DriverOnSample, AnswersAMessageBox) {
  ASSERT_NO_FATAL_FAILURE(StartSample());
  EXPECT_TRUE(FindMessageBoxes(program_.Id()).empty()) << "the sample dialog itself is no message box";
  ClickItem(dialog_, IDC_SAMPLE_ASK);
  MessageBoxInfo box = WaitForMessageBox(program_.Id());
  ASSERT_TRUE(box);
  EXPECT_EQ(box.caption, "Sample question");
  EXPECT_EQ(box.text, "Proceed with the sample?\nIt asks twice.");
  EXPECT_EQ(box.owner, dialog_);
  EXPECT_EQ(box.buttons.size(), 2u);
  EXPECT_EQ(FindMessageBoxes(program_.Id(), dialog_).size(), 1u);
  ASSERT_TRUE(AnswerMessageBox(box, IDNO));
  EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog_, IDC_SAMPLE_ANSWER) == "answer: no"; }, 3000));
  ClickItem(dialog_, IDC_SAMPLE_ASK);
  box = WaitForMessageBox(program_.Id(), 10000, dialog_);
  ASSERT_TRUE(box);
  ASSERT_TRUE(AnswerMessageBox(box, IDYES));
  EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog_, IDC_SAMPLE_ANSWER) == "answer: yes"; }, 3000));
}

TEST_F(DriverOnSample, CtrlKeyReachesTheProgram) {
  ASSERT_NO_FATAL_FAILURE(StartSample());
  EXPECT_EQ(ItemText(dialog_, IDC_SAMPLE_CTRL), "ctrl: up");
  {
    CtrlHeld ctrl(dialog_);
    EXPECT_EQ(GetForegroundWindow(), dialog_);
    EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog_, IDC_SAMPLE_CTRL) == "ctrl: down"; }, 3000));
  }
  EXPECT_TRUE(WaitUntil([&] { return ItemText(dialog_, IDC_SAMPLE_CTRL) == "ctrl: up"; }, 3000));
}

TEST_F(DriverOnSample, RegistryValuesRoundTripAndReachTheProgram) {
  ASSERT_TRUE(WriteString(kSampleKey, "Greeting", "hello from the test"));
  ASSERT_TRUE(WriteDword(kSampleKey, "Count", 0x12345678));
  ASSERT_TRUE(WriteEmpty(kSampleKey, "Switch"));
  ASSERT_TRUE(WriteBinary(kSampleKey, "Blob", {1, 2, 3}));
  EXPECT_EQ(ReadString(kSampleKey, "Greeting"), "hello from the test");
  EXPECT_EQ(ReadDword(kSampleKey, "Count"), 0x12345678u);
  auto sw = ReadValue(kSampleKey, "Switch");
  ASSERT_TRUE(sw);
  EXPECT_TRUE(sw->data.empty());
  EXPECT_EQ(ReadValue(kSampleKey, "Blob")->data, (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(ValueNames(kSampleKey).size(), 4u);
  EXPECT_FALSE(ReadDword(kSampleKey, "Missing"));
  ASSERT_NO_FATAL_FAILURE(StartSample());
  EXPECT_EQ(ItemText(dialog_, IDC_SAMPLE_GREETING), "greeting: hello from the test");
  EXPECT_TRUE(DeleteValue(kSampleKey, "Switch"));
  EXPECT_FALSE(ValueExists(kSampleKey, "Switch"));
  EXPECT_TRUE(DeleteKeyTree(kSampleKey));
  EXPECT_FALSE(KeyExists(kSampleKey));
}

TEST_F(DriverOnSample, ScreenshotIsAPngOfTheWindowSize) {
  ASSERT_NO_FATAL_FAILURE(StartSample());
  Pause(300);
  std::string path = Screenshot(dialog_, "driver_sample_dialog");
  ASSERT_FALSE(path.empty());
  auto png = ReadFileBytes(path);
  ASSERT_TRUE(png);
  ASSERT_GT(png->size(), 33u);
  EXPECT_EQ(std::vector<uint8_t>(png->begin(), png->begin() + 8),
            (std::vector<uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
  RECT r;
  GetWindowRect(dialog_, &r);
  auto be32 = [&](size_t at) {
    return static_cast<long>((*png)[at] << 24 | (*png)[at + 1] << 16 | (*png)[at + 2] << 8 | (*png)[at + 3]);
  };
  EXPECT_EQ(be32(16), r.right - r.left);
  EXPECT_EQ(be32(20), r.bottom - r.top);
}

TEST_F(DriverOnSample, ExitCodeAfterClose) {
  ASSERT_NO_FATAL_FAILURE(StartSample());
  EXPECT_TRUE(program_.Running());
  ClickItem(dialog_, IDCANCEL);
  EXPECT_EQ(program_.WaitExit(10000), 7u);
  EXPECT_TRUE(WaitForNoWindow({"Qv_DriverSample", "", 0}, 3000));
}

TEST(Driver, GroupFoldersAreSet) {
  EXPECT_TRUE(FileExists(TestDir()));
  EXPECT_TRUE(FileExists(BinDir() + "\\winmm.dll"));
  EXPECT_FALSE(MidiLogPath().empty());
  EXPECT_FALSE(TempDir().empty());
}

}  // namespace
}  // namespace qv::wine
