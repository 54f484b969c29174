// What a screen reader, another program, reads of the colour field, the slider and the swatches
// through Active Accessibility, and the events it is sent when they change.
#include <windows.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "tests/e2e/e2e_checks.h"
#include "tests/e2e/e2e_input.h"
#include "tests/e2e/e2e_program.h"
#include "tests/e2e/e2e_screen.h"

using namespace e2e;

namespace {

std::string Narrow(BSTR text)
{
    if (!text)
        return "(none)";
    char narrow[256] = "";
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof(narrow), nullptr, nullptr);
    SysFreeString(text);
    return narrow;
}

// Role, name and value of a control's client object, as AccessibleObjectFromWindow gives it:
// "slider: Red = 255".
std::string ReadObject(HWND control)
{
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))) ||
        !object)
        return "no object";
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role;
    VariantInit(&role);
    std::string text = "role ?";
    if (SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4)
        text = role.lVal == ROLE_SYSTEM_SLIDER ? "slider" : "role " + std::to_string(role.lVal);
    BSTR name = nullptr, value = nullptr;
    object->get_accName(self, &name);
    object->get_accValue(self, &value);
    text += ": " + Narrow(name) + " = " + Narrow(value);
    object->Release();
    return text;
}

// COM for the driver's thread, for as long as a test reads objects.
struct ComForTheTest {
    ComForTheTest() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComForTheTest() { CoUninitialize(); }
};

// Name and value changes of the program's objects, received out of context as a reader gets
// them: they come through the driver's message queue.
class EventLog {
public:
    explicit EventLog(DWORD pid)
    {
        log_ = this;
        hook_ = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, Record, pid, 0,
                                WINEVENT_OUTOFCONTEXT);
    }
    ~EventLog()
    {
        if (hook_)
            UnhookWinEvent(hook_);
        log_ = nullptr;
    }
    EventLog(const EventLog&) = delete;
    EventLog& operator=(const EventLog&) = delete;

    bool Hooked() const { return hook_ != nullptr; }
    // Takes what has come and forgets it.
    void Clear()
    {
        Pump();
        events_.clear();
    }
    // The controls (by id) the event came for since the last Clear, in id order: "403 404 425".
    std::string For(DWORD event)
    {
        Pump();
        std::string ids;
        for (int id = kField; id <= kNamedCopy; ++id)
            for (const Event& e : events_)
                if (e.event == event && GetDlgCtrlID(e.window) == id && e.object == OBJID_CLIENT &&
                    e.child == CHILDID_SELF) {
                    ids += (ids.empty() ? "" : " ") + std::to_string(id);
                    break;
                }
        return ids;
    }

private:
    struct Event {
        DWORD event;
        HWND window;
        LONG object, child;
    };
    static void CALLBACK Record(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD,
                                DWORD)
    {
        if (log_)
            log_->events_.push_back({event, window, object, child});
    }
    static void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }

    static EventLog* log_;
    HWINEVENTHOOK hook_ = nullptr;
    std::vector<Event> events_;
};

EventLog* EventLog::log_ = nullptr;

}  // namespace

TEST(Accessibility, TheSliderAndTheFieldAreSlidersNamedByTheirAxesValuedAsTheirFieldsShowThem)
{
    ComForTheTest com;
    Tintora app;
    ASSERT_TRUE(app.Start());
    HWND slider = app.Item(kSlider), field = app.Item(kField);
    EXPECT_EQ(ReadObject(slider), "slider: Red = 255");
    EXPECT_EQ(ReadObject(field), "slider: Green and Blue = Green 255, Blue 255");

    // Blue: hue 240 degrees, saturation and brightness full.
    ASSERT_TRUE(SetColor(app, 0x0000FF));
    EXPECT_EQ_SOON(ReadObject(slider), "slider: Red = 0");
    EXPECT_EQ(ReadObject(field), "slider: Green and Blue = Green 0, Blue 255");
    app.Click(kModeHue);
    EXPECT_EQ_SOON(ReadObject(slider), "slider: Hue = 240");
    EXPECT_EQ(ReadObject(field), "slider: Saturation and Brightness = Saturation 100, Brightness 100");
    app.Click(kModeRed + 5);
    EXPECT_EQ_SOON(ReadObject(slider), "slider: Brightness = 100");
    EXPECT_EQ(ReadObject(field), "slider: Hue and Saturation = Hue 240, Saturation 100");
    app.Click(kModeRed + 1);
    EXPECT_EQ_SOON(ReadObject(field), "slider: Red and Blue = Red 0, Blue 255");

    // A key moves what the reader reads.
    ASSERT_TRUE(FocusOn(app, kSlider));
    Key(VK_PRIOR);
    EXPECT_EQ_SOON(ReadObject(slider), "slider: Green = 10");
}

TEST(Accessibility, EverySwatchIsNamedByItsTipAndValuedByItsSixDigits)
{
    ComForTheTest com;
    Tintora app;
    ASSERT_TRUE(app.Start());
    // (52, 122, 155): the nearest web-safe colour is (51, 102, 153).
    ASSERT_TRUE(SetColor(app, 0x347A9B));
    const struct {
        int id;
        const char* read;
    } swatches[] = {
        {kCurrentSwatch, ": Current color = 347A9B"}, {kWebSafeSwatch, ": Nearest web-safe color = 336699"},
        {kRedSwatch, ": Red component = 340000"},     {kGreenSwatch, ": Green component = 007A00"},
        {kBlueSwatch, ": Blue component = 00009B"},
    };
    for (const auto& swatch : swatches) {
        const std::string read = ReadObject(app.Item(swatch.id));
        EXPECT_EQ(read.substr(read.find(':')), swatch.read);
    }
}

TEST(Accessibility, ReadersHearOfEachValueThatChangesByKeyDragTypingAndListAndOfNamesWithTheMode)
{
    ComForTheTest com;
    Tintora app;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(SetColor(app, 0x347A9B));
    EventLog log(app.ProcessId());
    ASSERT_TRUE(log.Hooked());
    // What has come once the program has settled after the input: every event it sent by then.
    auto after = [&](DWORD event, const std::string& ids) {
        EXPECT_EQ_SOON(log.For(event), ids);
        app.Settle();
        EXPECT_EQ(log.For(event), ids) << "no more";
    };

    {
        SCOPED_TRACE("key: red 52 to 53, still nearest 51");
        ASSERT_TRUE(FocusOn(app, kSlider));
        log.Clear();
        Key(VK_UP);
        after(EVENT_OBJECT_VALUECHANGE, "403 404 425");
        EXPECT_EQ(log.For(EVENT_OBJECT_NAMECHANGE), "");
    }
    {
        SCOPED_TRACE("drag: a press in the field's top right corner, green and blue 255");
        log.Clear();
        HWND field = app.Item(kField);
        POINT corner = {ClientRect(field).right - 1, 0};
        ClientToScreen(field, &corner);
        ASSERT_TRUE(MoveTo(corner));
        FreshLeftDown();
        LeftUp();
        after(EVENT_OBJECT_VALUECHANGE, "401 403 405 406 427");
        MoveTo(POINT{0, 0});
    }
    {
        SCOPED_TRACE("typing: 000000 in the hex field");
        ASSERT_TRUE(FocusOn(app, kHexEdit));
        log.Clear();
        Type("000000");
        after(EVENT_OBJECT_VALUECHANGE, "401 403 404 405 406 425 427");
    }
    {
        SCOPED_TRACE("list: Fuchsia, red and blue 255");
        log.Clear();
        app.Send(app.Item(kNamedList), LB_SETCURSEL, 45, 0);
        app.Click(kNamedLoad);
        after(EVENT_OBJECT_VALUECHANGE, "401 403 404 406 425 427");
    }
    {
        SCOPED_TRACE("mode: hue");
        log.Clear();
        app.Click(kModeHue);
        after(EVENT_OBJECT_NAMECHANGE, "401 425");
        EXPECT_EQ(log.For(EVENT_OBJECT_VALUECHANGE), "401 425");
    }
}
