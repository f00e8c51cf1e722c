#pragma once
// A check the Wine tests of the three module windows share: Ctrl+P and
// Ctrl+U open their dialogs over the window.
#include <gtest/gtest.h>

#include <utility>

#include "tests/wine/driver/driver.h"

namespace qv::wine {

// Ctrl+P opens Preferences and Ctrl+U the uninstall dialog over `window`;
// both are cancelled and the window stays. A key press made while Wine
// hands the focus over can get lost: pressed again, up to three times.
inline void ExpectModuleShortcuts(const Program& program, HWND window) {
  for (auto [key, title] : {std::pair{'P', "Preferences"}, std::pair{'U', "Uninstall"}}) {
    HWND dialog = nullptr;
    for (int attempt = 0; attempt < 3 && dialog == nullptr; ++attempt) {
      PressKey(static_cast<WORD>(key), true, window);
      dialog = WaitForWindow({"#32770", title, program.Id()}, 4000);
    }
    ASSERT_NE(dialog, nullptr) << title;
    EXPECT_FALSE(IsEnabled(window)) << title << " is modal to the module window";
    ClickItem(dialog, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 10000)) << title;
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(WaitUntil([&] { return IsEnabled(window); }, 5000));
  }
}

}  // namespace qv::wine
