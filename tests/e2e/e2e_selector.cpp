// The colour selector and the value fields driven as a user does: real drags on the field and the
// slider in every mode, typing in the fields, pressing swatches, copying the hex value, and the
// pictures the selector puts on the screen.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "flatcolor/flat_color.h"
#include "tests/e2e/e2e_checks.h"
#include "tests/e2e/e2e_input.h"
#include "tests/e2e/e2e_program.h"
#include "tests/e2e/e2e_screen.h"
#include "tests/e2e/e2e_state.h"
#include "tests/shared/clipboard_text.h"

using namespace e2e;

namespace {

const char kRange255[] = "You must enter a value between 0 and 255. Last valid value inserted.";
const char kRangeHex[] =
    "You must enter a valid hex value between 000000 and FFFFFF. Last valid value inserted.";

// ---- colour arithmetic of the program, written out for the expectations --------------------

// Hexagonal sectors of 10923 units, levels scaled by v / 0xFFFFFF.
uint32_t HsbToRgb(uint32_t h, uint32_t s, uint32_t v)
{
    const uint32_t sector = h / 10923, f = (h % 10923) * 6;
    const uint32_t p = 65535 - s, q = 65535 - s * f / 65535, t = 65535 - s * (65535 - f) / 65535;
    const uint32_t levels[6][3] = {{65535, t, p}, {q, 65535, p}, {p, 65535, t},
                                   {p, q, 65535}, {t, p, 65535}, {65535, p, q}};
    const uint32_t* l = levels[sector];
    auto byte = [v](uint32_t level) {
        return static_cast<uint32_t>(static_cast<unsigned long long>(level) * v / 16777215u);
    };
    return byte(l[0]) << 16 | byte(l[1]) << 8 | byte(l[2]);
}

std::string Number(uint32_t value)
{
    return std::to_string(value);
}

// The current colour as the test follows it: 8-bit RGB, or 16-bit HSB in the HSB modes.
struct Model {
    bool hsb;
    uint32_t c[3];

    uint32_t Rgb() const { return hsb ? HsbToRgb(c[0], c[1], c[2]) : c[0] << 16 | c[1] << 8 | c[2]; }
    // What a value field shows for component i.
    std::string Shown(int i) const
    {
        if (!hsb)
            return Number(c[i]);
        return Number(c[i] * (i == 0 ? 360u : 100u) / 65535u);
    }
};

uint32_t Full(bool hsb)
{
    return hsb ? 65535u : 255u;
}

// ---- the program's fields ------------------------------------------------------------------

using Fields = std::vector<std::pair<int, std::string>>;

Fields FieldsOf(const Model& m)
{
    const uint32_t rgb = m.Rgb();
    Fields f = {{kRedEdit, Number(rgb >> 16)},
                {kGreenEdit, Number(rgb >> 8 & 0xFF)},
                {kBlueEdit, Number(rgb & 0xFF)},
                {kHexEdit, HexText(rgb)}};
    // An RGB colour's hue is the arc-tangent one; only HSB colours have their fields checked.
    if (m.hsb) {
        f.push_back({kHueEdit, m.Shown(0)});
        f.push_back({kSaturationEdit, m.Shown(1)});
        f.push_back({kBrightnessEdit, m.Shown(2)});
    }
    return f;
}

// The program handles input in its own time: wait for the fields, then show what they hold.
bool ExpectFields(Tintora& app, const Fields& expected)
{
    auto text = [&](bool shown) {
        std::string all;
        for (const auto& field : expected)
            all += Number(field.first) + ": " + (shown ? app.Text(field.first) : field.second) + "; ";
        return all;
    };
    return CHECKED_EQ_SOON(text(true), text(false));
}

// ---- real input ----------------------------------------------------------------------------

void Press(POINT p)
{
    if (MoveTo(p))
        SendMouse(MOUSEEVENTF_LEFTDOWN, p);
}

void Release(POINT p)
{
    SendMouse(MOUSEEVENTF_LEFTUP, p);
}

// A control's client point on the screen; points outside the control are fine.
POINT At(HWND control, int x, int y)
{
    POINT p = {x, y};
    ClientToScreen(control, &p);
    return p;
}

void Click(HWND control)
{
    RECT r = ClientRect(control);
    POINT p = At(control, r.right / 2, r.bottom / 2);
    Press(p);
    Release(p);
}

// Out of the way of every control, so no tool tip or hover shows on the pictures.
void ParkCursor()
{
    MoveTo(POINT{0, 0});
}

// Types text into the focused field and waits until the field holds what is expected.
bool TypeInto(Tintora& app, int id, const std::string& text, const std::string& fieldAfter)
{
    Type(text);
    return CHECKED_EQ_SOON(app.Text(id), fieldAfter);
}

// ---- selector geometry and the position-to-component mapping -------------------------------

struct Geometry {
    HWND field, slider;
    int width, height;  // field client size
    int sliderWidth, sliderHeight;
    int barBottom, barHeight;  // the slider's bar: rows 5 .. h - 5
};

Geometry GeometryOf(Tintora& app)
{
    Geometry g;
    g.field = app.Item(kField);
    g.slider = app.Item(kSlider);
    RECT f = ClientRect(g.field), s = ClientRect(g.slider);
    g.width = f.right;
    g.height = f.bottom;
    g.sliderWidth = s.right;
    g.sliderHeight = s.bottom;
    g.barBottom = s.bottom - 5;
    g.barHeight = s.bottom - 10;
    return g;
}

int Clamp(int v, int low, int high)
{
    return v < low ? low : (v > high ? high : v);
}

// The field's column and row tables: i x full / last, truncated.
uint32_t Ramp(int i, int last, uint32_t full)
{
    return static_cast<uint32_t>(i) * full / static_cast<uint32_t>(last);
}

uint32_t SliderValue(const Geometry& g, bool hsb, int y)
{
    const int v = Clamp(g.barBottom - y, 0, g.barHeight);
    return static_cast<uint32_t>(v) * Full(hsb) / static_cast<uint32_t>(g.barHeight);
}

uint32_t ColumnValue(const Geometry& g, bool hsb, int x)
{
    return Ramp(Clamp(x, 0, g.width - 1), g.width - 1, Full(hsb));
}

uint32_t RowValue(const Geometry& g, bool hsb, int y)
{
    return Ramp(Clamp(g.height - y, 0, g.height - 1), g.height - 1, Full(hsb));
}

// A coordinate near `from` whose shown value differs from both neighbours, so a point one pixel
// off would show.
template <typename Shown>
int Telling(int from, int to, Shown shown)
{
    for (int i = from; i != to; i += from < to ? 1 : -1)
        if (shown(i - 1) != shown(i) && shown(i) != shown(i + 1))
            return i;
    return from;
}

// Which components the slider and the field's two axes set, as indices into RGB or HSB.
struct ModeAxes {
    const char* name;
    bool hsb;
    int slider, x, y;
};

const ModeAxes kModes[6] = {
    {"Red", false, 0, 1, 2}, {"Green", false, 1, 0, 2},     {"Blue", false, 2, 0, 1},
    {"Hue", true, 0, 1, 2},  {"Saturation", true, 1, 0, 2}, {"Brightness", true, 2, 0, 1},
};

// ---- screen pixels -------------------------------------------------------------------------

uint32_t ScreenPixel(HWND control, int x, int y)
{
    POINT p = At(control, x, y);
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

Pixels ClientPixels(HWND control)
{
    RECT r = ClientRect(control);
    MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return CaptureScreen(r);
}

std::string Rgb(uint32_t c)
{
    char text[16];
    snprintf(text, sizeof(text), "0x%06X", static_cast<unsigned>(c));
    return text;
}

// The field picture as it should be on the screen, rows from the top; `pixel` takes the column
// and the row from the bottom.
template <typename PixelAt>
Pixels ExpectedField(const Geometry& g, POINT marker, PixelAt pixel)
{
    Pixels p;
    p.width = g.width;
    p.height = g.height;
    p.data.resize(static_cast<size_t>(g.width) * g.height);
    for (int top = 0; top < g.height; ++top)
        for (int x = 0; x < g.width; ++x)
            p.data[static_cast<size_t>(top) * g.width + x] = pixel(x, g.height - 1 - top);
    // The hollow cross: its centre is inverted twice.
    auto invert = [&](int x, int row) {
        if (x >= 0 && x < g.width && row >= 0 && row < g.height)
            p.data[static_cast<size_t>(g.height - 1 - row) * g.width + x] ^= 0xFFFFFF;
    };
    for (int d = -5; d <= 5; ++d) {
        invert(marker.x + d, marker.y);
        invert(marker.x, marker.y + d);
    }
    return p;
}

// Waits for the screen to show the expected field, then reports the first few differences.
void ExpectFieldOnScreen(const Geometry& g, const Pixels& expected, int tolerance)
{
    auto differences = [&](std::string* report) {
        Pixels shot = ClientPixels(g.field);
        if (shot.width != expected.width || shot.height != expected.height) {
            if (report)
                *report = "captured " + std::to_string(shot.width) + "x" + std::to_string(shot.height);
            return -1;
        }
        int count = 0;
        for (int y = 0; y < shot.height; ++y)
            for (int x = 0; x < shot.width; ++x)
                if (!Near(shot.At(x, y), expected.At(x, y), tolerance)) {
                    if (report && count < 5)
                        *report += " (" + std::to_string(x) + ", " + std::to_string(y) + ") " +
                                   Rgb(shot.At(x, y)) + " not " + Rgb(expected.At(x, y)) + ";";
                    ++count;
                }
        return count;
    };
    if (WaitUntil(kHangGuardMs, [&] { return differences(nullptr) == 0; }))
        return;
    std::string report;
    int count = differences(&report);
    ADD_FAILURE() << "the field on the screen differs in " << count << " pixels:" << report;
}

// The two arrows point at `position` rows above the strip's bottom edge: their tips are rows 4-5
// of the 10-row bitmaps, whose top is 5 rows above that.
void ExpectArrowsAt(const Geometry& g, int position)
{
    const int top = g.barBottom - 5 - position;
    for (int row : {top + 4, top + 5}) {
        SCOPED_TRACE("arrow tip row " + std::to_string(row));
        EXPECT_EQ_SOON(Rgb(ScreenPixel(g.slider, 4, row)), Rgb(0));
        EXPECT_EQ_SOON(Rgb(ScreenPixel(g.slider, g.sliderWidth - 5, row)), Rgb(0));
    }
    // Beyond the tips the arrows narrow.
    EXPECT_SOON(ScreenPixel(g.slider, 4, top + 3) != 0);
    EXPECT_SOON(ScreenPixel(g.slider, 4, top + 6) != 0);
}

}  // namespace

// ---- drags ---------------------------------------------------------------------------------

// In each mode (the parameter, 0-5 from red) the slider sets the mode's component and the field
// the other two; drags from white, every step checked through the fields.
class SelectorDrags : public testing::TestWithParam<int> {};

TEST_P(SelectorDrags, TheSliderSetsTheModesComponentAndTheFieldTheOtherTwo)
{
    const int mode = GetParam();
    const ModeAxes& axes = kModes[mode];
    Tintora app;
    ASSERT_TRUE(app.Start());
    app.Click(kModeRed + mode);
    const Geometry g = GeometryOf(app);
    ASSERT_TRUE(g.width > 256 && g.height > 256 && g.barHeight > 100);
    // White; as HSB: hue 0, grey, full brightness.
    Model m = axes.hsb ? Model{true, {0, 0, 65535}} : Model{false, {255, 255, 255}};
    ASSERT_TRUE(ExpectFields(app, FieldsOf(m)));

    // What the field of the component shows for a point, the rest of the colour as it is.
    auto shownSlider = [&](int y) {
        Model t = m;
        t.c[axes.slider] = SliderValue(g, axes.hsb, y);
        return t.Shown(axes.slider);
    };
    auto shownColumn = [&](int x) {
        Model t = m;
        t.c[axes.x] = ColumnValue(g, axes.hsb, x);
        return t.Shown(axes.x);
    };
    auto shownRow = [&](int y) {
        Model t = m;
        t.c[axes.y] = RowValue(g, axes.hsb, y);
        return t.Shown(axes.y);
    };

    {
        SCOPED_TRACE("slider");
        const int x = 10;
        // Presses or moves to a slider point (x off by dx) and checks the colour it gives.
        auto go = [&](bool press, int dx, int y) {
            const POINT p = At(g.slider, x + dx, y);
            if (press)
                Press(p);
            else
                MoveTo(p);
            m.c[axes.slider] = SliderValue(g, axes.hsb, y);
            SCOPED_TRACE("y " + std::to_string(y));
            return ExpectFields(app, FieldsOf(m));
        };
        const int low = Telling(g.barBottom - g.barHeight / 4, g.barBottom, shownSlider);
        const int high = Telling(g.barBottom - g.barHeight * 3 / 4, g.barBottom, shownSlider);
        const int middle = Telling(g.barBottom - g.barHeight / 2, g.barBottom, shownSlider);

        // The press alone sets the colour.
        ASSERT_TRUE(go(true, 0, low));
        go(false, 0, high);
        go(false, 30, -100);                   // far above, and off to the side
        go(false, -40, g.sliderHeight + 100);  // far below
        go(false, 0, middle);
        Release(At(g.slider, x, middle));
        EXPECT_EQ_SOON(CaptureOf(app), nullptr);

        // Released: moving over the slider changes nothing.
        MoveTo(At(g.slider, x, low));
        app.Settle();
        ExpectFields(app, FieldsOf(m));

        // In red mode also: the second press of a double click starts a drag too.
        if (mode == 0) {
            SCOPED_TRACE("double click");
            const int first = Telling(g.barBottom - g.barHeight / 5, g.barBottom, shownSlider);
            const int then = Telling(g.barBottom - g.barHeight / 2 - 7, g.barBottom, shownSlider);
            go(true, 0, first);
            Release(At(g.slider, x, first));
            EXPECT_EQ_SOON(CaptureOf(app), nullptr);
            Press(At(g.slider, x, first));
            EXPECT_EQ_SOON(CaptureOf(app), app.Dialog());
            go(false, 0, then);
            Release(At(g.slider, x, then));
            EXPECT_EQ_SOON(CaptureOf(app), nullptr);
        }
    }
    {
        SCOPED_TRACE("field");
        auto go = [&](bool press, int x, int y) {
            const POINT p = At(g.field, x, y);
            if (press)
                Press(p);
            else
                MoveTo(p);
            m.c[axes.x] = ColumnValue(g, axes.hsb, x);
            m.c[axes.y] = RowValue(g, axes.hsb, y);
            SCOPED_TRACE("point (" + std::to_string(x) + ", " + std::to_string(y) + ")");
            return ExpectFields(app, FieldsOf(m));
        };
        const int x1 = Telling(g.width * 2 / 3, 0, shownColumn);
        const int y1 = Telling(g.height / 3, g.height, shownRow);
        const int x2 = Telling(g.width / 3, 0, shownColumn);
        const int y2 = Telling(g.height * 2 / 3, g.height, shownRow);

        ASSERT_TRUE(go(true, x1, y1));
        // Outside, each axis clamps on its own.
        go(false, -40, y2);
        go(false, x2, -40);
        go(false, g.width + 40, g.height + 40);
        // The last column and the top two rows give the maximum; one step in, one less.
        go(false, g.width - 2, 2);
        go(false, g.width - 1, 1);
        EXPECT_EQ(m.c[axes.x], Full(axes.hsb));
        EXPECT_EQ(m.c[axes.y], Full(axes.hsb));
        go(false, g.width - 1, 0);
        app.Settle();
        ExpectFields(app, FieldsOf(m));
        Release(At(g.field, g.width - 1, 0));
        EXPECT_EQ_SOON(CaptureOf(app), nullptr);
    }
    ParkCursor();
}

INSTANTIATE_TEST_SUITE_P(EveryMode, SelectorDrags, testing::Range(0, 6),
                         [](const testing::TestParamInfo<int>& info) { return kModes[info.param].name; });

// ---- keys ----------------------------------------------------------------------------------

// A key, Shift held or not, and how far it moves the number shown for the mode's axis `which`
// (0 the slider's, 1 across, 2 up the field) before the ends stop it.
struct KeyStep {
    WORD key;
    bool shift;
    int which, units;
};

// In each mode the focused slider moves its component and the focused field the other two by
// whole numbers of their value fields, stopping at the ends; Tab, Enter and Escape keep their
// meaning for the dialog.
class SelectorKeys : public testing::TestWithParam<int> {};

TEST_P(SelectorKeys, TheFocusedSliderAndFieldStepTheirAxesByTheNumbersTheFieldsShow)
{
    const ModeAxes& axes = kModes[GetParam()];
    Tintora app;
    ASSERT_TRUE(app.Start());
    app.Click(kModeRed + GetParam());
    ASSERT_TRUE(FocusOn(app, kRedEdit));
    // White, in the fields of the mode's model.
    const bool hsb = axes.hsb;
    const int maximum[3] = {hsb ? 360 : 255, hsb ? 100 : 255, hsb ? 100 : 255};
    int shown[3] = {hsb ? 0 : 255, hsb ? 0 : 255, hsb ? 100 : 255};
    const int first = hsb ? kHueEdit : kRedEdit, moved[3] = {axes.slider, axes.x, axes.y};
    auto fields = [&] {
        return Fields{
            {first, Number(shown[0])}, {first + 1, Number(shown[1])}, {first + 2, Number(shown[2])}};
    };
    auto press = [&](const KeyStep& step) {
        SCOPED_TRACE(std::string(step.shift ? "shift " : "") + "key " + Number(step.key));
        step.shift ? ShiftKey(step.key) : Key(step.key);
        const int i = moved[step.which];
        shown[i] = Clamp(shown[i] + step.units, 0, maximum[i]);
        ExpectFields(app, fields());
    };
    ASSERT_TRUE(ExpectFields(app, fields()));

    // Back from the red field: the checked mode button, then the slider.
    ShiftKey(VK_TAB);
    ASSERT_EQ_SOON(app.Focus(), app.Item(kModeRed + GetParam()));
    ShiftKey(VK_TAB);
    ASSERT_EQ_SOON(app.Focus(), app.Item(kSlider));
    const int full = maximum[axes.slider];
    for (const KeyStep& step : {KeyStep{VK_UP, false, 0, 1},
                                {VK_RIGHT, false, 0, 1},
                                {VK_DOWN, false, 0, -1},
                                {VK_LEFT, false, 0, -1},
                                {VK_LEFT, false, 0, -1},
                                {VK_PRIOR, false, 0, 10},
                                {VK_NEXT, false, 0, -10},
                                {VK_END, false, 0, full},
                                {VK_UP, false, 0, 1},
                                {VK_NEXT, false, 0, -10},
                                {VK_HOME, false, 0, -full},
                                {VK_DOWN, false, 0, -1},
                                {VK_PRIOR, false, 0, 10}})
        press(step);

    // The field is the first stop of all: after "Colors >>", the last.
    ASSERT_TRUE(FocusOn(app, kColors));
    Key(VK_TAB);
    ASSERT_EQ_SOON(app.Focus(), app.Item(kField));
    for (const KeyStep& step : {KeyStep{VK_RIGHT, false, 1, 1},
                                {VK_UP, false, 2, 1},
                                {VK_LEFT, false, 1, -1},
                                {VK_DOWN, false, 2, -1},
                                {VK_LEFT, true, 1, -10},
                                {VK_DOWN, true, 2, -10},
                                {VK_RIGHT, true, 1, 10},
                                {VK_UP, true, 2, 10},
                                {VK_LEFT, false, 1, -1},
                                {VK_DOWN, false, 2, -1},
                                {VK_RIGHT, true, 1, 10},
                                {VK_UP, true, 2, 10}})
        press(step);

    // The dialog's keys: nothing closes, Tab goes on from the field.
    Key(VK_RETURN);
    Key(VK_ESCAPE);
    Key(VK_TAB);
    EXPECT_SOON(app.Focus() != app.Item(kField));
    ExpectStillOpen(app);
    ExpectFields(app, fields());
}

INSTANTIATE_TEST_SUITE_P(EveryMode, SelectorKeys, testing::Range(0, 6),
                         [](const testing::TestParamInfo<int>& info) { return kModes[info.param].name; });

// The client area once the program has finished painting it.
Pixels SteadyClient(Tintora& app, HWND control)
{
    RECT r = ClientRect(control);
    MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return SteadyCapture(app, r, control);
}

// How the control differs from `before`: "as before", "frame" (a dotted frame just inside the
// edge: at least every other pixel of the outermost ring, nothing inside), or else what changed.
std::string FrameAgainst(HWND control, const Pixels& before)
{
    const Pixels now = ClientPixels(control);
    if (now.width != before.width || now.height != before.height)
        return "another size";
    int ring = 0, inside = 0;
    for (int y = 0; y < now.height; ++y)
        for (int x = 0; x < now.width; ++x)
            if (now.At(x, y) != before.At(x, y))
                ++(x == 0 || y == 0 || x == now.width - 1 || y == now.height - 1 ? ring : inside);
    if (ring == 0 && inside == 0)
        return "as before";
    if (inside == 0 && ring >= now.width + now.height - 4)
        return "frame";
    return std::to_string(ring) + " ring and " + std::to_string(inside) + " inner pixels changed";
}

TEST(SelectorKeys, TheFocusedFieldAndSliderShowAFocusRectangleWhileTheDialogShowsFocusCues)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    ParkCursor();
    ASSERT_TRUE(BringToFront(app.Dialog()));
    HWND field = app.Item(kField), slider = app.Item(kSlider);
    const Pixels field0 = SteadyClient(app, field), slider0 = SteadyClient(app, slider);

    ASSERT_TRUE(FocusOn(app, kColors));
    Key(VK_TAB);
    ASSERT_EQ_SOON(app.Focus(), field);
    EXPECT_EQ_SOON(FrameAgainst(field, field0), "frame");
    EXPECT_EQ(FrameAgainst(slider, slider0), "as before");

    // Cues hidden, as Windows hides them after mouse input, telling every control: the frame
    // goes, and comes back with the cues. (Wine's dialog keeps no such state and passes nothing
    // on, so the test tells the control as Windows would.)
    auto cues = [&](WORD action) {
        const WPARAM change = MAKEWPARAM(action, UISF_HIDEFOCUS);
        app.SendToDialog(WM_UPDATEUISTATE, change, 0);
        app.Send(field, WM_UPDATEUISTATE, change, 0);
    };
    cues(UIS_SET);
    EXPECT_EQ_SOON(FrameAgainst(field, field0), "as before");
    cues(UIS_CLEAR);
    EXPECT_EQ_SOON(FrameAgainst(field, field0), "frame");

    // Back from the red field past the mode button to the slider: it has the frame now.
    ASSERT_TRUE(FocusOn(app, kRedEdit));
    ShiftKey(VK_TAB);
    ShiftKey(VK_TAB);
    ASSERT_EQ_SOON(app.Focus(), slider);
    EXPECT_EQ_SOON(FrameAgainst(slider, slider0), "frame");
    EXPECT_EQ_SOON(FrameAgainst(field, field0), "as before");
}

// ---- typing --------------------------------------------------------------------------------

TEST(ValueFields, Typing300InTheRedFieldSaysTheRangeOnlyAtTabAndShows30Again)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(FocusOn(app, kRedEdit));

    ASSERT_TRUE(TypeInto(app, kRedEdit, "3", "3"));
    ExpectFields(app, {{kHexEdit, "03FFFF"}, {kGreenEdit, "255"}});
    ASSERT_TRUE(TypeInto(app, kRedEdit, "0", "30"));
    ExpectFields(app, {{kHexEdit, "1EFFFF"}});
    // Out of range while typing: the colour keeps its last valid value, the field its text.
    ASSERT_TRUE(TypeInto(app, kRedEdit, "0", "300"));
    ExpectNoMessageBoxes(app);
    EXPECT_EQ(app.Text(kHexEdit), "1EFFFF");

    Key(VK_TAB);
    ExpectMessageBoxes(app, kRange255, 1);
    ExpectFields(app, {{kRedEdit, "30"}, {kHexEdit, "1EFFFF"}});
}

TEST(ValueFields, OutOfRangeInBlueHueSaturationAndBrightnessEachItsMessageTheLastValueBack)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    const char* const range360 = "You must enter a value between 0 and 360. Last valid value inserted.";
    const char* const range100 = "You must enter a value between 0 and 100. Last valid value inserted.";
    // White: blue 255, hue 0, saturation 0, brightness 100.
    const struct {
        int field;
        const char* text;
        const char* message;
        const char* restored;
    } cases[] = {
        {kBlueEdit, "256", kRange255, "255"},
        {kHueEdit, "361", range360, "0"},
        {kSaturationEdit, "101", range100, "0"},
        {kBrightnessEdit, "101", range100, "100"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("typed ") + c.text);
        ASSERT_TRUE(FocusOn(app, c.field));
        // The whole text at once, as a paste gives it: typed digit by digit, "36" would apply.
        app.Send(app.Item(c.field), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.text));
        EXPECT_EQ(app.Text(c.field), std::string(c.text));
        EXPECT_EQ(app.Text(kHexEdit), "FFFFFF");
        Key(VK_TAB);
        ExpectMessageBoxes(app, c.message, 1);
        EXPECT_EQ_SOON(app.Text(c.field), std::string(c.restored));
    }
}

TEST(ValueFields, ClosingEvenFromAnotherProgramWith300LeftInTheRedFieldShowsNoMessage)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(FocusOn(app, kRedEdit));
    ASSERT_TRUE(TypeInto(app, kRedEdit, "300", "300"));
    // The running copy's close request, as a second program sends it.
    DWORD_PTR result = 0;
    SendMessageTimeoutA(app.Dialog(), RegisterWindowMessageA(kTitle), 1, 0, SMTO_ABORTIFHUNG, kHangGuardMs,
                        &result);
    ExpectCleanExit(app);
    // The program has ended: every box it raised was seen by then.
    EXPECT_EQ(app.TakeMessageBoxes().size(), 0u);
}

TEST(ValueFields, AnEmptiedRedFieldReads0AtOnceLeavingItShowsNoMessage)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(FocusOn(app, kRedEdit));
    Key(VK_DELETE);
    ASSERT_SOON(app.Text(kRedEdit).empty());
    ExpectFields(app, {{kHexEdit, "00FFFF"}, {kBlueEdit, "255"}});

    Key(VK_TAB);
    EXPECT_EQ_SOON(app.Focus(), app.Item(kGreenEdit));
    ExpectNoMessageBoxes(app);
    // An acceptable text is left as typed.
    EXPECT_EQ(app.Text(kRedEdit), "");
}

TEST(ValueFields, Hue10Stores1820TheColourFollowsAtOnceAndTheFieldShows9WhenRewritten)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(SetColor(app, 0xFF0000));
    ASSERT_TRUE(FocusOn(app, kHueEdit));
    ASSERT_TRUE(TypeInto(app, kHueEdit, "10", "10"));
    // 10 x 65535 / 360 = 1820; 1820 x 360 / 65535 = 9.
    const uint32_t rgb = HsbToRgb(1820, 65535, 65535);
    ExpectFields(app, {{kHexEdit, HexText(rgb)},
                       {kGreenEdit, Number(rgb >> 8 & 0xFF)},
                       {kSaturationEdit, "100"},
                       {kBrightnessEdit, "100"}});
    // A mode click rewrites every field, the focused one too.
    app.Click(kModeHue);
    ExpectFields(app, {{kHueEdit, "9"}, {kHexEdit, HexText(rgb)}});
    ExpectNoMessageBoxes(app);
}

TEST(ValueFields, HashFF0000InTheHexFieldChangesNothingLeavingItSaysTheRangeFfIsBlueAtOnce)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(FocusOn(app, kHexEdit));
    // The field does not scroll: what does not fit its width is refused, at least the seventh
    // character here.
    Type("#FF0000");
    EXPECT_EQ_SOON(app.Text(kHexEdit).substr(0, 6), "#FF000");
    ExpectNoMessageBoxes(app);
    ExpectFields(app, {{kRedEdit, "255"}, {kGreenEdit, "255"}, {kBlueEdit, "255"}});
    Key(VK_TAB);
    ExpectMessageBoxes(app, kRangeHex, 1);
    ExpectFields(app, {{kHexEdit, "FFFFFF"}});

    ASSERT_TRUE(FocusOn(app, kHexEdit));
    ASSERT_TRUE(TypeInto(app, kHexEdit, "f", "f"));
    ExpectFields(app, {{kRedEdit, "0"}, {kGreenEdit, "0"}, {kBlueEdit, "15"}});
    ASSERT_TRUE(TypeInto(app, kHexEdit, "f", "ff"));
    ExpectFields(app, {{kRedEdit, "0"}, {kGreenEdit, "0"}, {kBlueEdit, "255"}});
    Key(VK_TAB);
    EXPECT_SOON(app.Focus() != app.Item(kHexEdit));
    ExpectNoMessageBoxes(app);
    EXPECT_EQ(app.Text(kHexEdit), "ff");
}

// ---- swatches ------------------------------------------------------------------------------

TEST(Swatches, AComponentSwatchKeepsItsComponentAndTakesTheFocusWebSafeRounds)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    const struct {
        int swatch;
        int field;
        uint32_t result;
    } components[] = {
        {kGreenSwatch, kGreenEdit, 0x001400},
        {kRedSwatch, kRedEdit, 0x0A0000},
        {kBlueSwatch, kBlueEdit, 0x00001E},
    };
    for (const auto& c : components) {
        SCOPED_TRACE("swatch " + Number(c.swatch));
        ASSERT_TRUE(SetColor(app, 0x0A141E));  // (10, 20, 30)
        Click(app.Item(c.swatch));
        ExpectFields(app, {{kRedEdit, Number(c.result >> 16)},
                           {kGreenEdit, Number(c.result >> 8 & 0xFF)},
                           {kBlueEdit, Number(c.result & 0xFF)},
                           {kHexEdit, HexText(c.result)}});
        EXPECT_EQ_SOON(app.Focus(), app.Item(c.field));
    }

    SCOPED_TRACE("web-safe swatch");
    ASSERT_TRUE(SetColor(app, 0x1A1900));  // (26, 25, 0)
    Click(app.Item(kWebSafeSwatch));
    ExpectFields(app, {{kRedEdit, "51"}, {kGreenEdit, "0"}, {kBlueEdit, "0"}, {kHexEdit, "330000"}});
    ParkCursor();
}

// ---- copy ----------------------------------------------------------------------------------

// The stored case and "#" options, and what the copy button puts on the clipboard with them.
struct HexCopy {
    const char* name;
    BYTE upper, prefix;
    const char* text;
};

class CopyHex : public testing::TestWithParam<HexCopy> {};

TEST_P(CopyHex, TheClipboardGetsTheHashAndTheCaseAsTheStoredOptionsSay)
{
    ResetSavedState();
    WriteBinaryOption("HexUpperCase", GetParam().upper);
    WriteBinaryOption("UseHexPrefix", GetParam().prefix);
    Tintora app;
    ASSERT_TRUE(app.Start(false));
    ASSERT_TRUE(SetColor(app, 0xFF8000));
    EXPECT_TRUE(EmptyTheClipboard());
    app.Click(kCopyHex);
    EXPECT_EQ_SOON(ClipboardText(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(StoredOptions, CopyHex,
                         testing::Values(HexCopy{"UpperWithHash", 1, 1, "#FF8000"},
                                         HexCopy{"Upper", 1, 0, "FF8000"},
                                         HexCopy{"LowerWithHash", 0, 1, "#ff8000"},
                                         HexCopy{"Lower", 0, 0, "ff8000"}),
                         [](const testing::TestParamInfo<HexCopy>& info) { return info.param.name; });

TEST(SwatchMenu, ARightClickOnASwatchOpensItsCopyMenuAndItsKeysCopyTheColourAsCode)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(SetColor(app, 0xFF8000));
    ASSERT_TRUE(BringToFront(app.Dialog()));
    const struct {
        int swatch;
        WORD key;
        const char* text;
    } picks[] = {
        {kCurrentSwatch, 'H', "hsl(30, 100%, 50%)"},
        {kCurrentSwatch, 'L', "0x000080FF"},
        {kRedSwatch, 'R', "rgb(255, 0, 0)"},
        {kGreenSwatch, 'M', "RGB(0, 128, 0)"},
    };
    for (const auto& pick : picks) {
        SCOPED_TRACE(std::string("expecting ") + pick.text);
        EXPECT_TRUE(PutClipboardText(nullptr, "before"));
        const POINT p = Centre(WindowRect(app.Item(pick.swatch)));
        ASSERT_TRUE(MoveTo(p));
        SendMouse(MOUSEEVENTF_RIGHTDOWN);
        SendMouse(MOUSEEVENTF_RIGHTUP);
        ASSERT_SOON(ShownMenu(app.ProcessId()) != nullptr);
        // Opened at the pointer, its top-left corner where the click was.
        const RECT menu = WindowRect(ShownMenu(app.ProcessId()));
        const POINT corner = {menu.left, menu.top};
        EXPECT_EQ(corner, p);
        Key(pick.key);
        EXPECT_EQ_SOON(ClipboardText(), std::string(pick.text));
        EXPECT_EQ_SOON(ShownMenu(app.ProcessId()), nullptr);
    }
    ParkCursor();
    ExpectNoMessageBoxes(app);
}

TEST(SwatchMenu, PasteColorAndCtrlVInTheHexFieldTakeAColourInAnyFormTextThatIsNoColourIsSaid)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(SetColor(app, 0x000000));
    ASSERT_TRUE(BringToFront(app.Dialog()));
    auto pasteFromMenu = [&](int swatch, const char* text) {
        EXPECT_TRUE(PutClipboardText(nullptr, text));
        ASSERT_TRUE(MoveTo(Centre(WindowRect(app.Item(swatch)))));
        SendMouse(MOUSEEVENTF_RIGHTDOWN);
        SendMouse(MOUSEEVENTF_RIGHTUP);
        ASSERT_SOON(ShownMenu(app.ProcessId()) != nullptr);
        Key('P');
        EXPECT_EQ_SOON(ShownMenu(app.ProcessId()), nullptr);
    };
    pasteFromMenu(kBlueSwatch, "hsl(120, 100%, 25%)");
    EXPECT_EQ_SOON(app.Text(kHexEdit), "008000");
    EXPECT_EQ_SOON(app.Text(kGreenEdit), "128");
    pasteFromMenu(kCurrentSwatch, "rgb(300, 0, 0)");
    ExpectMessageBoxes(app, "The clipboard does not hold a color.", 1);
    EXPECT_EQ(app.Text(kHexEdit), "008000");

    ASSERT_TRUE(FocusOn(app, kHexEdit));
    EXPECT_TRUE(PutClipboardText(nullptr, "rgb(255, 128, 0)"));
    HoldKey(VK_CONTROL, true);
    Key('V');
    HoldKey(VK_CONTROL, false);
    EXPECT_EQ_SOON(app.Text(kHexEdit), "FF8000");
    EXPECT_EQ_SOON(app.Text(kRedEdit), "255");
    // A colour beyond sRGB in today's CSS comes in as a browser shows it, not clipped.
    EXPECT_TRUE(PutClipboardText(nullptr, "color(display-p3 0 1 0)"));
    HoldKey(VK_CONTROL, true);
    Key('V');
    HoldKey(VK_CONTROL, false);
    EXPECT_EQ_SOON(app.Text(kHexEdit), "00FB29");
    // More digits than a hex value has: the integer form of 0xFF8000.
    EXPECT_TRUE(PutClipboardText(nullptr, "16744448"));
    HoldKey(VK_CONTROL, true);
    Key('V');
    HoldKey(VK_CONTROL, false);
    EXPECT_EQ_SOON(app.Text(kHexEdit), "FF8000");
    ParkCursor();
    ExpectNoMessageBoxes(app);
}

// ---- contrast against the background -------------------------------------------------------

// The contrast row as the user reads it: "ratio grade".
std::string Contrast(Tintora& app)
{
    return app.Text(kContrastRatio) + " " + app.Text(kContrastGrade);
}

uint32_t BackgroundShown(Tintora& app)
{
    const auto ref = static_cast<COLORREF>(app.Send(app.Item(kBackgroundSwatch), FCM_GETCOLOR, 0, 0));
    return static_cast<uint32_t>(GetRValue(ref)) << 16 | GetGValue(ref) << 8 | GetBValue(ref);
}

// Opens a swatch's menu with a right click and presses `keys` in it; waits for it to close.
void ChooseFromSwatchMenu(Tintora& app, int swatch, std::initializer_list<WORD> keys)
{
    ASSERT_TRUE(MoveTo(Centre(WindowRect(app.Item(swatch)))));
    SendMouse(MOUSEEVENTF_RIGHTDOWN);
    SendMouse(MOUSEEVENTF_RIGHTUP);
    ASSERT_SOON(ShownMenu(app.ProcessId()) != nullptr);
    for (WORD key : keys)
        Key(key);
    EXPECT_EQ_SOON(ShownMenu(app.ProcessId()), nullptr);
}

// Ratios of the published pairs, cut to two decimals: white on red is 3.998.
TEST(Contrast, TheRowFollowsADragAPasteAndUseAsBackground)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(BringToFront(app.Dialog()));
    EXPECT_EQ_SOON(Contrast(app), "1.00:1 Fail");  // white on white
    EXPECT_EQ(BackgroundShown(app), 0xFFFFFFu);

    // Red mode: the slider's bottom takes red out of white, leaving cyan, 1.25:1 on white;
    // the row shows it while the button is still down.
    const Geometry g = GeometryOf(app);
    Press(At(g.slider, g.sliderWidth / 2, g.barBottom - g.barHeight + 2));
    DragTo(At(g.slider, g.sliderWidth / 2, g.barBottom + 20));
    EXPECT_EQ_SOON(app.Text(kHexEdit), "00FFFF");
    EXPECT_EQ_SOON(Contrast(app), "1.25:1 Fail");
    Release(At(g.slider, g.sliderWidth / 2, g.barBottom + 20));

    ASSERT_TRUE(SetColor(app, 0x777777));
    EXPECT_EQ_SOON(Contrast(app), "4.47:1 AA Large");
    EXPECT_TRUE(PutClipboardText(nullptr, "rgb(118 118 118)"));
    ChooseFromSwatchMenu(app, kWebSafeSwatch, {'P'});
    EXPECT_EQ_SOON(app.Text(kHexEdit), "767676");
    EXPECT_EQ_SOON(Contrast(app), "4.54:1 AA");
    ASSERT_TRUE(SetColor(app, 0x000000));
    EXPECT_EQ_SOON(Contrast(app), "21.00:1 AAA");

    // Any swatch's colour becomes the background: red's, then the current colour's.
    ASSERT_TRUE(SetColor(app, 0xFFFFFF));
    ChooseFromSwatchMenu(app, kRedSwatch, {'B'});
    EXPECT_EQ_SOON(BackgroundShown(app), 0xFF0000u);
    EXPECT_EQ_SOON(Contrast(app), "3.99:1 AA Large");
    EXPECT_EQ(app.Text(kHexEdit), "FFFFFF");
    // Pasted on the background's swatch, a colour becomes the background.
    EXPECT_TRUE(PutClipboardText(nullptr, "hsl(0 0% 0%)"));
    ChooseFromSwatchMenu(app, kBackgroundSwatch, {'P'});
    EXPECT_EQ_SOON(BackgroundShown(app), 0x000000u);
    EXPECT_EQ_SOON(Contrast(app), "21.00:1 AAA");
    ParkCursor();
    ExpectNoMessageBoxes(app);
}

// #777777 on white falls short of 4.5:1; the lightest greys that reach 4.5:1 and 7:1 on white
// are #767676 and #595959.
TEST(Contrast, TheNearestPassingColoursSwapAndAHueThatCannotReach7)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(BringToFront(app.Dialog()));
    ASSERT_TRUE(SetColor(app, 0x777777));
    // The menu's last items, Nearest AA then Nearest AAA: Up from no selection is the last.
    ChooseFromSwatchMenu(app, kCurrentSwatch, {VK_UP, VK_UP, VK_RETURN});
    EXPECT_EQ_SOON(app.Text(kHexEdit), "767676");
    EXPECT_EQ_SOON(Contrast(app), "4.54:1 AA");
    ChooseFromSwatchMenu(app, kCurrentSwatch, {VK_UP, VK_UP, VK_RETURN});  // passes already
    app.Settle();
    EXPECT_EQ(app.Text(kHexEdit), "767676");
    ChooseFromSwatchMenu(app, kCurrentSwatch, {VK_UP, VK_RETURN});
    EXPECT_EQ_SOON(app.Text(kHexEdit), "595959");
    EXPECT_EQ_SOON(Contrast(app), "7.00:1 AAA");

    // A colour keeps its hue: orange darkened on white.
    ASSERT_TRUE(SetColor(app, 0xFF8000));
    EXPECT_EQ_SOON(Contrast(app), "2.51:1 Fail");
    ChooseFromSwatchMenu(app, kCurrentSwatch, {VK_UP, VK_UP, VK_RETURN});
    app.Settle();
    const uint32_t orange = static_cast<uint32_t>(std::stoul(app.Text(kHexEdit), nullptr, 16));
    const int r = orange >> 16, gr = orange >> 8 & 0xFF, b = orange & 0xFF;
    EXPECT_TRUE(r > gr && gr > b) << app.Text(kHexEdit);  // still an orange
    EXPECT_NE(app.Text(kContrastGrade), "Fail");
    EXPECT_NE(app.Text(kContrastGrade), "AA Large");

    // Swap: the background becomes the current colour and the other way round.
    ASSERT_TRUE(SetColor(app, 0x595959));
    ChooseFromSwatchMenu(app, kBackgroundSwatch, {'S'});
    EXPECT_EQ_SOON(app.Text(kHexEdit), "FFFFFF");
    EXPECT_EQ_SOON(BackgroundShown(app), 0x595959u);
    EXPECT_EQ_SOON(Contrast(app), "7.00:1 AAA");

    // On mid grey neither black (4.68:1) nor white (4.48:1) reaches 7:1: a message, no change.
    ASSERT_TRUE(SetColor(app, 0x777777));
    ChooseFromSwatchMenu(app, kCurrentSwatch, {'B'});
    EXPECT_EQ_SOON(BackgroundShown(app), 0x777777u);
    ASSERT_TRUE(SetColor(app, 0x3366CC));
    ChooseFromSwatchMenu(app, kCurrentSwatch, {VK_UP, VK_RETURN});
    ExpectMessageBoxes(app, "No color of this hue reaches 7:1 on this background.", 1);
    EXPECT_EQ(app.Text(kHexEdit), "3366CC");
    ParkCursor();
}

// The background's swatch is a tab stop after the copy button; the menu key opens its menu.
TEST(Contrast, TheKeyboardReachesTheBackgroundAndItsMenu)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(FocusOn(app, kCopyHex));
    Key(VK_TAB);
    EXPECT_EQ_SOON(app.Focus(), app.Item(kBackgroundSwatch));
    ASSERT_TRUE(SetColor(app, 0x202020));
    ASSERT_TRUE(FocusOn(app, kBackgroundSwatch));
    ShiftKey(VK_F10);
    ASSERT_SOON(ShownMenu(app.ProcessId()) != nullptr);
    Key('S');
    EXPECT_EQ_SOON(ShownMenu(app.ProcessId()), nullptr);
    EXPECT_EQ_SOON(app.Text(kHexEdit), "FFFFFF");
    EXPECT_EQ_SOON(BackgroundShown(app), 0x202020u);
}

// ---- pictures ------------------------------------------------------------------------------

TEST(SelectorPictures, RedModeFieldMarkerStripAndArrowsOnTheScreenAFieldDragMovesOnlyTheMarker)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    ParkCursor();
    const Geometry g = GeometryOf(app);
    ASSERT_TRUE(g.width > 256 && g.height > 256);
    auto redField = [&](int x, int row) {
        return 0xFF0000u | Ramp(x, g.width - 1, 255) << 8 | Ramp(row, g.height - 1, 255);
    };

    // White: the marker sits in the top-right corner, only its inner halves inside the field.
    EXPECT_EQ_SOON(Rgb(ScreenPixel(g.field, 0, g.height - 1)), Rgb(0xFF0000));
    EXPECT_EQ_SOON(Rgb(ScreenPixel(g.field, g.width - 1, 0)), Rgb(0xFFFFFF));
    ExpectFieldOnScreen(g, ExpectedField(g, POINT{g.width - 1, g.height - 1}, redField), 0);

    // The strip runs from (0, 255, 255) at the bottom towards white; the reference strip from
    // black towards red. Rows inside the sunken edge only.
    const int hs = g.barHeight;
    EXPECT_EQ_SOON(Rgb(ScreenPixel(g.slider, 8, g.barBottom - 2)), Rgb(0x00FFFF));
    for (int i : {1, hs / 3, hs / 2, hs - 2}) {
        SCOPED_TRACE("strip row " + std::to_string(i));
        const int y = g.barBottom - 1 - i;
        const uint32_t step = static_cast<uint32_t>(255.0 * i / hs);
        EXPECT_EQ_SOON(Rgb(ScreenPixel(g.slider, 8, y)), Rgb(step << 16 | 0x00FFFF));
        EXPECT_EQ_SOON(Rgb(ScreenPixel(g.slider, g.sliderWidth - 8, y)), Rgb(step << 16));
    }
    ExpectArrowsAt(g, 255 * hs >> 8);

    // A drag in the field leaves the picture and moves the cross.
    const int x = g.width / 3, y = g.height / 2;
    const POINT press = At(g.field, x, y);
    Press(press);
    const uint32_t green = Ramp(x, g.width - 1, 255), blue = Ramp(g.height - y, g.height - 1, 255);
    ExpectFields(app, {{kGreenEdit, Number(green)}, {kBlueEdit, Number(blue)}});
    Release(At(g.field, x, y));
    ParkCursor();
    const POINT marker = {static_cast<LONG>(green * (g.width - 1) / 255),
                          static_cast<LONG>(blue * (g.height - 1) / 255)};
    ExpectFieldOnScreen(g, ExpectedField(g, marker, redField), 0);
    ExpectArrowsAt(g, 255 * hs >> 8);
}

TEST(SelectorPictures, HueModeSaturationAcrossBrightnessUpTheHueRainbowBesideTheStrip)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    ParkCursor();
    app.Click(kModeHue);
    const Geometry g = GeometryOf(app);
    ASSERT_TRUE(g.width > 256 && g.height > 256);

    // White has hue 0 and saturation 0: the marker is in the top-left corner. Hue 0 fields: red
    // at full level, the others falling with the saturation.
    auto hueField = [&](int x, int row) {
        const uint32_t s = Ramp(x, g.width - 1, 65535), v = Ramp(row, g.height - 1, 65535);
        const uint32_t full = 65536, t = 65535 - ((s * 65535) >> 16), p = 65535 - s;
        auto byte = [v](uint32_t level) {
            return static_cast<uint32_t>((static_cast<unsigned long long>(level) * v) >> 24);
        };
        return byte(full) << 16 | byte(t) << 8 | byte(p);
    };
    EXPECT_EQ_SOON(Rgb(ScreenPixel(g.field, g.width - 1, 0)), Rgb(0xFF0000));
    EXPECT_EQ_SOON(Rgb(ScreenPixel(g.field, g.width / 2, g.height - 1)), Rgb(0));
    ExpectFieldOnScreen(g, ExpectedField(g, POINT{0, g.height - 1}, hueField), 0);

    // The reference strip: row i shows hue i / hs of the circle at full saturation and brightness.
    const int hs = g.barHeight;
    EXPECT_EQ_SOON(Rgb(ScreenPixel(g.slider, g.sliderWidth - 8, g.barBottom - 2)),
                   Rgb(HsbToRgb(65535 / hs, 65535, 65535)));
    int checked = 0;
    for (int sixth = 0; sixth < 6; ++sixth) {
        for (int i : {hs * sixth / 6 + 3, hs * sixth / 6 + hs / 12}) {
            if (i < 1 || i > hs - 2)
                continue;
            SCOPED_TRACE("reference row " + std::to_string(i));
            const uint32_t expected = HsbToRgb(static_cast<uint32_t>(i) * 65535 / hs, 65535, 65535);
            EXPECT_EQ_SOON(Rgb(ScreenPixel(g.slider, g.sliderWidth - 8, g.barBottom - 1 - i)), Rgb(expected));
            ++checked;
        }
    }
    EXPECT_GE(checked, 10);
    // White keeps its hue 0 arrow at the bottom.
    ExpectArrowsAt(g, 0);
}

// At 120 and 144 DPI the controls are larger and the pictures fill them: the field's corner
// pixels are its corner colours and the strip runs the slider's height; the arrows (10 rows at
// 96 DPI) and the field's cross (11 pixels) grow with the DPI.
class SelectorPicturesAtDpi : public testing::TestWithParam<int> {};

TEST_P(SelectorPicturesAtDpi, FillTheirControlsWithArrowsAndCrossGrownToMatch)
{
    const int dpi = GetParam();
    Tintora app;
    app.UseDpi(dpi);
    ASSERT_TRUE(app.Start());
    ParkCursor();
    // Red mode without red: green across and blue up the field, the cross alone red in it, the
    // arrows at the strip's bottom.
    ASSERT_TRUE(SetColor(app, 0x008080));
    HWND field = app.Item(kField), slider = app.Item(kSlider);
    const RECT f = ClientRect(field), s = ClientRect(slider);
    EXPECT_GT(f.right, 298) << "wider than at 96 DPI";
    EXPECT_EQ_SOON(Rgb(ScreenPixel(field, 0, 0)), Rgb(0x0000FF));
    EXPECT_EQ_SOON(Rgb(ScreenPixel(field, f.right - 1, 0)), Rgb(0x00FFFF));
    EXPECT_EQ_SOON(Rgb(ScreenPixel(field, 0, f.bottom - 1)), Rgb(0x000000));
    EXPECT_EQ_SOON(Rgb(ScreenPixel(field, f.right - 1, f.bottom - 1)), Rgb(0x00FF00));

    const Pixels picture = ClientPixels(field);
    int cross = 0;
    for (uint32_t pixel : picture.data)
        cross += (pixel >> 16) > 0x80;
    // Two bars sharing a centre that keeps the field's colour.
    EXPECT_NEAR(cross + 2, 2 * 11 * dpi / 96, 3);

    // The strip a third across: (0, 128, 128) at its lowest row up to nearly (255, 128, 128).
    Pixels bar;
    std::vector<int> strip;
    EXPECT_TRUE(WaitUntil(kHangGuardMs, [&] {
        bar = ClientPixels(slider);
        strip.clear();
        for (int y = 0; y < bar.height; ++y)
            if ((bar.At(s.right / 3, y) & 0xFFFF) == 0x8080)
                strip.push_back(y);
        return !strip.empty() && bar.At(s.right / 3, strip.back()) == 0x008080;
    }));
    ASSERT_FALSE(strip.empty());
    EXPECT_EQ(Rgb(bar.At(s.right / 3, strip.back())), Rgb(0x008080));
    EXPECT_GT(bar.At(s.right / 3, strip.front()) >> 16, 0xF0u);
    EXPECT_GE(strip.back() - strip.front() + 1, s.bottom * 95 / 100);
    // Each arrow's base along the slider's side, its middle at the strip's lowest row.
    for (const int side : {0, static_cast<int>(s.right) - 1}) {
        std::vector<int> black;
        for (int y = 0; y < bar.height; ++y)
            if (bar.At(side, y) == 0)
                black.push_back(y);
        ASSERT_FALSE(black.empty()) << "arrow at column " << side;
        EXPECT_NEAR(black.back() - black.front() + 1, 10 * dpi / 96, 1) << "column " << side;
        EXPECT_NEAR((black.front() + black.back()) / 2, strip.back(), 2) << "column " << side;
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, SelectorPicturesAtDpi, testing::Values(120, 144),
                         [](const testing::TestParamInfo<int>& info) {
    return "Dpi" + std::to_string(info.param);
});
