// The EDITOR template: its identifiers, texts and kinds as the editor window
// and its parameter table expect them, the two pages that share one area,
// groups that enclose their controls, labels beside their boxes, and no
// two controls of a page on top of each other.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "editor/editor_ids.h"
#include "tests/resources/rc_script.h"

namespace qv::test {
namespace {

const RcDialog& Editor() {
    static const RcDialog dialog = LoadDialog("editor.rc", "EDITOR");
    return dialog;
}

enum class Page { Always, Program, Oscillator, Unknown };

Page PageOf(int id) {
    if ((id >= 3100 && id <= 3158) || (id >= 3500 && id <= 3538)) return Page::Program;
    if ((id >= 3200 && id <= 3252) || (id >= 3400 && id <= 3447)) return Page::Oscillator;
    if (id == 100 || id == 150 || id == 151 || id == 3000 || id == 3001 || (id >= 3007 && id <= 3009) || id == -1)
        return Page::Always;
    return Page::Unknown;
}

TEST(EditorTemplate, WindowFrameIsTheModuleWindowsOne) {
    const RcDialog& d = Editor();
    EXPECT_EQ(d.w, 245);
    EXPECT_EQ(d.h, 206);
    EXPECT_EQ(d.caption, "Korg M1 - Brindlecote Program Editor");
    EXPECT_EQ(d.cls, "Qv_SysEx");
    EXPECT_EQ(d.font, "8, \"MS Sans Serif\"");
    for (const char* flag : {"WS_CAPTION", "WS_SYSMENU", "WS_MINIMIZEBOX"})
        EXPECT_NE(d.style.find(flag), std::string::npos) << flag;
}

struct Named {
    int id;
    const char* cls;
    const char* text;
    const char* style;  // one flag the control must have, or nullptr
};

// Controls with a fixed identifier, their kind and their text.
const std::vector<Named>& NamedControls() {
    static const std::vector<Named> rows = {
        {3000, "Button", "Librarian", "BS_PUSHBUTTON"}, {3001, "Button", "Manager", "BS_PUSHBUTTON"},
        {150, "Button", "Help", "BS_PUSHBUTTON"}, {151, "Button", "About", "BS_PUSHBUTTON"},
        {3008, "ComboBox", "", "CBS_DROPDOWN"}, {3009, "Button", "Revert", "BS_PUSHBUTTON"},
        {100, "Button", "Clear", "BS_PUSHBUTTON"}, {3007, "Button", "Oscillator settings", "BS_PUSHBUTTON"},
        // Program page.
        {3501, "Button", "Mode", "BS_GROUPBOX"}, {3100, "Button", "Single", "BS_AUTORADIOBUTTON"},
        {3101, "Button", "Double", "BS_AUTORADIOBUTTON"}, {3102, "Button", "Drum", "BS_AUTORADIOBUTTON"},
        {3103, "Button", "Hold", "BS_AUTOCHECKBOX"}, {3104, "Button", "Mono", "BS_AUTOCHECKBOX"},
        {3502, "Button", "Aftertouch", "BS_GROUPBOX"}, {3503, "Button", "Joystick", "BS_GROUPBOX"},
        {3522, "Button", "Pitch MG", "BS_GROUPBOX"}, {3528, "Button", "Cutoff MG", "BS_GROUPBOX"},
        {3116, "Button", "", "BS_AUTORADIOBUTTON"}, {3117, "Button", "", "BS_AUTORADIOBUTTON"},
        {3118, "Button", "", "BS_AUTORADIOBUTTON"}, {3119, "Button", "", "BS_AUTORADIOBUTTON"},
        {3123, "Button", "", "BS_AUTORADIOBUTTON"}, {3124, "Button", "", "BS_AUTORADIOBUTTON"},
        {3125, "Button", "", "BS_AUTORADIOBUTTON"}, {3126, "Button", "", "BS_AUTORADIOBUTTON"},
        {3157, "Button", "Sync", "BS_AUTOCHECKBOX"}, {3158, "Button", "Sync", "BS_AUTOCHECKBOX"},
        {3532, "Button", "Effect control", "BS_GROUPBOX"}, {3134, "ComboBox", "", "CBS_DROPDOWNLIST"},
        {3135, "ComboBox", "", "CBS_DROPDOWNLIST"}, {3140, "Button", "Parallel", "BS_AUTOCHECKBOX"},
        {3537, "Static", "L< lvl >R", nullptr}, {3535, "Static", "1", nullptr}, {3536, "Static", "2", nullptr},
        {3538, "Button", "Effect options", "BS_GROUPBOX"}, {3141, "Button", "1", "BS_AUTORADIOBUTTON"},
        {3142, "Button", "2", "BS_AUTORADIOBUTTON"},
        {3151, "Static", "Parameter", nullptr}, {3152, "Static", "Parameter", nullptr},
        {3153, "Static", "Parameter", nullptr}, {3154, "Static", "Parameter", nullptr},
        {3155, "Static", "Parameter", nullptr}, {3156, "Static", "Parameter", nullptr},
        {3533, "Button", "Outputs", "BS_GROUPBOX"}, {3500, "Static", "Pan", nullptr},
        {3132, "Button", "3", "BS_AUTOCHECKBOX"}, {3133, "Button", "4", "BS_AUTOCHECKBOX"},
        {3521, "Static", "ZWAVE1", "SS_ICON"}, {3523, "Static", "ZWAVE2", "SS_ICON"},
        {3527, "Static", "ZWAVE1", "SS_ICON"}, {3529, "Static", "ZWAVE2", "SS_ICON"},
        {3510, "Static", "<->", nullptr}, {3512, "Static", "|", nullptr}, {3513, "Static", ".", nullptr},
        {3514, "Static", "|", nullptr}, {3515, "Static", "Pitch MG:", nullptr}, {3518, "Static", "Cutoff MG:", nullptr},
        // Oscillator page.
        {3402, "Button", "Oscillator", "BS_GROUPBOX"}, {3200, "Button", "1", "BS_AUTORADIOBUTTON"},
        {3201, "Button", "2", "BS_AUTORADIOBUTTON"}, {3207, "ComboBox", "", "CBS_DROPDOWNLIST"},
        {3401, "Button", "Pitch envelope generator", "BS_GROUPBOX"}, {3202, "Button", "Pitch MG", "BS_AUTOCHECKBOX"},
        {3416, "Button", "Amplitude", "BS_GROUPBOX"}, {3400, "Button", "Frequency cutoff", "BS_GROUPBOX"},
        {3203, "Button", "Cutoff MG", "BS_AUTOCHECKBOX"},
        {3418, "Static", "Keyboard track", nullptr}, {3432, "Static", "Keyboard track", nullptr},
    };
    return rows;
}

TEST(EditorTemplate, NamedControlsHaveTheirKindAndText) {
    for (const Named& row : NamedControls()) {
        SCOPED_TRACE("control " + std::to_string(row.id));
        ASSERT_EQ(Editor().WithId(row.id).size(), 1u);
        const RcControl& c = *Editor().Find(row.id);
        EXPECT_EQ(c.cls, row.cls);
        EXPECT_EQ(c.text, row.text);
        if (row.style) {
            EXPECT_TRUE(c.HasStyle(row.style)) << row.style;
        }
    }
}

// Every control the parameter table binds, with the label beside it (empty
// where the control carries its own text or its label stands above it).
struct Bound {
    int id;
    const char* cls;
    const char* label;
};

const std::vector<Bound>& BoundControls() {
    static const std::vector<Bound> rows = {
        {3105, "Edit", "Pitch"}, {3106, "Edit", "Pitch MG Int."}, {3107, "Edit", "Filter cutoff"},
        {3108, "Edit", "Cutoff MG Int."}, {3109, "Edit", "Amplitude"}, {3110, "Edit", ""}, {3111, "Edit", ""},
        {3113, "Edit", "Int."}, {3112, "Edit", "Freq."}, {3115, "Edit", "Int."}, {3114, "Edit", "Freq."},
        {3120, "Edit", "Intensity"}, {3121, "Edit", "Delay"}, {3122, "Edit", "Frequency"},
        {3127, "Edit", "Intensity"}, {3128, "Edit", "Delay"}, {3129, "Edit", "Frequency"},
        {3130, "Edit", ""}, {3131, "Edit", ""}, {3136, "Edit", ""}, {3137, "Edit", ""}, {3138, "Edit", ""},
        {3139, "Edit", ""},
        {3204, "Edit", "Interval"}, {3205, "Edit", "Detune"}, {3206, "Edit", "Delay"}, {3229, "Edit", "Octave"},
        {3221, "Edit", "Start lvl"}, {3222, "Edit", "Attack t."}, {3223, "Edit", "Attack lvl"},
        {3224, "Edit", "Decay t."}, {3225, "Edit", "Release t."}, {3226, "Edit", "Release lvl"},
        {3227, "Edit", "Time VS"}, {3228, "Edit", "Level VS"},
        {3208, "Edit", "Value"}, {3209, "Edit", "Centre"}, {3210, "Edit", "Amp."}, {3211, "Edit", "EG Time"},
        {3212, "Edit", "EG Time VS"}, {3213, "Edit", "Amp. VS"}, {3220, "Edit", "Attack t."},
        {3219, "Edit", "Attack level"}, {3214, "Edit", "Decay t."}, {3215, "Edit", "Break level"},
        {3218, "Edit", "Slope t."}, {3217, "Edit", "Sustain lvl"}, {3216, "Edit", "Release t."},
        {3240, "Edit", "Value"}, {3231, "Edit", "Centre"}, {3230, "Edit", "Cutoff"}, {3239, "Edit", "EG Time"},
        {3242, "Edit", "EG Int."}, {3238, "Edit", "EG Time VS"}, {3241, "Edit", "EG Int. VS"},
        {3232, "Edit", "Attack t."}, {3233, "Edit", "Attack level"}, {3234, "Edit", "Decay t."},
        {3237, "Edit", "Break level"}, {3244, "Edit", "Slope t."}, {3243, "Edit", "Sustain lvl"},
        {3235, "Edit", "Release t."}, {3236, "Edit", "Release lvl"},
        {3245, "Qv_TimeTrack", ""}, {3246, "Qv_TimeTrack", ""}, {3247, "Qv_TimeTrack", ""},
        {3248, "Qv_TimeTrack", ""}, {3249, "Qv_TimeTrack", ""}, {3250, "Qv_TimeTrack", ""},
        {3251, "Qv_TimeTrack", ""}, {3252, "Qv_TimeTrack", ""},
        {3145, "Edit", ""}, {3146, "Edit", ""}, {3147, "Edit", ""}, {3148, "Edit", ""}, {3149, "Edit", ""},
        {3150, "Edit", ""},
    };
    return rows;
}

// The static immediately to the left of `box` on its row, if any.
const RcControl* LabelBeside(const RcControl& box) {
    const RcControl* best = nullptr;
    for (const RcControl& c : Editor().controls) {
        if (c.cls != "Static" || PageOf(c.id) != PageOf(box.id)) continue;
        const int middle = c.y + c.h / 2;
        if (middle < box.y || middle > box.Bottom()) continue;
        if (c.Right() > box.x || box.x - c.Right() > 4) continue;
        if (!best || c.Right() > best->Right()) best = &c;
    }
    return best;
}

TEST(EditorTemplate, BoundControlsExistOnceWithTheirLabelBeside) {
    for (const Bound& row : BoundControls()) {
        SCOPED_TRACE("control " + std::to_string(row.id));
        ASSERT_EQ(Editor().WithId(row.id).size(), 1u);
        const RcControl& c = *Editor().Find(row.id);
        EXPECT_EQ(c.cls, row.cls);
        if (*row.label) {
            const RcControl* label = LabelBeside(c);
            ASSERT_NE(label, nullptr) << "no label beside the box";
            EXPECT_EQ(label->text, row.label);
        }
    }
}

TEST(EditorTemplate, EffectLabelsStandBesideTheirBoxesInTwoColumns) {
    for (int p = 0; p < 6; ++p) {
        const RcControl* box = Editor().Find(IDC_EDITOR_EFFECT_PARAM_1 + p);
        ASSERT_NE(box, nullptr);
        const RcControl* label = LabelBeside(*box);
        ASSERT_NE(label, nullptr) << p;
        EXPECT_EQ(label->id, IDC_EDITOR_EFFECT_LABEL_1 + p);
    }
    const RcControl& first = *Editor().Find(IDC_EDITOR_EFFECT_PARAM_1);
    const RcControl& fourth = *Editor().Find(IDC_EDITOR_EFFECT_PARAM_4);
    EXPECT_EQ(first.y, fourth.y) << "boxes 1 and 4 start the two columns";
    EXPECT_LT(first.x, fourth.x);
    for (int p = 1; p < 3; ++p) {
        EXPECT_EQ(Editor().Find(IDC_EDITOR_EFFECT_PARAM_1 + p)->x, first.x);
        EXPECT_EQ(Editor().Find(IDC_EDITOR_EFFECT_PARAM_4 + p)->x, fourth.x);
    }
}

TEST(EditorTemplate, IndicatorsAreSmallAndBesideTheEnvelopeTimes) {
    const std::map<int, int> besideTime = {
        {3249, 3220}, {3250, 3214}, {3251, 3218}, {3252, 3216},
        {3245, 3232}, {3246, 3234}, {3247, 3244}, {3248, 3235},
    };
    for (const auto& [indicator, time] : besideTime) {
        SCOPED_TRACE(indicator);
        const RcControl& i = *Editor().Find(indicator);
        const RcControl& t = *Editor().Find(time);
        EXPECT_EQ(i.w, 7);
        EXPECT_EQ(i.h, 9);
        EXPECT_EQ(i.y, t.y);
        EXPECT_GE(i.x, t.Right());
        EXPECT_LE(i.x - t.Right(), 2);
    }
}

TEST(EditorTemplate, WaveButtonsRunTriangleUpSawDownSawSquareBesideTheirPictures) {
    for (const auto& [order, pictures] : std::vector<std::pair<std::vector<int>, std::pair<int, int>>>{
             {{3116, 3117, 3119, 3118}, {3521, 3523}}, {{3123, 3124, 3125, 3126}, {3527, 3529}}}) {
        for (size_t k = 1; k < order.size(); ++k)
            EXPECT_GT(Editor().Find(order[k])->y, Editor().Find(order[k - 1])->y) << order[k];
        // ZWAVE1 stands beside the first two buttons, ZWAVE2 beside the last two.
        const RcControl& wave1 = *Editor().Find(pictures.first);
        const RcControl& wave2 = *Editor().Find(pictures.second);
        EXPECT_EQ(wave1.y, Editor().Find(order[0])->y);
        EXPECT_EQ(wave2.y, Editor().Find(order[2])->y);
        EXPECT_LT(wave1.x, Editor().Find(order[0])->x);
    }
}

TEST(EditorTemplate, EveryControlBelongsToOnePageOrIsAlwaysShown) {
    int separators = 0;
    for (const RcControl& c : Editor().controls) {
        const Page page = PageOf(c.id);
        EXPECT_NE(page, Page::Unknown) << c.idName;
        if (c.id == -1) {
            // The only control without identifier is the separator line:
            // anything else would stay visible on both pages.
            EXPECT_TRUE(c.HasStyle("SS_ETCHEDHORZ")) << "\"" << c.text << "\"";
            ++separators;
        }
    }
    EXPECT_EQ(separators, 1);
}

bool Inside(const RcControl& inner, const RcControl& outer) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.Right() <= outer.Right() &&
           inner.Bottom() <= outer.Bottom();
}

TEST(EditorTemplate, GroupsEncloseTheirControls) {
    const std::map<int, std::vector<int>> members = {
        {3501, {3100, 3101, 3102, 3103, 3104}},
        {3502, {3105, 3106, 3107, 3108, 3109, 3504, 3505, 3506, 3507, 3508}},
        {3503, {3110, 3111, 3112, 3113, 3114, 3115, 3509, 3510, 3511, 3512, 3513, 3514, 3515, 3516, 3517, 3518, 3519, 3520}},
        {3522, {3116, 3117, 3118, 3119, 3120, 3121, 3122, 3157, 3521, 3523, 3524, 3525, 3526}},
        {3528, {3123, 3124, 3125, 3126, 3127, 3128, 3129, 3158, 3527, 3529, 3530, 3531, 3534}},
        {3532, {3134, 3135, 3136, 3137, 3138, 3139, 3140, 3535, 3536, 3537}},
        {3538, {3141, 3142, 3145, 3146, 3147, 3148, 3149, 3150, 3151, 3152, 3153, 3154, 3155, 3156}},
        {3533, {3130, 3131, 3132, 3133, 3500}},
        {3401, {3202, 3221, 3222, 3223, 3224, 3225, 3226, 3227, 3228, 3229}},
        {3416, {3208, 3209, 3210, 3211, 3212, 3213, 3214, 3215, 3216, 3217, 3218, 3219, 3220, 3249, 3250, 3251, 3252}},
        {3400, {3203, 3230, 3231, 3232, 3233, 3234, 3235, 3236, 3237, 3238, 3239, 3240, 3241, 3242, 3243, 3244,
                3245, 3246, 3247, 3248}},
    };
    for (const auto& [group, ids] : members) {
        const RcControl& frame = *Editor().Find(group);
        for (int id : ids) {
            const RcControl* c = Editor().Find(id);
            ASSERT_NE(c, nullptr) << id;
            if (c->cls == "ComboBox") continue;  // its height is the dropped list's
            EXPECT_TRUE(Inside(*c, frame)) << c->idName << " outside group " << frame.text;
        }
    }
    // The oscillator group holds the whole oscillator page.
    const RcControl& oscillator = *Editor().Find(IDC_EDITOR_OSCILLATOR_GROUP);
    for (const RcControl& c : Editor().controls)
        if (PageOf(c.id) == Page::Oscillator && c.cls != "ComboBox") {
            EXPECT_TRUE(Inside(c, oscillator)) << c.idName;
        }
}

bool Overlap(const RcControl& a, const RcControl& b) {
    return a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}

// The height to count for a control: a drop-down list covers only its
// selection field (about 12 units) until it is opened.
RcControl AsShown(RcControl c) {
    if (c.cls == "ComboBox") c.h = 12;
    return c;
}

TEST(EditorTemplate, NoTwoControlsOfAPageOverlap) {
    for (Page page : {Page::Program, Page::Oscillator}) {
        std::vector<RcControl> shown;
        for (const RcControl& c : Editor().controls) {
            const Page p = PageOf(c.id);
            if ((p == page || p == Page::Always) && !c.HasStyle("BS_GROUPBOX")) shown.push_back(AsShown(c));
        }
        for (size_t i = 0; i < shown.size(); ++i)
            for (size_t j = i + 1; j < shown.size(); ++j)
                EXPECT_FALSE(Overlap(shown[i], shown[j])) << shown[i].idName << " and " << shown[j].idName;
    }
}

TEST(EditorTemplate, PagesShareTheAreaBelowTheAlwaysShownControls) {
    int lowestAlways = 0;
    for (const RcControl& c : Editor().controls)
        if (PageOf(c.id) == Page::Always) lowestAlways = std::max(lowestAlways, AsShown(c).Bottom());
    int topProgram = 1000, topOscillator = 1000;
    for (const RcControl& c : Editor().controls) {
        if (PageOf(c.id) == Page::Program) topProgram = std::min(topProgram, c.y);
        if (PageOf(c.id) == Page::Oscillator) topOscillator = std::min(topOscillator, c.y);
    }
    EXPECT_GE(topProgram, lowestAlways);
    EXPECT_GE(topOscillator, lowestAlways);
    EXPECT_EQ(topProgram, topOscillator) << "both pages start at the same place";
}

// Automatic radio buttons switch each other off within their group, which
// runs from a control with WS_GROUP to the next one: each set of choices
// must form one group of its own, in the order of the template.
TEST(EditorTemplate, EachSetOfRadioButtonsFormsAGroupOfItsOwn) {
    const std::vector<std::vector<int>> sets = {
        {3100, 3101, 3102}, {3116, 3117, 3119, 3118}, {3123, 3124, 3125, 3126}, {3141, 3142}, {3200, 3201},
    };
    const auto& controls = Editor().controls;
    auto indexOf = [&](int id) {
        for (size_t i = 0; i < controls.size(); ++i)
            if (controls[i].id == id) return i;
        return controls.size();
    };
    for (const auto& set : sets) {
        SCOPED_TRACE(set.front());
        const size_t first = indexOf(set.front());
        ASSERT_LT(first, controls.size());
        EXPECT_TRUE(controls[first].HasStyle("WS_GROUP"));
        for (size_t k = 1; k < set.size(); ++k) {
            ASSERT_EQ(indexOf(set[k]), first + k) << "the buttons of a set follow each other";
            EXPECT_FALSE(controls[first + k].HasStyle("WS_GROUP")) << set[k];
        }
        // The next control that takes part in the dialog's navigation starts
        // a new group, so the set ends with its last button.
        size_t next = first + set.size();
        while (next < controls.size() && controls[next].cls == "Static") ++next;
        ASSERT_LT(next, controls.size());
        EXPECT_TRUE(controls[next].HasStyle("WS_GROUP")) << controls[next].idName;
    }
}

TEST(EditorTemplate, IdHeaderNamesEachIdentifierOfATemplateControlOnce) {
    // Every control identifier written in the template is a name of the
    // header (not a bare number), so the window and the template agree.
    for (const RcControl& c : Editor().controls)
        if (c.id != -1) {
            EXPECT_EQ(c.idName.rfind("IDC_EDITOR_", 0), 0u) << c.idName;
        }
    // The range names agree with the page split.
    EXPECT_EQ(IDC_EDITOR_PROGRAM_PAGE_FIRST, 3100);
    EXPECT_EQ(IDC_EDITOR_PROGRAM_PAGE_LAST, 3158);
    EXPECT_EQ(IDC_EDITOR_PROGRAM_LABELS_FIRST, 3500);
    EXPECT_EQ(IDC_EDITOR_PROGRAM_LABELS_LAST, 3538);
    EXPECT_EQ(IDC_EDITOR_OSCILLATOR_PAGE_FIRST, 3200);
    EXPECT_EQ(IDC_EDITOR_OSCILLATOR_PAGE_LAST, 3252);
    EXPECT_EQ(IDC_EDITOR_OSCILLATOR_LABELS_FIRST, 3400);
    EXPECT_EQ(IDC_EDITOR_OSCILLATOR_LABELS_LAST, 3447);
}

}  // namespace
}  // namespace qv::test
