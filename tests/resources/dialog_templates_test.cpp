// The dialog templates of the manager and librarian windows and of the small
// dialogs, checked against their control tables: identifiers, kinds, texts,
// places and the styles that make the behaviour (sorted lists, default
// buttons, check boxes the program sets itself).
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "editor/editor_ids.h"
#include "librarian/librarian_ids.h"
#include "manager/manager_ids.h"
#include "settings/settings_ids.h"
#include "tests/resources/rc_script.h"

namespace qv::test {
namespace {

constexpr int kAny = -1;  // a size the table leaves open

struct Row {
    int id;             // -1: a control without identifier, found by its text
    const char* cls;    // window class
    const char* text;
    int x, y, w, h;     // dialog units; kAny for w and h where not fixed
    std::vector<const char*> styles;  // flags the control must have
    std::vector<const char*> without = {};  // flags it must not have
};

const RcControl* FindRow(const RcDialog& dialog, const Row& row) {
    if (row.id != -1) return dialog.Find(row.id);
    const RcControl* found = nullptr;
    for (const RcControl& c : dialog.controls)
        if (c.id == -1 && c.text == row.text && c.cls == row.cls) {
            if (found) return nullptr;  // ambiguous
            found = &c;
        }
    return found;
}

void ExpectRows(const RcDialog& dialog, const std::vector<Row>& rows) {
    for (const Row& row : rows) {
        SCOPED_TRACE(dialog.name + " control " + std::to_string(row.id) + " \"" + row.text + "\"");
        if (row.id != -1) {
            ASSERT_EQ(dialog.WithId(row.id).size(), 1u) << "each identifier appears once";
        }
        const RcControl* c = FindRow(dialog, row);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->cls, row.cls);
        EXPECT_EQ(c->text, row.text);
        EXPECT_EQ(c->x, row.x);
        EXPECT_EQ(c->y, row.y);
        if (row.w != kAny) {
            EXPECT_EQ(c->w, row.w);
        }
        if (row.h != kAny) {
            EXPECT_EQ(c->h, row.h);
        }
        for (const char* flag : row.styles) EXPECT_TRUE(c->HasStyle(flag)) << "missing " << flag;
        for (const char* flag : row.without) EXPECT_FALSE(c->HasStyle(flag)) << "unexpected " << flag;
    }
    // Nothing beyond the table: every control with an identifier is listed.
    std::set<int> listed;
    for (const Row& row : rows) listed.insert(row.id);
    for (const RcControl& c : dialog.controls)
        if (c.id != -1) {
            EXPECT_TRUE(listed.count(c.id)) << dialog.name << ": unlisted control " << c.idName;
        }
}

void ExpectFrame(const RcDialog& d, int x, int y, int w, int h, const char* caption) {
    EXPECT_EQ(d.x, x);
    EXPECT_EQ(d.y, y);
    EXPECT_EQ(d.w, w);
    EXPECT_EQ(d.h, h);
    EXPECT_EQ(d.caption, caption);
    EXPECT_EQ(d.font, "8, \"MS Sans Serif\"");
}

TEST(ModuleTemplates, ManagerWindowMatchesItsControlTable) {
    const RcDialog d = LoadDialog("main_window.rc", "MAINWINDOW");
    ExpectFrame(d, 10, 42, 244, 206, "Brindlecote Kestrovallian 97");
    EXPECT_EQ(d.cls, "Qv_SysEx");
    for (const char* flag : {"WS_CAPTION", "WS_SYSMENU", "WS_MINIMIZEBOX"})
        EXPECT_NE(d.style.find(flag), std::string::npos) << flag;
    ExpectRows(d, {
        {-1, "Button", "Input sysex messages", 4, 21, 93, 182, {"BS_GROUPBOX"}},
        {IDC_MANAGER_INPUT_PORT, "ComboBox", "", 10, 33, 80, 73, {"CBS_DROPDOWNLIST"}},
        {IDC_MANAGER_MESSAGE_LIST, "ListBox", "", 10, 49, 81, 113, {"LBS_NOTIFY"}, {"LBS_SORT"}},
        {IDC_MANAGER_CLEAR, "Button", "Clear", 10, 166, 38, 14, {"BS_PUSHBUTTON"}},
        {IDC_MANAGER_CREATE, "Button", "Create", 53, 166, 38, 14, {"BS_PUSHBUTTON"}},
        {IDC_MANAGER_ACK, "Button", "Ack", 12, 185, 23, 12, {"BS_CHECKBOX"}, {"BS_AUTOCHECKBOX"}},
        {IDC_MANAGER_SAVE_AS, "Button", "Save As... >>", 38, 184, 53, 14, {"BS_PUSHBUTTON"}},
        {-1, "Button", "Stored sysex messages", 101, 21, 141, 182, {"BS_GROUPBOX"}},
        {IDC_MANAGER_OUTPUT_PORT, "ComboBox", "", 107, 33, 130, 73, {"CBS_DROPDOWNLIST"}},
        {IDC_MANAGER_FILE_LIST, "ListBox", "", 107, 49, 130, 130, {"LBS_NOTIFY"}, {"LBS_SORT"}},
        {IDC_MANAGER_OPEN, "Button", "<< Open...", 107, 184, 46, 14, {"BS_PUSHBUTTON"}},
        {IDC_MANAGER_DELETE, "Button", "Delete", 164, 184, 34, 14, {"BS_PUSHBUTTON"}},
        {IDC_MANAGER_SEND, "Button", "Send...", 201, 184, 37, 14, {"BS_DEFPUSHBUTTON"}},
        {IDC_MANAGER_LIBRARIAN, "Button", "Librarian...", 129, 4, 42, 14, {"BS_PUSHBUTTON"}},
        {IDC_MANAGER_HELP, "Button", "Help", 176, 4, 31, 14, {"BS_PUSHBUTTON"}},
        {IDC_MANAGER_ABOUT, "Button", "About", 211, 4, 31, 14, {"BS_PUSHBUTTON"}},
    });
}

TEST(ModuleTemplates, LibrarianWindowMatchesItsControlTable) {
    const RcDialog d = LoadDialog("librarian.rc", "LIBRARIAN");
    EXPECT_EQ(d.x, 10);
    EXPECT_EQ(d.y, 42);
    EXPECT_EQ(d.w, 244);
    EXPECT_EQ(d.h, 206);
    EXPECT_EQ(d.cls, "Qv_SysEx");
    EXPECT_EQ(d.font, "8, \"MS Sans Serif\"");
    for (const char* flag : {"WS_CAPTION", "WS_SYSMENU", "WS_MINIMIZEBOX"})
        EXPECT_NE(d.style.find(flag), std::string::npos) << flag;
    ExpectRows(d, {
        {-1, "Button", "Programs on disk", 4, 21, 117, 182, {"BS_GROUPBOX"}},
        {IDC_LIBRARIAN_BANK_CHOOSER, "ComboBox", "", 10, 31, 106, 73, {"CBS_DROPDOWNLIST"}},
        {IDC_LIBRARIAN_BANK_LIST, "ListBox", "", 10, 46, 106, 137, {"LBS_NOTIFY", "LBS_SORT"}},
        {IDC_LIBRARIAN_DELETE, "Button", "Delete", 10, 186, 34, 14, {"BS_PUSHBUTTON"}},
        {IDC_LIBRARIAN_COPY, "Button", "Copy >>", 76, 186, 40, 14, {"BS_PUSHBUTTON"}},
        {-1, "Button", "Device current programs", 125, 21, 117, 182, {"BS_GROUPBOX"}},
        {IDC_LIBRARIAN_DEVICE_LIST, "ListBox", "", 131, 31, 106, 152, {"LBS_NOTIFY"}, {"LBS_SORT"}},
        {IDC_LIBRARIAN_SAVE, "Button", "<< Save As...", 131, 186, 53, 14, {"BS_PUSHBUTTON"}},
        {IDC_LIBRARIAN_UPDATE, "Button", "Update", 201, 186, 36, 14, {"BS_PUSHBUTTON"}},
        {IDC_LIBRARIAN_CLEAR_NAMES, "Button", "Clear names", 186, 186, 51, 14, {"BS_PUSHBUTTON"}},
        {IDC_LIBRARIAN_EDITOR, "Button", "Editor", 116, 4, 25, 14, {"BS_PUSHBUTTON"}},
        {IDC_LIBRARIAN_MANAGER, "Button", "Manager", 144, 4, 40, 14, {"BS_PUSHBUTTON"}},
        {IDC_LIBRARIAN_HELP, "Button", "Help", 187, 4, 25, 14, {"BS_PUSHBUTTON"}},
        {IDC_LIBRARIAN_ABOUT, "Button", "About", 215, 4, 27, 14, {"BS_PUSHBUTTON"}},
    });
}

TEST(SmallDialogs, MessageEditorMatchesItsControlTable) {
    const RcDialog d = LoadDialog("create.rc", "CREATE");
    ExpectFrame(d, 10, 32, 164, 55, "Create/Edit SysEx Message");
    ExpectRows(d, {
        {-1, "Static", "SysEx data should be entered in hex format. See the help file for an example.", 5, 3, 155, 18, {}},
        {IDC_CREATE_HEX_TEXT, "Edit", "", 4, 23, 156, 12, {"ES_AUTOHSCROLL", "ES_UPPERCASE", "WS_BORDER"}},
        {IDC_CREATE_OK, "Button", "OK", 124, 40, 36, 12, {"BS_DEFPUSHBUTTON"}},
        {IDC_CREATE_CANCEL, "Button", "Cancel", 4, 40, 36, 12, {"BS_PUSHBUTTON"}},
        {IDC_CREATE_HELP, "Button", "Help", 44, 40, 36, 12, {"BS_PUSHBUTTON"}},
    });
}

TEST(SmallDialogs, ProgramNameDialogHoldsOneFieldInItsGroup) {
    const RcDialog d = LoadDialog("saveas.rc", "SAVEAS");
    EXPECT_EQ(d.caption, "Save As...");
    const RcControl* field = d.Find(IDC_SAVEAS_NAME);
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->cls, "Edit");
    ASSERT_NE(d.Find(1), nullptr);
    ASSERT_NE(d.Find(2), nullptr);
    EXPECT_EQ(d.Find(1)->text, "OK");
    EXPECT_TRUE(d.Find(1)->HasStyle("BS_DEFPUSHBUTTON"));
    EXPECT_EQ(d.Find(2)->text, "Cancel");
    const RcControl* group = nullptr;
    for (const RcControl& c : d.controls)
        if (c.text == "Program name (up to 30 characters)") group = &c;
    ASSERT_NE(group, nullptr);
    EXPECT_TRUE(group->HasStyle("BS_GROUPBOX"));
    EXPECT_TRUE(field->x >= group->x && field->Right() <= group->Right() && field->y >= group->y &&
                field->Bottom() <= group->Bottom()) << "the field lies inside its group";
}

TEST(SmallDialogs, DefinitionDialogMatchesItsControlTable) {
    const RcDialog d = LoadDialog("enter_librarian.rc", "ENTERLIBRARIAN");
    ExpectFrame(d, 10, 10, 198, 211, "Librarian options");
    ExpectRows(d, {
        {1, "Button", "OK", 145, 5, 50, 14, {"BS_DEFPUSHBUTTON"}},
        {2, "Button", "Cancel", 145, 21, 50, 14, {"BS_PUSHBUTTON"}},
        {IDC_DEFINITION_HELP, "Button", "Help", 145, 37, 50, 14, {"BS_PUSHBUTTON"}},
        {-1, "Button", "Instrument settings", 3, 1, 138, 50, {"BS_GROUPBOX"}},
        {-1, "Static", "Model", 9, 11, kAny, kAny, {}},
        {IDC_DEFINITION_MODEL, "ComboBox", "", 8, 20, 95, 93, {"CBS_DROPDOWNLIST"}},
        {-1, "Static", "Channel", 97, 11, kAny, kAny, {"SS_RIGHT"}},
        {IDC_DEFINITION_CHANNEL, "Edit", "", 111, 21, 25, 11, {}},
        {IDC_DEFINITION_INPUT_PORT, "ComboBox", "", 8, 34, 62, 40, {"CBS_DROPDOWNLIST"}},
        {IDC_DEFINITION_OUTPUT_PORT, "ComboBox", "", 74, 34, 62, 40, {"CBS_DROPDOWNLIST"}},
        {-1, "Button", "Detailed configuration", 3, 52, 193, 156, {"BS_GROUPBOX"}},
        {-1, "Static", "Size in bytes of program sysex", 25, 64, kAny, kAny, {"SS_RIGHT"}},
        {IDC_DEFINITION_PROGRAM_SIZE, "Edit", "", 131, 63, 30, 11, {}},
        {-1, "Static", "(Program number range)", 61, 79, kAny, kAny, {"SS_CENTER"}},
        {-1, "Static", "Start", 42, 79, kAny, kAny, {}},
        {IDC_DEFINITION_LOWEST, "Edit", "", 8, 78, 31, 10, {}},
        {-1, "Static", "End", 143, 79, kAny, kAny, {"SS_RIGHT"}},
        {IDC_DEFINITION_HIGHEST, "Edit", "", 159, 78, 31, 10, {}},
        {-1, "Static", "Request program data from location # (channel !)", 8, 91, kAny, kAny, {}},
        {IDC_DEFINITION_REQUEST, "Edit", "", 8, 101, 182, 11, {}},
        {-1, "Static", "Send program data % to location # (channel !)", 8, 116, kAny, kAny, {}},
        {IDC_DEFINITION_SEND, "Edit", "", 8, 126, 182, 11, {}},
        {IDC_DEFINITION_NAME_EXTRACTION, "Button", "", 8, 140, 9, 10, {"BS_AUTOCHECKBOX"}},
        {IDC_DEFINITION_NAME_GROUP, "Button", "ASCII Program name grabbing", 16, 141, 176, 26, {"BS_GROUPBOX", "WS_DISABLED"}},
        {IDC_DEFINITION_NAME_LABEL, "Static", "Offsets of characters", 18, 153, kAny, kAny, {"WS_DISABLED"}},
        {IDC_DEFINITION_NAME_OFFSETS, "Edit", "", 86, 152, 52, 10, {"WS_DISABLED"}},
        {IDC_DEFINITION_AUTO_UPDATE, "Button", "Auto update", 140, 153, 50, 10, {"BS_AUTOCHECKBOX", "WS_DISABLED"}},
        {-1, "Static", "Program number offset", 80, 172, kAny, kAny, {"SS_RIGHT"}},
        {IDC_DEFINITION_DISPLAY_OFFSET, "Edit", "", 158, 170, 32, 11, {}},
        {-1, "Static", "Notes:", 8, 175, kAny, kAny, {}},
        {IDC_DEFINITION_NOTES, "Edit", "", 8, 185, 182, 19, {"ES_MULTILINE", "ES_WANTRETURN", "WS_VSCROLL"}},
    });
}

// A few check boxes, labels and the uninstall dialog's last paragraph are a
// little larger than first drawn: with Wine's MS Sans Serif their texts were
// cut (see DialogsShowEveryTextWhole in the Wine resources test).
TEST(SmallDialogs, PreferencesMatchesItsControlTable) {
    const RcDialog d = LoadDialog("preferences.rc", "PREFERENCES");
    EXPECT_EQ(d.caption, "Preferences");
    EXPECT_EQ(d.w, 131);
    EXPECT_EQ(d.h, 91);
    ExpectRows(d, {
        {1, "Button", "OK", 24, 74, 49, 14, {"BS_DEFPUSHBUTTON"}},
        {2, "Button", "Cancel", 77, 74, 51, 14, {"BS_PUSHBUTTON"}},
        {-1, "Button", "On startup", 3, 2, 68, 38, {"BS_GROUPBOX"}},
        {IDC_PREFERENCES_TITLE_PICTURE, "Button", "Title picture", 8, 13, 48, 10, {"BS_AUTOCHECKBOX"}},
        {IDC_PREFERENCES_WELCOME_SOUND, "Button", "Welcome sound", 8, 25, 62, 10, {"BS_AUTOCHECKBOX"}},
        {IDC_PREFERENCES_HANDLE_SYX, "Button", "Handle .SYX files", 3, 44, 66, 10, {"BS_AUTOCHECKBOX"}},
        {IDC_PREFERENCES_TOOLTIPS_MAXIMUM, "Button", "Maximum", 78, 13, 41, 10, {"BS_AUTORADIOBUTTON", "WS_GROUP"}},
        {IDC_PREFERENCES_TOOLTIPS_NORMAL, "Button", "Normal", 78, 25, 41, 10, {"BS_AUTORADIOBUTTON"}},
        {IDC_PREFERENCES_TOOLTIPS_OFF, "Button", "Off", 78, 37, 41, 10, {"BS_AUTORADIOBUTTON"}},
        {-1, "Button", "Tooltips", 73, 2, 55, 50, {"BS_GROUPBOX"}},
        {IDC_PREFERENCES_BLOCKS_PAUSE, "Edit", "", 97, 57, 30, 12, {"WS_BORDER", "ES_AUTOHSCROLL", "WS_GROUP"}},
        {-1, "Static", "Pause between blocks (ms)", 4, 58, 90, 11, {"SS_RIGHT"}},
    });
    // The radio button of tooltip level n has the identifier 3006 + n.
    EXPECT_EQ(IDC_PREFERENCES_TOOLTIPS_OFF + 1, IDC_PREFERENCES_TOOLTIPS_NORMAL);
    EXPECT_EQ(IDC_PREFERENCES_TOOLTIPS_OFF + 2, IDC_PREFERENCES_TOOLTIPS_MAXIMUM);
}

TEST(SmallDialogs, UninstallMatchesItsControlTableWithCancelAsDefault) {
    const RcDialog d = LoadDialog("uninstall.rc", "UNINSTALL");
    EXPECT_EQ(d.caption, "Uninstall");
    EXPECT_EQ(d.w, 130);
    EXPECT_EQ(d.h, 182);
    ExpectRows(d, {
        {1, "Button", "OK", 24, 165, 48, 14, {"BS_PUSHBUTTON"}, {"BS_DEFPUSHBUTTON"}},
        {2, "Button", "Cancel", 76, 165, 51, 14, {"BS_DEFPUSHBUTTON"}},
        {-1, "Static", "If you want to completely remove Quillon from your system, follow these instructions. If not, click Cancel.", 3, 3, 124, 27, {}},
        {-1, "Button", "How to uninstall the program", 3, 33, 124, 128, {"BS_GROUPBOX"}},
        {-1, "Static", "ZICON1", 8, 44, kAny, kAny, {"SS_ICON"}},
        {-1, "Static", "Read this dialog box, then click OK.", 26, 45, 96, 18, {}},
        {-1, "Static", "ZICON2", 8, 66, kAny, kAny, {"SS_ICON"}},
        {-1, "Static", "Delete all the Quillon files using Windows.", 26, 67, 96, 20, {}},
        {-1, "Static", "ZICON3", 8, 90, kAny, kAny, {"SS_ICON"}},
        {-1, "Static", "The program should then be completely uninstalled. If another program handled .SYX files before Quillon was installed, you might need to restart Windows before it regains control of these files.", 26, 91, 96, 69, {}},
    });
}

TEST(SmallDialogs, AboutBoxHasItsButtonIconAndDefaultCaption) {
    const RcDialog d = LoadDialog("about.rc", "ABOUT");
    EXPECT_EQ(d.caption, "About Qv Quillon 97");
    const RcControl* ok = d.Find(IDC_ABOUT_OK);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text, "OK");
    EXPECT_EQ(ok->id, 300);
    bool icon = false, frame = false, product = false;
    for (const RcControl& c : d.controls) {
        icon |= c.HasStyle("SS_ICON") && c.text == "CINSTRUMENTSICON";
        frame |= c.HasStyle("SS_ETCHEDFRAME");
        product |= c.text.find("Quillon") != std::string::npos && c.text.find("version") != std::string::npos;
    }
    EXPECT_TRUE(icon);
    EXPECT_TRUE(frame);
    EXPECT_TRUE(product);
}

// Every control of every dialog lies inside its dialog.
TEST(AllDialogs, ControlsLieInsideTheirDialog) {
    for (const char* file : {"main_window.rc", "librarian.rc", "editor.rc", "create.rc", "saveas.rc",
                             "enter_librarian.rc", "preferences.rc", "uninstall.rc", "about.rc"}) {
        const auto dialogs = ParseDialogs(ReadText(ProjectRoot() / "resources" / file), ProjectIdNames());
        ASSERT_EQ(dialogs.size(), 1u) << file;
        const RcDialog& d = dialogs[0];
        for (const RcControl& c : d.controls) {
            if (c.HasStyle("CBS_DROPDOWN") || c.HasStyle("CBS_DROPDOWNLIST")) continue;  // height is the list's
            if (c.HasStyle("SS_ICON")) continue;  // sized by the picture
            EXPECT_TRUE(c.x >= 0 && c.y >= 0 && c.Right() <= d.w && c.Bottom() <= d.h)
                << d.name << ": " << c.idName << " \"" << c.text << "\" at " << c.x << "," << c.y << " " << c.w
                << "x" << c.h;
        }
    }
}

}  // namespace
}  // namespace qv::test
