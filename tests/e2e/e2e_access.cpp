// What a screen reader, another program, reads of the colour field, the slider and the swatches
// through Active Accessibility, and the events it is sent when they change.
#include <windows.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "tests/e2e/e2e_board.h"
#include "tests/e2e/e2e_checks.h"
#include "tests/e2e/e2e_input.h"
#include "tests/e2e/e2e_program.h"
#include "tests/e2e/e2e_screen.h"

using namespace e2e;

namespace {

std::string Narrow(BSTR text)
{
    char narrow[256] = "(none)";
    if (text)
        WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof(narrow), nullptr, nullptr);
    SysFreeString(text);
    return narrow;
}

// Role, name and value of a control's client object as AccessibleObjectFromWindow gives it:
// "slider: Red = 255" (the role by number when it is another).
std::string ReadObject(HWND control)
{
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))))
        return "no object";
    VARIANT self, role;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VariantInit(&role);
    object->get_accRole(self, &role);
    BSTR name = nullptr, value = nullptr;
    object->get_accName(self, &name);
    object->get_accValue(self, &value);
    object->Release();
    const bool slider = role.vt == VT_I4 && role.lVal == ROLE_SYSTEM_SLIDER;
    return (slider ? "slider" : "role " + std::to_string(role.lVal)) + ": " + Narrow(name) + " = " +
           Narrow(value);
}

// COM on the driver's thread for as long as a test reads objects.
struct ComForTheTest {
    ComForTheTest() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComForTheTest() { CoUninitialize(); }
};

// Name and value changes of the program's client objects, received out of context as a reader
// gets them, through the driver's message queue.
struct Event {
    DWORD event;
    HWND window;
};
std::vector<Event> g_events;

void CALLBACK RecordEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    if (object == OBJID_CLIENT && child == CHILDID_SELF)
        g_events.push_back({event, window});
}

// The controls the event came for since the list was last cleared, by id in order: "403 425".
std::string EventsFor(DWORD event)
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    std::string ids;
    for (int id = kField; id <= kNamedCopy; ++id)
        for (const Event& e : g_events)
            if (e.event == event && GetDlgCtrlID(e.window) == id) {
                ids += (ids.empty() ? "" : " ") + std::to_string(id);
                break;
            }
    return ids;
}

}  // namespace

TEST(Accessibility, SliderAndFieldAreSlidersNamedByTheirAxesSwatchesByTheirTipsValuedAsShown)
{
    ComForTheTest com;
    Tintora app;
    ASSERT_TRUE(app.Start());
    HWND slider = app.Item(kSlider), field = app.Item(kField);
    EXPECT_EQ(ReadObject(slider), "slider: Red = 255");
    EXPECT_EQ(ReadObject(field), "slider: Green and Blue = Green 255, Blue 255");

    // Blue: hue 240 degrees, saturation and brightness full.
    ASSERT_TRUE(SetColor(app, 0x0000FF));
    EXPECT_EQ_SOON(ReadObject(field), "slider: Green and Blue = Green 0, Blue 255");
    app.Click(kModeHue);
    EXPECT_EQ_SOON(ReadObject(slider), "slider: Hue = 240");
    EXPECT_EQ(ReadObject(field), "slider: Saturation and Brightness = Saturation 100, Brightness 100");
    app.Click(kModeRed + 5);
    EXPECT_EQ_SOON(ReadObject(field), "slider: Hue and Saturation = Hue 240, Saturation 100");
    app.Click(kModeRed + 1);
    ASSERT_TRUE(FocusOn(app, kSlider));
    Key(VK_PRIOR);
    EXPECT_EQ_SOON(ReadObject(slider), "slider: Green = 10");

    // (52, 122, 155): the nearest web-safe colour is (51, 102, 153).
    ASSERT_TRUE(SetColor(app, 0x347A9B));
    const struct {
        int id;
        const char* read;
    } swatches[] = {
        {kCurrentSwatch, "Current color = 347A9B"}, {kWebSafeSwatch, "Nearest web-safe color = 336699"},
        {kRedSwatch, "Red component = 340000"},     {kGreenSwatch, "Green component = 007A00"},
        {kBlueSwatch, "Blue component = 00009B"},   {kBackgroundSwatch, "Background color = FFFFFF"},
    };
    for (const auto& swatch : swatches) {
        const std::string read = ReadObject(app.Item(swatch.id));
        EXPECT_EQ(read.substr(read.find(':') + 2), swatch.read);
    }
}

TEST(Accessibility, ReadersHearOfEachValueThatChangesByKeyDragTypingListAndPickAndOfNamesWithTheMode)
{
    Tintora app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(SetColor(app, 0x347A9B));
    // Filtered by process alone: with WINEVENT_SKIPOWNPROCESS too, Wine delivers nothing.
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr,
                                         RecordEvent, app.ProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_TRUE(hook);
    // What came, and once the program has settled nothing more: it has sent every event by then.
    auto heard = [&](const char* what, DWORD event, const std::string& ids) {
        EXPECT_EQ_SOON(EventsFor(event), ids) << what;
        app.Settle();
        EXPECT_EQ(EventsFor(event), ids) << what << ", and no more";
    };
    auto clear = [] {
        EventsFor(0);
        g_events.clear();
    };

    ASSERT_TRUE(FocusOn(app, kSlider));
    clear();
    Key(VK_UP);
    heard("key: red 52 to 53, still nearest 51", EVENT_OBJECT_VALUECHANGE, "403 404 425");
    EXPECT_EQ(EventsFor(EVENT_OBJECT_NAMECHANGE), "");

    clear();
    HWND field = app.Item(kField);
    POINT corner = {ClientRect(field).right - 1, 0};
    ClientToScreen(field, &corner);
    ASSERT_TRUE(MoveTo(corner));
    FreshLeftDown();
    LeftUp();
    heard("drag: a press in the field's top right corner, green and blue 255", EVENT_OBJECT_VALUECHANGE,
          "401 403 405 406 427");
    MoveTo(POINT{0, 0});

    ASSERT_TRUE(FocusOn(app, kHexEdit));
    clear();
    Type("000000");
    heard("typing: 000000 in the hex field", EVENT_OBJECT_VALUECHANGE, "401 403 404 405 406 425 427");

    clear();
    app.Send(app.Item(kNamedList), LB_SETCURSEL, 45, 0);
    app.Click(kNamedLoad);
    heard("list: Fuchsia, red and blue 255", EVENT_OBJECT_VALUECHANGE, "401 403 404 406 425 427");

    clear();
    // A pick of the red swatch's corner, clear of its digits: blue 255 to 0.
    const RECT red = WindowRect(app.Item(kRedSwatch));
    ASSERT_TRUE(PressGrabIcon(app));
    ASSERT_TRUE(DragTo(POINT{red.left + 2, red.top + 2}));
    LeftUp();
    heard("pick: red from the red swatch", EVENT_OBJECT_VALUECHANGE, "401 403 406 427");

    clear();
    app.Click(kModeHue);
    heard("mode: hue", EVENT_OBJECT_NAMECHANGE, "401 425");
    EXPECT_EQ(EventsFor(EVENT_OBJECT_VALUECHANGE), "401 425");
    UnhookWinEvent(hook);
}
