// Which redraw each kind of change asks for: typing in the value fields, and slider and field
// drags with and without real-time update. The dialog is created in-process from the real
// template; a call-window hook on this thread records every SelectorRedraw it is sent.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "core/redraw.h"
#include "flatcolor/flat_color.h"
#include "resources/resource.h"
#include "selector/selector.h"
#include "shell/hide_button.h"
#include "shell/main_dialog.h"
#include "shell/main_dialog_internal.h"
#include "tests/shared/clipboard_text.h"
#include "tests/unit/main_dialog_fixture.h"
#include "tests/unit/message_box_catcher.h"
#include "tests/unit/message_pump.h"

namespace {

HWND g_dialog = nullptr;
std::vector<WPARAM> g_redraws;

LRESULT CALLBACK RecordRedraws(int code, WPARAM wparam, LPARAM lparam)
{
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lparam);
    if (code == HC_ACTION && sent->hwnd == g_dialog && sent->message == SELECTOR_REDRAW)
        g_redraws.push_back(sent->wParam);
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

using Bits = std::vector<WPARAM>;

class CommandsTest : public MainDialogFixture {
protected:
    void SetUp() override
    {
        MainDialogFixture::SetUp();
        if (HasFatalFailure())
            return;
        ShowWindow(dialog, SW_SHOW);
        UpdateWindow(dialog);
        g_dialog = dialog;
        hook = SetWindowsHookExA(WH_CALLWNDPROC, RecordRedraws, nullptr, GetCurrentThreadId());
        ASSERT_NE(nullptr, hook);
        Drain();
    }

    void TearDown() override
    {
        if (hook)
            UnhookWindowsHookEx(hook);
        g_dialog = nullptr;
        MainDialogFixture::TearDown();
        Drain();
        EXPECT_EQ(0u, boxes.Take().size()) << "a message box appeared";
    }

    // Whatever the system queued for us before the steps (paints, activation). Not called
    // between steps: a queued pointer event of SetCursorPos would then act as a move of its own.
    static void Drain() { DrainMessages(); }

    // The redraws one action sends.
    template <typename Action>
    Bits During(Action action)
    {
        g_redraws.clear();
        action();
        return g_redraws;
    }

    HWND Item(int id) const { return GetDlgItem(dialog, id); }

    // Replaces a field's text by typing, as the keyboard would after select-all.
    void Type(int id, const char* text)
    {
        SetFocus(Item(id));
        SendMessageA(Item(id), EM_SETSEL, 0, -1);
        for (const char* c = text; *c; ++c)
            SendMessageA(Item(id), WM_CHAR, static_cast<unsigned char>(*c), 1);
    }

    void ClickMode(int id) { SendMessageA(Item(id), BM_CLICK, 0, 0); }

    // The press is where the cursor is; a move's point is in the message, which the dialog
    // holding the capture takes in its client coordinates.
    void CursorTo(int control, int x, int y)
    {
        cursor = {x, y};
        ClientToScreen(Item(control), &cursor);
        SetCursorPos(cursor.x, cursor.y);
    }
    void Press(int control)
    {
        TakeMessageAt(cursor);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(control, STN_CLICKED),
                     reinterpret_cast<LPARAM>(Item(control)));
    }
    void Move()
    {
        POINT p = cursor;
        ScreenToClient(dialog, &p);
        SendMessageA(dialog, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
    }
    void Up() { SendMessageA(dialog, WM_LBUTTONUP, 0, 0); }

    // A slider row for component value `fraction` of the bar, from its bottom edge.
    int SliderY(double fraction) const
    {
        const RECT& bar = state->selector.stripRect;
        return bar.bottom - static_cast<int>(fraction * (bar.bottom - bar.top));
    }

    POINT cursor = {};
    HHOOK hook = nullptr;
    // A message box would hold the test thread: each is answered and recorded, and one that no
    // test takes fails it.
    MessageBoxCatcher boxes;
};

TEST_F(CommandsTest, TypingAddsTheStripUnlessTheFieldIsTheSlidersComponent)
{
    ASSERT_EQ(0u, state->sliderMode);
    EXPECT_EQ(Bits({0x1C}), During([&] { Type(IDC_RED_EDIT, "7"); }));
    EXPECT_EQ(7, state->currentColor.GetRed());
    EXPECT_EQ(Bits({0x1D}), During([&] { Type(IDC_GREEN_EDIT, "8"); }));
    EXPECT_EQ(Bits({0x1D}), During([&] { Type(IDC_HUE_EDIT, "9"); }));

    ClickMode(IDC_MODE_HUE);
    EXPECT_EQ(Bits({0x1C, 0x1C}), During([&] { Type(IDC_HUE_EDIT, "20"); }));
    EXPECT_EQ(Bits({0x1D}), During([&] { Type(IDC_BRIGHTNESS_EDIT, "5"); }));
    EXPECT_EQ(Bits({0x1D}), During([&] { Type(IDC_RED_EDIT, "1"); }));
}

TEST_F(CommandsTest, TypingThatChangesNoColourSendsNothing)
{
    // White: retyping the last digit of 255 leaves the number as it was.
    HWND red = Item(IDC_RED_EDIT);
    SetFocus(red);
    SendMessageA(red, EM_SETSEL, 2, 3);
    EXPECT_EQ(Bits(), During([&] { SendMessageA(red, WM_CHAR, '5', 1); }));

    SendMessageA(red, EM_SETSEL, 0, -1);
    EXPECT_EQ(Bits({0x1C}), During([&] { SendMessageA(red, WM_CHAR, '3', 1); }));
    EXPECT_EQ(Bits({0x1C}), During([&] { SendMessageA(red, WM_CHAR, '0', 1); }));
    EXPECT_EQ(Bits(), During([&] { SendMessageA(red, WM_CHAR, '0', 1); })) << "300 is out of range";
    EXPECT_EQ(30, state->currentColor.GetRed());
    // Leaving an out-of-range field raises a message box, which would hold the test.
    SendMessageA(red, WM_CHAR, VK_BACK, 1);
}

TEST_F(CommandsTest, HexTypingSendsTheStripEveryTimeAndIgnoresWhatDoesNotParse)
{
    ClickMode(IDC_MODE_BLUE);
    EXPECT_EQ(Bits({0x1D, 0x1D}), During([&] { Type(IDC_HEX_EDIT, "12"); }));
    EXPECT_EQ(0x000012u, state->currentColor.GetRgb());
    // A leading zero: other text, same colour.
    HWND hex = Item(IDC_HEX_EDIT);
    SendMessageA(hex, EM_SETSEL, 0, 0);
    EXPECT_EQ(Bits(), During([&] { SendMessageA(hex, WM_CHAR, '0', 1); }));
    EXPECT_EQ(Bits(), During([&] { Type(IDC_HEX_EDIT, "#"); }));
    EXPECT_EQ(0x000012u, state->currentColor.GetRgb());
    // No message box on the way out.
    SetWindowTextA(hex, "000012");
}

TEST_F(CommandsTest, SwatchNotificationsOutsideTheTableDoNothing)
{
    // A double click on the current colour adds it to the saved list, through button 431.
    HWND saved = Item(IDC_SAVED_LIST);
    const LRESULT rows = SendMessageA(saved, LB_GETCOUNT, 0, 0);
    auto notify = [&](int id, WORD code) {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(Item(id)));
    };
    notify(IDC_CURRENT_SWATCH, FCN_DBLCLK);
    ASSERT_EQ(rows + 1, SendMessageA(saved, LB_GETCOUNT, 0, 0));
    EXPECT_EQ(state->currentColor.GetRgb(),
              static_cast<uint32_t>(SendMessageA(saved, LB_GETITEMDATA, rows, 0)));

    // A press on it, and double clicks on the others, change nothing and add nothing.
    Type(IDC_HEX_EDIT, "123456");
    const uint32_t before = state->currentColor.GetRgb();
    EXPECT_EQ(Bits(), During([&] {
                  notify(IDC_CURRENT_SWATCH, FCN_CLICKED);
                  for (int id : {IDC_RED_SWATCH, IDC_GREEN_SWATCH, IDC_BLUE_SWATCH, IDC_WEBSAFE_SWATCH})
                      notify(id, FCN_DBLCLK);
              }));
    EXPECT_EQ(before, state->currentColor.GetRgb());
    EXPECT_EQ(rows + 1, SendMessageA(saved, LB_GETCOUNT, 0, 0));
}

TEST_F(CommandsTest, PastedTextThatIsNotANumberIsRefusedLikeAnOutOfRangeValue)
{
    struct {
        int field;
        const char* typed;
        const char* pasted;
        const char* message;
    } const cases[] = {
        {IDC_RED_EDIT, "40", "12a", "You must enter a value between 0 and 255. Last valid value inserted."},
        {IDC_BLUE_EDIT, "9", "-1", "You must enter a value between 0 and 255. Last valid value inserted."},
        {IDC_HUE_EDIT, "360", "abc", "You must enter a value between 0 and 360. Last valid value inserted."},
        {IDC_BRIGHTNESS_EDIT, "60", "5 0",
         "You must enter a value between 0 and 100. Last valid value inserted."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pasted);
        Type(c.field, c.typed);
        const uint32_t before = state->currentColor.GetRgb();
        // Text set from outside skips the digits-only filter of typing.
        EXPECT_EQ(Bits(), During([&] { SetWindowTextA(Item(c.field), c.pasted); }));
        EXPECT_EQ(before, state->currentColor.GetRgb());
        EXPECT_EQ(0u, boxes.Take().size()) << "nothing is said while typing";

        SetFocus(Item(IDC_HEX_EDIT));
        DrainMessages();
        const auto seen = boxes.Take();
        ASSERT_EQ(1u, seen.size());
        EXPECT_EQ(c.message, seen[0].text);
        EXPECT_EQ(before, state->currentColor.GetRgb());
        char shown[16] = "";
        GetWindowTextA(Item(c.field), shown, sizeof(shown));
        EXPECT_STREQ(c.typed, shown) << "the field shows the current value again";
    }

    // Blanks round a number are dropped; an empty field is 0 and leaves quietly.
    Type(IDC_GREEN_EDIT, "40");
    SetWindowTextA(Item(IDC_GREEN_EDIT), "  7 ");
    EXPECT_EQ(7, state->currentColor.GetGreen());
    SetWindowTextA(Item(IDC_GREEN_EDIT), "");
    EXPECT_EQ(0, state->currentColor.GetGreen());
    SetFocus(Item(IDC_RED_EDIT));
    DrainMessages();
}

TEST_F(CommandsTest, AColourPastesFromEverySwatchMenuAndIntoTheHexFieldInAnyForm)
{
    auto shown = [&](int id) {
        char text[16] = "";
        GetWindowTextA(Item(id), text, sizeof(text));
        return std::string(text);
    };
    // The swatch's menu item, on each swatch: the colour and every view follow.
    const struct {
        int swatch;
        const char* text;
        const char* hex;
        const char* red;
    } pastes[] = {
        {IDC_CURRENT_SWATCH, "rgb(255, 128, 0)", "FF8000", "255"},
        {IDC_RED_SWATCH, " #0f0; ", "00FF00", "0"},
        {IDC_WEBSAFE_SWATCH, "0x00563412", "123456", "18"},
        {IDC_BLUE_SWATCH, "AliceBlue", "F0F8FF", "240"},
    };
    for (const auto& p : pastes) {
        SCOPED_TRACE(p.text);
        ASSERT_TRUE(PutClipboardText(dialog, p.text));
        SendMessageA(Item(p.swatch), WM_COMMAND, IDM_PASTE, 0);
        EXPECT_EQ(p.hex, shown(IDC_HEX_EDIT));
        EXPECT_EQ(p.red, shown(IDC_RED_EDIT));
        EXPECT_EQ(0u, boxes.Take().size());
    }
    // Text that is no colour, or no text at all: a message, and the colour stays.
    for (const char* text : {"rgb(300, 0, 0)", ""}) {
        ASSERT_TRUE(*text ? PutClipboardText(dialog, text) : EmptyTheClipboard());
        SendMessageA(Item(IDC_GREEN_SWATCH), WM_COMMAND, IDM_PASTE, 0);
        const auto seen = boxes.Take();
        ASSERT_EQ(1u, seen.size()) << text;
        EXPECT_EQ("Ostrel Tintora", seen[0].caption);
        EXPECT_EQ("The clipboard does not hold a color.", seen[0].text);
        EXPECT_EQ("F0F8FF", shown(IDC_HEX_EDIT));
    }

    // The hex field takes any other form whole and shows its digits; plain digits and text
    // that is no colour paste into it as text.
    const struct {
        const char* text;
        const char* field;
        uint32_t rgb;
    } fieldPastes[] = {
        {"hsl(120, 100%, 25%)", "008000", 0x008000},
        {"#ABC", "AABBCC", 0xAABBCC},
        {"abc", "abc", 0x000ABC},
        {"hello", "hello", 0x000ABC},
    };
    HWND hex = Item(IDC_HEX_EDIT);
    for (const auto& p : fieldPastes) {
        SCOPED_TRACE(p.text);
        SetFocus(hex);
        SendMessageA(hex, EM_SETSEL, 0, -1);
        ASSERT_TRUE(PutClipboardText(dialog, p.text));
        SendMessageA(hex, WM_PASTE, 0, 0);
        EXPECT_EQ(p.field, shown(IDC_HEX_EDIT));
        EXPECT_EQ(p.rgb, state->currentColor.GetRgb());
    }
    SetWindowTextA(hex, "000ABC");
    EXPECT_EQ(0u, boxes.Take().size());
}

TEST_F(CommandsTest, ClosingWithAnOutOfRangeFieldShowsNoMessage)
{
    Type(IDC_RED_EDIT, "300");
    ASSERT_EQ(Item(IDC_RED_EDIT), GetFocus());
    // Ending the dialog takes the focus from the field; the user is leaving, not mistyping.
    SendMessageA(dialog, WM_CLOSE, 0, 0);
    DrainMessages();
    EXPECT_EQ(0u, boxes.Take().size()) << "a range message held up the close";
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_EQ(30, state->currentColor.GetRed()) << "the last valid value stays";
}

TEST_F(CommandsTest, HidingWithAnOutOfRangeFieldShowsNoMessageAndShowsTheValueAgain)
{
    Type(IDC_RED_EDIT, "300");
    ASSERT_EQ(30, state->currentColor.GetRed());
    // The caption's hide button pressed and released on it.
    RECT button = HideButtonRect(dialog, state->dpi);
    const POINT on = {(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    SendMessageA(dialog, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(on.x, on.y));
    ASSERT_EQ(static_cast<uint32_t>(CaptureHideButton), state->captureMode);
    POINT client = on;
    ScreenToClient(dialog, &client);
    SendMessageA(dialog, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
    DrainMessages();
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_EQ(0u, boxes.Take().size()) << "a range message for a hidden window";
    char shown[16] = "";
    GetWindowTextA(Item(IDC_RED_EDIT), shown, sizeof(shown));
    EXPECT_STREQ("30", shown);
    EXPECT_EQ(30, state->currentColor.GetRed());
}

TEST_F(CommandsTest, SliderDragWithRealTimeUpdateRefillsTheFieldOnEveryChange)
{
    ASSERT_TRUE(state->options.Test(RealTimeUpdate));
    CursorTo(IDC_SLIDER, 10, SliderY(0.25));
    EXPECT_EQ(Bits({0x3C}), During([&] { Press(IDC_SLIDER); })) << "the press point counts";
    EXPECT_EQ(static_cast<uint32_t>(CaptureSlider), state->captureMode);
    EXPECT_EQ(dialog, GetCapture());
    EXPECT_EQ(Bits(), During([&] { Move(); })) << "same place";

    CursorTo(IDC_SLIDER, 10, SliderY(0.75));
    EXPECT_EQ(Bits({0x3C}), During([&] { Move(); }));
    // Sideways and far outside: only the row counts.
    CursorTo(IDC_SLIDER, -300, SliderY(0.75));
    EXPECT_EQ(Bits(), During([&] { Move(); }));

    EXPECT_EQ(Bits(), During([&] { Up(); })) << "the field is up to date already";
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(static_cast<uint32_t>(CaptureNone), state->captureMode);
}

TEST_F(CommandsTest, SliderDragWithoutRealTimeUpdateLeavesTheFieldUntilTheEnd)
{
    state->options.Assign(RealTimeUpdate, false);
    CursorTo(IDC_SLIDER, 10, SliderY(0.25));
    EXPECT_EQ(Bits({0x24}), During([&] { Press(IDC_SLIDER); }));
    CursorTo(IDC_SLIDER, 10, SliderY(0.5));
    EXPECT_EQ(Bits({0x24}), During([&] { Move(); }));
    EXPECT_EQ(Bits({0x18}), During([&] { Up(); }));
    EXPECT_EQ(static_cast<uint32_t>(CaptureNone), state->captureMode);

    // A drag that changes nothing still ends with the field refill.
    EXPECT_EQ(Bits(), During([&] { Press(IDC_SLIDER); }));
    EXPECT_EQ(Bits({0x18}), During([&] { Up(); }));

    // So does a drag whose capture the system takes away.
    CursorTo(IDC_SLIDER, 10, SliderY(0.9));
    EXPECT_EQ(Bits({0x24}), During([&] { Press(IDC_SLIDER); }));
    EXPECT_EQ(Bits({0x18}), During([&] { SetCapture(Item(IDC_FIELD)); }));
    EXPECT_EQ(static_cast<uint32_t>(CaptureNone), state->captureMode);
    ReleaseCapture();
}

TEST_F(CommandsTest, FieldDragMovesTheMarkerWithoutRefillAndOnlyOnChange)
{
    // Two neighbouring columns with the same 8-bit value give the same colour.
    const int width = state->selector.fieldRect.right;
    int same = 1;
    while (same < width - 1 &&
           state->selector.tables.columnRamp8[same] != state->selector.tables.columnRamp8[same + 1])
        ++same;
    ASSERT_LT(same, width - 1);

    const int y = state->selector.fieldRect.bottom / 2;
    CursorTo(IDC_FIELD, same, y);
    EXPECT_EQ(Bits({0x35}), During([&] { Press(IDC_FIELD); }));
    EXPECT_EQ(static_cast<uint32_t>(CaptureField), state->captureMode);
    CursorTo(IDC_FIELD, same + 1, y);
    EXPECT_EQ(Bits(), During([&] { Move(); }));
    CursorTo(IDC_FIELD, same + 40, y);
    EXPECT_EQ(Bits({0x35}), During([&] { Move(); }));

    // The right button does nothing during a drag.
    EXPECT_EQ(Bits(), During([&] { SendMessageA(dialog, WM_RBUTTONDOWN, MK_RBUTTON, 0); }));
    EXPECT_EQ(dialog, GetCapture());

    // Even with real-time update off, the field drag's end sends nothing.
    state->options.Assign(RealTimeUpdate, false);
    EXPECT_EQ(Bits(), During([&] { Up(); }));
    EXPECT_EQ(static_cast<uint32_t>(CaptureNone), state->captureMode);
    EXPECT_EQ(Bits(), During([&] { Move(); })) << "no capture, no drag";
}

}  // namespace
