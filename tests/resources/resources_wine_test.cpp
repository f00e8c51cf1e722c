// The resources as the built Mirelda.dat carries them, read under Wine: the
// icon groups in the order the shell counts them, the start-up sound in the
// neutral language, the version record, and every dialog template created
// for real, with the editor's two pages shown in turn and pictures saved.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "editor/editor_ids.h"
#include "tests/wine/driver/driver.h"

namespace {

using qv::wine::BinDir;

std::string ProgramPath() { return BinDir() + "\\Mirelda.dat"; }

HMODULE Templates() {
    static HMODULE module = LoadLibraryExA(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    return module;
}

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// The module class the templates name, and a plain stand-in for the
// indicator control, both usable from the data-file module's templates.
void RegisterClassesOnce() {
    static bool done = false;
    if (done) return;
    done = true;
    WNDCLASSA module{};
    module.style = CS_GLOBALCLASS;
    module.lpfnWndProc = DefDlgProcA;
    module.cbWndExtra = DLGWINDOWEXTRA;
    module.hInstance = GetModuleHandleA(nullptr);
    module.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    module.lpszClassName = "Qv_SysEx";
    RegisterClassA(&module);
    WNDCLASSA track{};
    track.style = CS_GLOBALCLASS;
    track.lpfnWndProc = PlainProc;
    track.cbWndExtra = 4;
    track.hInstance = GetModuleHandleA(nullptr);
    track.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    track.lpszClassName = "Qv_TimeTrack";
    RegisterClassA(&track);
}

void Pump(int rounds = 10) {
    for (int i = 0; i < rounds; ++i) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(20);
    }
}

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR param) {
    auto* names = reinterpret_cast<std::vector<std::string>*>(param);
    if (IS_INTRESOURCE(name)) {
        std::string number = "#";
        number += std::to_string(reinterpret_cast<ULONG_PTR>(name));
        names->push_back(number);
    } else {
        names->push_back(name);
    }
    return TRUE;
}

TEST(ProgramResources, IconGroupsStandInTheOrderTheShellCounts) {
    ASSERT_NE(Templates(), nullptr) << ProgramPath();
    std::vector<std::string> names;
    EnumResourceNamesA(Templates(), RT_GROUP_ICON, CollectName, reinterpret_cast<LONG_PTR>(&names));
    const std::vector<std::string> expected = {"APROGRAMICON", "BFILESICON", "CINSTRUMENTSICON", "DBANKSICON",
                                               "ZICON1", "ZICON2", "ZICON3", "ZM1ICON", "ZWAVE1", "ZWAVE2"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(ExtractIconExA(ProgramPath().c_str(), -1, nullptr, nullptr, 0), expected.size());
    // The module windows load three of them by their mixed-case names.
    for (const char* name : {"AProgramIcon", "DBanksIcon", "zM1Icon"}) {
        HANDLE icon = LoadImageA(Templates(), name, IMAGE_ICON, 32, 32, 0);
        EXPECT_NE(icon, nullptr) << name;
        if (icon) DestroyIcon(static_cast<HICON>(icon));
    }
}

TEST(ProgramResources, StartUpSoundIsAWaveInTheNeutralLanguage) {
    ASSERT_NE(Templates(), nullptr);
    HRSRC found = FindResourceExA(Templates(), "TIBWAVE", "OstrelWave", MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    ASSERT_NE(found, nullptr);
    const DWORD size = SizeofResource(Templates(), found);
    ASSERT_GT(size, 44u);
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(Templates(), found)));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::string(bytes, 4), "RIFF");
    EXPECT_EQ(std::string(bytes + 8, 4), "WAVE");
}

TEST(ProgramResources, VersionRecordNamesProductAndMaker) {
    HMODULE version = LoadLibraryA("version.dll");
    ASSERT_NE(version, nullptr);
    using SizeFn = DWORD(WINAPI*)(LPCSTR, LPDWORD);
    using InfoFn = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
    using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);
    auto size = reinterpret_cast<SizeFn>(reinterpret_cast<void*>(GetProcAddress(version, "GetFileVersionInfoSizeA")));
    auto info = reinterpret_cast<InfoFn>(reinterpret_cast<void*>(GetProcAddress(version, "GetFileVersionInfoA")));
    auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(GetProcAddress(version, "VerQueryValueA")));
    ASSERT_TRUE(size && info && query);
    DWORD ignored = 0;
    const DWORD bytes = size(ProgramPath().c_str(), &ignored);
    ASSERT_GT(bytes, 0u);
    std::vector<char> block(bytes);
    ASSERT_TRUE(info(ProgramPath().c_str(), 0, bytes, block.data()));
    auto value = [&](const char* name) {
        char* text = nullptr;
        UINT length = 0;
        const std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
        if (!query(block.data(), path.c_str(), reinterpret_cast<void**>(&text), &length) || !text) return std::string();
        return std::string(text);
    };
    EXPECT_EQ(value("ProductName"), "Quillon");
    EXPECT_EQ(value("CompanyName"), "Brindlecote");
    EXPECT_EQ(value("OriginalFilename"), "Mirelda.dat");
}

// Texts that do not fit their control in the dialog's font, each with the
// room it needs and the room it has, in dialog units.
std::vector<std::string> ClippedTexts(HWND dialog) {
    std::vector<std::string> clipped;
    RECT units{0, 0, 4, 8};
    MapDialogRect(dialog, &units);  // pixels for 4 by 8 dialog units
    auto du = [&](LONG px, LONG per4) { return static_cast<int>((px * 4 + per4 - 1) / per4); };
    auto note = [&](const char* text, LONG needX, LONG needY, const RECT& r) {
        clipped.push_back(std::string(text) + "\" (needs " + std::to_string(du(needX, units.right)) + "x" +
                          std::to_string(du(needY, units.bottom) * 2) + ", has " +
                          std::to_string(du(r.right, units.right)) + "x" +
                          std::to_string(du(r.bottom, units.bottom) * 2) + ")");
    };
    HDC dc = GetDC(dialog);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!IsWindowVisible(c)) continue;
        char cls[32] = {}, text[256] = {};
        GetClassNameA(c, cls, sizeof cls);
        GetWindowTextA(c, text, sizeof text);
        if (!text[0]) continue;
        const LONG style = GetWindowLongA(c, GWL_STYLE);
        RECT r;
        GetClientRect(c, &r);
        int extra = 0;
        if (lstrcmpiA(cls, "Static") == 0) {
            if ((style & SS_TYPEMASK) > SS_RIGHT && (style & SS_TYPEMASK) != SS_LEFTNOWORDWRAP) continue;
            const bool wraps = (style & SS_TYPEMASK) != SS_LEFTNOWORDWRAP;
            RECT need{0, 0, wraps ? r.right : 0, 0};
            DrawTextA(dc, text, -1, &need, DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
            if (need.right > r.right || need.bottom > r.bottom) note(text, need.right, need.bottom, r);
            continue;
        }
        if (lstrcmpiA(cls, "Button") != 0) continue;
        const LONG kind = style & BS_TYPEMASK;
        if (kind == BS_GROUPBOX) extra = 16;
        else if (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON) extra = 8;
        else extra = GetSystemMetrics(SM_CXMENUCHECK) + 4;
        SIZE size{};
        GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
        if (size.cx + extra > r.right) note(text, size.cx + extra, size.cy, r);
    }
    SelectObject(dc, old);
    ReleaseDC(dialog, dc);
    return clipped;
}

// The pairs of visible controls (group boxes and frames aside) that cover
// each other, as " [a / b]" each, but for one pair that may: a label painted
// over its neighbour hides the neighbour's last letters.
std::string Overlaps(HWND dialog, const std::string& allowed = "") {
    std::vector<HWND> controls;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[32] = {};
        GetClassNameA(c, cls, sizeof cls);
        const LONG style = GetWindowLongA(c, GWL_STYLE);
        const LONG kind = style & SS_TYPEMASK;
        const bool frame = lstrcmpiA(cls, "Static") == 0 &&
                           ((kind >= SS_BLACKRECT && kind <= SS_WHITEFRAME) ||
                            (kind >= SS_ETCHEDHORZ && kind <= SS_ETCHEDFRAME));
        const bool group = lstrcmpiA(cls, "Button") == 0 && (style & BS_TYPEMASK) == BS_GROUPBOX;
        if (IsWindowVisible(c) && !group && !frame) controls.push_back(c);
    }
    std::string overlapping;
    auto name = [](HWND c) {
        char text[64] = {};
        GetWindowTextA(c, text, sizeof text);
        return text[0] ? std::string(text) : "id " + std::to_string(GetDlgCtrlID(c));
    };
    for (std::size_t i = 0; i < controls.size(); ++i) {
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            RECT a, b, both;
            GetWindowRect(controls[i], &a);
            GetWindowRect(controls[j], &b);
            // Controls that touch may share a pixel after rounding.
            InflateRect(&a, -1, -1);
            const std::string pair = name(controls[i]) + " / " + name(controls[j]);
            if (IntersectRect(&both, &a, &b) && pair != allowed) overlapping += " [" + pair + "]";
        }
    }
    return overlapping;
}

HWND Open(const char* name) {
    RegisterClassesOnce();
    HWND dialog = CreateDialogParamA(Templates(), name, nullptr, QuietDialogProc, 0);
    if (dialog) {
        SetWindowPos(dialog, HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        Pump();
    }
    return dialog;
}

TEST(ProgramResources, EveryDialogTemplateCanBeCreated) {
    ASSERT_NE(Templates(), nullptr);
    for (const char* name : {"MainWindow", "Librarian", "Editor", "Create", "SaveAs", "EnterLibrarian",
                             "Preferences", "Uninstall", "about"}) {
        HWND dialog = Open(name);
        EXPECT_NE(dialog, nullptr) << name << " error " << GetLastError();
        if (dialog) DestroyWindow(dialog);
    }
}

TEST(ProgramResources, ModuleWindowsShowEveryTextWhole) {
    ASSERT_NE(Templates(), nullptr);
    for (const char* name : {"MAINWINDOW", "LIBRARIAN", "EDITOR"}) {
        HWND dialog = Open(name);
        ASSERT_NE(dialog, nullptr) << name;
        char cls[32] = {};
        GetClassNameA(dialog, cls, sizeof cls);
        EXPECT_STREQ(cls, "Qv_SysEx");
        const auto clipped = ClippedTexts(dialog);
        EXPECT_TRUE(clipped.empty()) << name << ": \"" << (clipped.empty() ? "" : clipped.front()) << " and "
                                     << (clipped.empty() ? 0 : clipped.size() - 1) << " more";
        // The editor's two pages share one place; each page alone is
        // checked below. The librarian keeps one of "Update" and "Clear
        // names", which share their place, and removes the other.
        if (std::string(name) != "EDITOR") {
            EXPECT_EQ(Overlaps(dialog, "Update / Clear names"), "") << name;
        }
        qv::wine::Screenshot(dialog, std::string("resources_") + name);
        DestroyWindow(dialog);
    }
}

// The small dialogs too: a check box cut at its right edge reads as another
// word ("Welcome sounc"), and no control lies over another.
TEST(ProgramResources, DialogsShowEveryTextWhole) {
    ASSERT_NE(Templates(), nullptr);
    for (const char* name : {"Create", "SaveAs", "EnterLibrarian", "Preferences", "Uninstall", "about"}) {
        HWND dialog = Open(name);
        ASSERT_NE(dialog, nullptr) << name;
        const auto clipped = ClippedTexts(dialog);
        std::string list;
        for (const std::string& text : clipped) list += " \"" + text;
        EXPECT_TRUE(clipped.empty()) << name << ":" << list;
        EXPECT_EQ(Overlaps(dialog), "") << name;
        DestroyWindow(dialog);
    }
}

bool InRange(int id, int first, int last) { return id >= first && id <= last; }

bool OnProgramPage(int id) {
    return InRange(id, IDC_EDITOR_PROGRAM_PAGE_FIRST, IDC_EDITOR_PROGRAM_PAGE_LAST) ||
           InRange(id, IDC_EDITOR_PROGRAM_LABELS_FIRST, IDC_EDITOR_PROGRAM_LABELS_LAST);
}
bool OnOscillatorPage(int id) {
    return InRange(id, IDC_EDITOR_OSCILLATOR_PAGE_FIRST, IDC_EDITOR_OSCILLATOR_PAGE_LAST) ||
           InRange(id, IDC_EDITOR_OSCILLATOR_LABELS_FIRST, IDC_EDITOR_OSCILLATOR_LABELS_LAST);
}

void ShowPage(HWND editor, bool oscillator) {
    for (HWND c = GetWindow(editor, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(c);
        if (OnProgramPage(id)) ShowWindow(c, oscillator ? SW_HIDE : SW_SHOW);
        if (OnOscillatorPage(id)) ShowWindow(c, oscillator ? SW_SHOW : SW_HIDE);
    }
    Pump();
}

// Hiding one page's identifier ranges leaves nothing of it on the screen:
// every visible control then belongs to the page shown or to the controls
// that are always there, and the two pages do not overlap each other's
// visible controls.
TEST(ProgramResources, EditorPagesShowAndHideByTheirIdentifierRanges) {
    ASSERT_NE(Templates(), nullptr);
    HWND editor = Open("EDITOR");
    ASSERT_NE(editor, nullptr);
    for (bool oscillator : {false, true}) {
        ShowPage(editor, oscillator);
        int visible = 0;
        for (HWND c = GetWindow(editor, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            if (!IsWindowVisible(c)) continue;
            ++visible;
            const int id = GetDlgCtrlID(c);
            EXPECT_FALSE(oscillator ? OnProgramPage(id) : OnOscillatorPage(id)) << id;
        }
        EXPECT_GT(visible, 60);
        qv::wine::Screenshot(editor, oscillator ? "resources_EDITOR_oscillator_page" : "resources_EDITOR_program_page");
        const auto clipped = ClippedTexts(editor);
        EXPECT_TRUE(clipped.empty()) << (clipped.empty() ? "" : clipped.front());
        EXPECT_EQ(Overlaps(editor), "") << (oscillator ? "oscillator page" : "program page");
    }
    DestroyWindow(editor);
}

}  // namespace
