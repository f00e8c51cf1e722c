// Shows every dialog template of the main program, fills its controls with
// the widest values they hold in use, and saves a picture of each as a BMP
// file, so that the layouts can be looked at without the module windows.
//
// Usage: qv_show_dialogs OUTPUT_FOLDER [RESOURCE_MODULE]
// Without RESOURCE_MODULE the templates compiled into this tool are used;
// with it (for example Mirelda.dat) that file is loaded as a data file.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "editor/editor_ids.h"
#include "librarian/librarian_ids.h"
#include "manager/manager_ids.h"

namespace {

// A stand-in for the indicator control: two grey halves, "KT" over "VS".
LRESULT CALLBACK TimeTrackProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    const int w = client.right, h = client.bottom;
    RECT upper{0, 0, w, (h + 1) / 2};
    RECT lower{0, h / 2, w, h};
    FillRect(dc, &upper, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    FillRect(dc, &lower, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    HFONT font = CreateFontA(-h / 2, w / 4, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, ANSI_CHARSET,
                             OUT_STRING_PRECIS, 15, DRAFT_QUALITY, VARIABLE_PITCH, nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_TOP | TA_CENTER);
    TextOutA(dc, w / 2, 0, "KT", 2);
    TextOutA(dc, w / 2, h / 2, "VS", 2);
    SelectObject(dc, old);
    DeleteObject(font);
    EndPaint(window, &paint);
    return 0;
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

void RegisterClasses() {
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
    track.lpfnWndProc = TimeTrackProc;
    track.cbWndExtra = 4;
    track.hInstance = GetModuleHandleA(nullptr);
    track.lpszClassName = "Qv_TimeTrack";
    RegisterClassA(&track);
}

void Pump() {
    for (int round = 0; round < 20; ++round) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(25);
    }
}

bool SaveWindowPicture(HWND window, const std::string& path) {
    RECT r;
    GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const int stride = ((w * 3 + 3) / 4) * 4;
    std::vector<unsigned char> pixels(static_cast<size_t>(stride) * h);
    GetDIBits(memory, bitmap, 0, h, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    std::fwrite(&file, sizeof(file), 1, out);
    std::fwrite(&info, sizeof(info), 1, out);
    std::fwrite(pixels.data(), 1, pixels.size(), out);
    std::fclose(out);
    return true;
}

void ShowRange(HWND dialog, int first, int last, bool show) {
    for (int id = first; id <= last; ++id) {
        if (HWND control = GetDlgItem(dialog, id)) ShowWindow(control, show ? SW_SHOW : SW_HIDE);
    }
}

// Puts a text into every edit field of an id range.
void FillEdits(HWND dialog, int first, int last, const char* text) {
    for (int id = first; id <= last; ++id) {
        HWND control = GetDlgItem(dialog, id);
        char cls[32] = {};
        if (control && GetClassNameA(control, cls, sizeof cls) && lstrcmpiA(cls, "Edit") == 0)
            SetWindowTextA(control, text);
    }
}

void AddItems(HWND dialog, int id, std::initializer_list<const char*> items, UINT add, UINT select) {
    for (const char* item : items) SendDlgItemMessageA(dialog, id, add, 0, reinterpret_cast<LPARAM>(item));
    if (select) SendDlgItemMessageA(dialog, id, select, 0, 0);
}

void FillManager(HWND d) {
    AddItems(d, IDC_MANAGER_INPUT_PORT, {"MIDI In 1"}, CB_ADDSTRING, CB_SETCURSEL);
    AddItems(d, IDC_MANAGER_OUTPUT_PORT, {"MIDI Out 1"}, CB_ADDSTRING, CB_SETCURSEL);
    AddItems(d, IDC_MANAGER_MESSAGE_LIST, {"170 bytes [Korg]", "16350 bytes [Korg]", "4104 bytes [Yamaha]", "12 user [Roland]"}, LB_ADDSTRING, 0);
    AddItems(d, IDC_MANAGER_FILE_LIST, {"M1 factory programs.syx", "DX7 rom1a.syx", "* Bank of strings", "- Ensoniq sequences"}, LB_ADDSTRING, 0);
}

void FillLibrarian(HWND d, bool nameExtraction) {
    AddItems(d, IDC_LIBRARIAN_BANK_CHOOSER, {"Korg M1 programs", "Create new bank file"}, CB_ADDSTRING, CB_SETCURSEL);
    AddItems(d, IDC_LIBRARIAN_BANK_LIST, {"Universe", "Piano 16'", "Strings", "Organ 2"}, LB_ADDSTRING, 0);
    AddItems(d, IDC_LIBRARIAN_DEVICE_LIST, {"00 Universe", "01 Lore", "02 Piano 16'", "03 Organ 2"}, LB_ADDSTRING, 0);
    DestroyWindow(GetDlgItem(d, nameExtraction ? IDC_LIBRARIAN_CLEAR_NAMES : IDC_LIBRARIAN_UPDATE));
    SetWindowTextA(d, "Korg M1 - Brindlecote Program Librarian");
}

void FillDefinition(HWND d) {
    AddItems(d, IDC_DEFINITION_MODEL, {"Korg M1", "Define new instrument"}, CB_ADDSTRING, CB_SETCURSEL);
    AddItems(d, IDC_DEFINITION_INPUT_PORT, {"MIDI In 1"}, CB_ADDSTRING, CB_SETCURSEL);
    AddItems(d, IDC_DEFINITION_OUTPUT_PORT, {"MIDI Out 1"}, CB_ADDSTRING, CB_SETCURSEL);
    SetDlgItemTextA(d, IDC_DEFINITION_CHANNEL, "1");
    SetDlgItemTextA(d, IDC_DEFINITION_PROGRAM_SIZE, "170");
    SetDlgItemTextA(d, IDC_DEFINITION_LOWEST, "0");
    SetDlgItemTextA(d, IDC_DEFINITION_HIGHEST, "99");
    SetDlgItemTextA(d, IDC_DEFINITION_DISPLAY_OFFSET, "0");
    SetDlgItemTextA(d, IDC_DEFINITION_REQUEST, "C! # F0 42 3! 19 10 F7;170,0");
    SetDlgItemTextA(d, IDC_DEFINITION_SEND, "C! # %");
    SetDlgItemTextA(d, IDC_DEFINITION_NAME_OFFSETS, "6 7 8 9 10 11 12 14 15 16 ");
    SetDlgItemTextA(d, IDC_DEFINITION_NOTES, "Programs 00 to 99 of a Korg M1 in program mode.");
}

void FillEditor(HWND d, bool oscillatorPage) {
    AddItems(d, IDC_EDITOR_PROGRAM_LIST, {"00 Universe  ", "01 Lore      "}, CB_ADDSTRING, CB_SETCURSEL);
    SetDlgItemTextA(d, IDC_EDITOR_PROGRAM_LIST, "42 Piano 16' ");
    AddItems(d, IDC_EDITOR_EFFECT1_TYPE, {"Symphonic Ens."}, CB_ADDSTRING, CB_SETCURSEL);
    AddItems(d, IDC_EDITOR_EFFECT2_TYPE, {"Delay/Flanger"}, CB_ADDSTRING, CB_SETCURSEL);
    AddItems(d, IDC_EDITOR_OSC_MULTISOUND, {"Metal Hit NT"}, CB_ADDSTRING, CB_SETCURSEL);
    // The widest value of each field: 0..99 by default, then the signed
    // fields, the mixes, pans, octave, key names and effect values.
    FillEdits(d, IDC_EDITOR_PROGRAM_PAGE_FIRST, IDC_EDITOR_PROGRAM_PAGE_LAST, "99");
    FillEdits(d, IDC_EDITOR_OSCILLATOR_PAGE_FIRST, IDC_EDITOR_OSCILLATOR_PAGE_LAST, "99");
    const int signedFields[] = {3105, 3107, 3109, 3110, 3111, 3204, 3205, 3210, 3213, 3221, 3223, 3226,
                                3227, 3228, 3230, 3233, 3236, 3237, 3241, 3243};
    for (int id : signedFields) SetDlgItemTextA(d, id, "-99");
    for (int id = IDC_EDITOR_EFFECT1_MIX_LEFT; id <= IDC_EDITOR_EFFECT2_MIX_RIGHT; ++id) SetDlgItemTextA(d, id, "100");
    SetDlgItemTextA(d, IDC_EDITOR_OUTPUT3_PAN, "65");
    SetDlgItemTextA(d, IDC_EDITOR_OUTPUT4_PAN, "65");
    SetDlgItemTextA(d, IDC_EDITOR_JOYSTICK_PITCH_MG_FREQ, "3");
    SetDlgItemTextA(d, IDC_EDITOR_EFFECT_PARAM_1, "1000");
    SetDlgItemTextA(d, IDC_EDITOR_EFFECT_PARAM_2, "0.03T");
    SetDlgItemTextA(d, IDC_EDITOR_EFFECT_PARAM_3, "2000");
    SetDlgItemTextA(d, IDC_EDITOR_EFFECT_PARAM_4, "-99");
    SetDlgItemTextA(d, IDC_EDITOR_EFFECT_PARAM_5, "4000");
    SetDlgItemTextA(d, IDC_EDITOR_EFFECT_PARAM_6, "-12");
    SetDlgItemTextA(d, IDC_EDITOR_EFFECT_LABEL_1, "Reverb Time");
    SetDlgItemTextA(d, IDC_EDITOR_EFFECT_LABEL_2, "Speed/Wv");
    SetDlgItemTextA(d, IDC_EDITOR_EFFECT_LABEL_3, "Speed ratio");
    SetDlgItemTextA(d, IDC_EDITOR_EFFECT_LABEL_4, "L Feedback");
    SetDlgItemTextA(d, IDC_EDITOR_EFFECT_LABEL_6, "High Damp");
    SetDlgItemTextA(d, IDC_EDITOR_EFFECT_LABEL_5, "High gain");
    SetDlgItemTextA(d, IDC_EDITOR_AMP_TRACK_CENTRE, "C#-1");
    SetDlgItemTextA(d, IDC_EDITOR_CUTOFF_TRACK_CENTRE, "G#9");
    SetDlgItemTextA(d, IDC_EDITOR_OSC_OCTAVE, "16");
    CheckDlgButton(d, IDC_EDITOR_MODE_DOUBLE, BST_CHECKED);
    CheckDlgButton(d, IDC_EDITOR_PITCH_MG_SAW_UP, BST_CHECKED);
    CheckDlgButton(d, IDC_EDITOR_CUTOFF_MG_SQUARE, BST_CHECKED);
    CheckDlgButton(d, IDC_EDITOR_EFFECT_VIEW_1, BST_CHECKED);
    CheckDlgButton(d, IDC_EDITOR_OSCILLATOR_VIEW_1, BST_CHECKED);
    CheckDlgButton(d, IDC_EDITOR_OUTPUT3_MIX, BST_CHECKED);
    ShowRange(d, IDC_EDITOR_PROGRAM_PAGE_FIRST, IDC_EDITOR_PROGRAM_PAGE_LAST, !oscillatorPage);
    ShowRange(d, IDC_EDITOR_PROGRAM_LABELS_FIRST, IDC_EDITOR_PROGRAM_LABELS_LAST, !oscillatorPage);
    ShowRange(d, IDC_EDITOR_OSCILLATOR_PAGE_FIRST, IDC_EDITOR_OSCILLATOR_PAGE_LAST, oscillatorPage);
    ShowRange(d, IDC_EDITOR_OSCILLATOR_LABELS_FIRST, IDC_EDITOR_OSCILLATOR_LABELS_LAST, oscillatorPage);
    SetDlgItemTextA(d, IDC_EDITOR_PAGE, oscillatorPage ? "Program settings" : "Oscillator settings");
}

// Writes a line for every control whose text does not fit its width in the
// dialog's font: labels, buttons, check boxes and filled edit fields.
void ReportClipped(HWND dialog, const char* name, FILE* log) {
    HDC dc = GetDC(dialog);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!IsWindowVisible(c)) continue;
        char cls[32] = {}, text[256] = {};
        GetClassNameA(c, cls, sizeof cls);
        GetWindowTextA(c, text, sizeof text);
        if (!text[0]) continue;
        const LONG style = GetWindowLongA(c, GWL_STYLE);
        int extra = 0;
        if (lstrcmpiA(cls, "Static") == 0) {
            const LONG kind = style & SS_TYPEMASK;
            if (kind > SS_RIGHT && kind != SS_LEFTNOWORDWRAP) continue;
        } else if (lstrcmpiA(cls, "Button") == 0) {
            const LONG kind = style & BS_TYPEMASK;
            if (kind == BS_GROUPBOX) extra = 16;
            else if (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON) extra = 8;
            else extra = GetSystemMetrics(SM_CXMENUCHECK) + 4;
        } else if (lstrcmpiA(cls, "Edit") == 0) {
            extra = 8;
        } else {
            continue;
        }
        RECT r;
        GetClientRect(c, &r);
        if (lstrcmpiA(cls, "Static") == 0) {
            // Labels wrap at word boundaries: what counts is whether every
            // line fits the width and all lines fit the height.
            RECT need{0, 0, r.right, 0};
            DrawTextA(dc, text, -1, &need, DT_CALCRECT | DT_WORDBREAK);
            if (need.right > r.right || need.bottom > r.bottom)
                std::fprintf(log, "%s: id %d \"%s\" needs %ld x %ld px, has %ld x %ld\n", name, GetDlgCtrlID(c),
                             text, need.right, need.bottom, r.right, r.bottom);
            continue;
        }
        SIZE size{};
        GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
        if (size.cx + extra > r.right)
            std::fprintf(log, "%s: id %d \"%s\" needs %ld px, has %ld\n", name,
                         GetDlgCtrlID(c), text, size.cx + extra, r.right);
    }
    SelectObject(dc, old);
    ReleaseDC(dialog, dc);
}

BOOL CALLBACK ListName(HMODULE, LPCSTR, LPSTR name, LONG_PTR param) {
    FILE* log = reinterpret_cast<FILE*>(param);
    if (IS_INTRESOURCE(name)) std::fprintf(log, " #%u", static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(name)));
    else std::fprintf(log, " %s", name);
    return TRUE;
}

// The icon groups in the order the shell counts them, and the start-up
// sound as the program looks it up.
void ReportResources(HMODULE module, FILE* log) {
    std::fprintf(log, "icon groups:");
    EnumResourceNamesA(module, RT_GROUP_ICON, ListName, reinterpret_cast<LONG_PTR>(log));
    std::fprintf(log, "\n");
    HRSRC sound = FindResourceExA(module, "TIBWAVE", "OstrelWave", MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    std::fprintf(log, "OstrelWave: %s, %lu bytes\n", sound ? "found" : "MISSING",
                 sound ? SizeofResource(module, sound) : 0UL);
}

struct Shot {
    const char* resource;
    const char* file;
    void (*fill)(HWND);
};

}  // namespace

int WINAPI WinMain(HINSTANCE self, HINSTANCE, LPSTR, int) {
    if (__argc < 2) return 2;
    const std::string folder = __argv[1];
    HMODULE templates = self;
    if (__argc >= 3) {
        templates = LoadLibraryExA(__argv[2], nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (!templates) return 3;
    }
    RegisterClasses();

    const Shot shots[] = {
        {"MAINWINDOW", "main_window", FillManager},
        {"LIBRARIAN", "librarian", [](HWND d) { FillLibrarian(d, true); }},
        {"LIBRARIAN", "librarian_no_names", [](HWND d) { FillLibrarian(d, false); }},
        {"EDITOR", "editor_program_page", [](HWND d) { FillEditor(d, false); }},
        {"EDITOR", "editor_oscillator_page", [](HWND d) { FillEditor(d, true); }},
        {"CREATE", "create", [](HWND d) { SetDlgItemTextA(d, IDC_CREATE_HEX_TEXT, "f0 43 10 f7"); }},
        {"SAVEAS", "saveas", [](HWND d) { SetDlgItemTextA(d, IDC_SAVEAS_NAME, "Piano 16'"); }},
        {"ENTERLIBRARIAN", "enter_librarian", FillDefinition},
        {"PREFERENCES", "preferences", [](HWND d) { SetDlgItemTextA(d, 3003, "20"); CheckDlgButton(d, 3007, BST_CHECKED); }},
        {"UNINSTALL", "uninstall", nullptr},
        {"ABOUT", "about", nullptr},
    };
    int failures = 0;
    FILE* log = std::fopen((folder + "\\report.txt").c_str(), "w");
    for (const Shot& shot : shots) {
        HWND dialog = CreateDialogParamA(templates, shot.resource, nullptr, QuietDialogProc, 0);
        if (!dialog) {
            std::fprintf(stderr, "%s: cannot create (error %lu)\n", shot.resource, GetLastError());
            ++failures;
            continue;
        }
        if (shot.fill) shot.fill(dialog);
        SetWindowPos(dialog, HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        Pump();
        RedrawWindow(dialog, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump();
        if (log) ReportClipped(dialog, shot.file, log);
        if (!SaveWindowPicture(dialog, folder + "\\" + shot.file + ".bmp")) ++failures;
        DestroyWindow(dialog);
        Pump();
    }
    if (log) {
        ReportResources(templates, log);
        RECT unit{0, 0, 4, 8};
        HWND probe = CreateDialogParamA(templates, "EDITOR", nullptr, QuietDialogProc, 0);
        if (probe) {
            MapDialogRect(probe, &unit);
            std::fprintf(log, "dialog units: 4 x 8 = %ld x %ld px\n", unit.right, unit.bottom);
            DestroyWindow(probe);
        }
        std::fclose(log);
    }
    return failures;
}
