// The main dialog created in-process from the real template and driven with messages.
#include "shell/main_dialog.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <vector>

#include "core/redraw.h"
#include "flatcolor/flat_color.h"
#include "resources/resource.h"
#include "selector/selector.h"
#include "selector/selector_pixels.h"
#include "tests/unit/live_objects.h"
#include "tests/unit/main_dialog_fixture.h"
#include "tests/unit/message_box_catcher.h"
#include "tests/unit/message_pump.h"

namespace {

class MainDialogTest : public MainDialogFixture {
protected:
    SIZE WindowSize() const
    {
        RECT r;
        GetWindowRect(dialog, &r);
        return {r.right - r.left, r.bottom - r.top};
    }

    int DialogUnitsToPixelsX(int units) const
    {
        RECT r = {0, 0, units, 0};
        MapDialogRect(dialog, &r);
        return r.right;
    }
};

TEST_F(MainDialogTest, InitialisationFillsTheState)
{
    EXPECT_EQ(dialog, state->dialog);
    EXPECT_EQ(instance, state->instance);
    EXPECT_EQ(params.instanceMessage, state->instanceMessage);

    ASSERT_NE(nullptr, state->largeIcon);
    ASSERT_NE(nullptr, state->smallIcon);
    EXPECT_EQ(reinterpret_cast<LRESULT>(state->largeIcon.Get()),
              SendMessageA(dialog, WM_GETICON, ICON_BIG, 0));
    EXPECT_EQ(reinterpret_cast<LRESULT>(state->smallIcon.Get()),
              SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0));
    SIZE large = IconSize(state->largeIcon), small = IconSize(state->smallIcon);
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), large.cx);
    EXPECT_EQ(GetSystemMetrics(SM_CXSMICON), small.cx);
    SIZE indicator = IconSize(state->notWebSafeIcon);
    EXPECT_EQ(16, indicator.cx);
    EXPECT_EQ(20, indicator.cy);
    EXPECT_NE(nullptr, state->grabber.cursor);

    EXPECT_EQ(GetDlgItem(dialog, IDC_RED_EDIT), GetFocus());
}

// NIM_MODIFY succeeds only for an icon the shell holds.
bool StatusIconPresent(HWND dialog)
{
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = dialog;
    data.uFlags = NIF_TIP;
    lstrcpyA(data.szTip, "probe");
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

TEST_F(MainDialogTest, DisplayHexOptionSetsEachSwatchsBit)
{
    const struct {
        int id;
        LONG bit;
    } swatches[] = {{IDC_CURRENT_SWATCH, FCS_HEX},
                    {IDC_WEBSAFE_SWATCH, FCS_HEX},
                    {IDC_RED_SWATCH, FCS_RED},
                    {IDC_GREEN_SWATCH, FCS_GREEN},
                    {IDC_BLUE_SWATCH, FCS_BLUE}};
    // First as a first start leaves them: the stored option is applied while the dialog starts.
    for (bool on : {true, false, true}) {
        for (const auto& s : swatches) {
            LONG style = GetWindowLongA(GetDlgItem(dialog, s.id), GWL_STYLE);
            EXPECT_EQ(on ? s.bit : 0, style & 0xFFFF) << s.id << (on ? " on" : " off");
            EXPECT_EQ(WS_CHILD | WS_VISIBLE, style & (WS_CHILD | WS_VISIBLE)) << s.id;
            auto* swatch =
                reinterpret_cast<FlatColorState*>(GetWindowLongPtrA(GetDlgItem(dialog, s.id), GWLP_USERDATA));
            EXPECT_EQ(on ? s.bit : 0, swatch->displayBits) << s.id << (on ? " on" : " off");
        }
        state->options.Assign(DisplayHexValues, !on);
    }
}

TEST_F(MainDialogTest, StatusIconFollowsItsOptionAndGoesWithTheWindow)
{
    EXPECT_TRUE(StatusIconPresent(dialog)) << "a first start shows the icon";
    state->options.Assign(AlwaysShowStatusIcon, true);
    EXPECT_TRUE(StatusIconPresent(dialog));
    state->options.Assign(AlwaysShowStatusIcon, false);
    EXPECT_FALSE(StatusIconPresent(dialog));

    state->options.Assign(AlwaysShowStatusIcon, true);
    HWND gone = dialog;
    Destroy();
    EXPECT_FALSE(StatusIconPresent(gone));
}

TEST_F(MainDialogTest, ColorsButtonTogglesThePanelWidth)
{
    // A first start shows the panel.
    SIZE expanded = WindowSize();
    EXPECT_TRUE(state->options.Test(ShowColors));
    EXPECT_EQ(state->expandedSize.cx, expanded.cx);
    EXPECT_EQ(state->collapsedSize.cx + DialogUnitsToPixelsX(73), state->expandedSize.cx);

    SendDlgItemMessageA(dialog, IDC_COLORS, BM_CLICK, 0, 0);
    EXPECT_FALSE(state->options.Test(ShowColors));
    SIZE collapsed = WindowSize();
    EXPECT_EQ(state->collapsedSize.cx, collapsed.cx);
    EXPECT_EQ(expanded.cy, collapsed.cy);

    SendDlgItemMessageA(dialog, IDC_COLORS, BM_CLICK, 0, 0);
    EXPECT_TRUE(state->options.Test(ShowColors));
    SIZE again = WindowSize();
    EXPECT_EQ(expanded.cx, again.cx);
    EXPECT_EQ(expanded.cy, again.cy);
}

TEST_F(MainDialogTest, StayOnTopFollowsTheOption)
{
    SendDlgItemMessageA(dialog, IDC_STAY_ON_TOP, BM_CLICK, 0, 0);
    EXPECT_TRUE(state->options.Test(AlwaysOnTop));
    EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);

    // Assigning the option from elsewhere moves the check box and the z-order too.
    state->options.Assign(AlwaysOnTop, false);
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dialog, IDC_STAY_ON_TOP));
    EXPECT_FALSE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(MainDialogTest, WebSafeMarkShowsOnlyForColoursOffTheWebSafeGrid)
{
    HWND mark = GetDlgItem(dialog, IDC_WEBSAFE_MARK);
    auto shown = [&](uint32_t rgb) {
        state->currentColor.SetRgb(rgb);
        SendMessageA(dialog, SELECTOR_REDRAW, RB_ALL, 0);
        return reinterpret_cast<HICON>(SendMessageA(mark, STM_GETICON, 0, 0));
    };
    ASSERT_NE(nullptr, state->notWebSafeIcon);
    // Every component a multiple of 51: no icon; one step off in any component: the icon.
    EXPECT_EQ(nullptr, shown(0x336699));
    EXPECT_EQ(state->notWebSafeIcon, shown(0x336698));
    EXPECT_EQ(state->notWebSafeIcon, shown(0x346699));
    EXPECT_EQ(nullptr, shown(0xFFCC00)) << "the icon goes again";
    EXPECT_EQ(nullptr, shown(0x000000));
    EXPECT_EQ(state->notWebSafeIcon, shown(0xFFFFFE));

    // Hue 120 typed over red: held as hue, saturation and brightness, shown as 00FF00.
    shown(0xFF0000);
    SetDlgItemTextA(dialog, IDC_HUE_EDIT, "120");
    ASSERT_EQ(0x00FF00u, state->currentColor.GetRgb());
    EXPECT_EQ(nullptr, reinterpret_cast<HICON>(SendMessageA(mark, STM_GETICON, 0, 0)));
    SetDlgItemTextA(dialog, IDC_BRIGHTNESS_EDIT, "50");
    EXPECT_EQ(state->notWebSafeIcon, reinterpret_cast<HICON>(SendMessageA(mark, STM_GETICON, 0, 0)));
}

TEST_F(MainDialogTest, FieldPictureHoldsExactlyOneCrossAfterEveryKindOfRedraw)
{
    const int w = state->selector.fieldHeader.biWidth, h = state->selector.fieldHeader.biHeight;
    // The plain field of a colour with its one cross, built from the pure functions.
    auto picture = [&](uint32_t rgb, uint32_t fieldRgb) {
        ColorValue at{};
        at.SetRgb(fieldRgb);
        ColorValue cross{};
        cross.SetRgb(rgb);
        std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
        FillField(pixels.data(), w, h, state->sliderMode, at, state->selector.tables);
        const POINT p = FieldMarkerPosition(state->sliderMode, cross, w, h);
        XorFieldMarker(pixels.data(), w, h, p.x, p.y, state->selector.markerArm);
        return pixels;
    };
    auto shown = [&] {
        return std::vector<uint32_t>(state->selector.fieldPixels.Data(),
                                     state->selector.fieldPixels.Data() + w * h);
    };
    auto redraw = [&](uint32_t rgb, WPARAM bits) {
        state->currentColor.SetRgb(rgb);
        SendMessageA(dialog, SELECTOR_REDRAW, bits, 0);
    };

    redraw(0x204060, RB_ALL);
    EXPECT_TRUE(picture(0x204060, 0x204060) == shown());
    // 0x10 alone moves the cross over the same picture: the old one is gone without a trace.
    redraw(0x20A0C0, RB_FIELDMARK);
    EXPECT_TRUE(picture(0x20A0C0, 0x204060) == shown()) << "field drag";
    // 0x18 refills: the refill took the old cross, so it is not XORed a second time.
    redraw(0x80A0C0, RB_FIELD | RB_FIELDMARK);
    EXPECT_TRUE(picture(0x80A0C0, 0x80A0C0) == shown()) << "refill";
    redraw(0x80A0C0, RB_FIELD | RB_FIELDMARK);
    EXPECT_TRUE(picture(0x80A0C0, 0x80A0C0) == shown()) << "the same refill again";
}

TEST_F(MainDialogTest, AFieldThatCannotBeDrawnIsReportedOncePerDialog)
{
    ShowWindow(dialog, SW_SHOW);
    UpdateWindow(dialog);
    HWND field = GetDlgItem(dialog, IDC_FIELD);
    // A closed handle: every draw of the field fails from here on.
    const HDRAWDIB working = state->selector.drawDib;
    const HDRAWDIB closed = DrawDibOpen();
    ASSERT_NE(nullptr, closed);
    DrawDibClose(closed);
    state->selector.drawDib = closed;

    MessageBoxCatcher boxes;
    for (int paint = 0; paint < 4; ++paint) {
        InvalidateRect(field, nullptr, FALSE);
        UpdateWindow(field);
        DrainMessages();
    }
    const auto seen = boxes.Take();
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ("Cannot draw DIB.", seen[0].text);
    EXPECT_EQ("Ostrel Tintora", seen[0].caption);
    state->selector.drawDib = working;

    // A new dialog says it again.
    Destroy();
    Create();
    ShowWindow(dialog, SW_SHOW);
    UpdateWindow(dialog);
    const HDRAWDIB secondWorking = state->selector.drawDib;
    state->selector.drawDib = closed;
    InvalidateRect(GetDlgItem(dialog, IDC_FIELD), nullptr, FALSE);
    UpdateWindow(GetDlgItem(dialog, IDC_FIELD));
    DrainMessages();
    EXPECT_EQ(1u, boxes.Take().size());
    state->selector.drawDib = secondWorking;
}

TEST_F(MainDialogTest, EnterAndEscapeAreNotCommandsAndTheDialogManagersMessagesStayItsOwn)
{
    ShowWindow(dialog, SW_SHOW);
    EXPECT_EQ(FALSE, MainDialogProc(dialog, WM_COMMAND, IDOK, 0));
    EXPECT_EQ(FALSE, MainDialogProc(dialog, WM_COMMAND, IDCANCEL, 0));
    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(IsWindowVisible(dialog));

    // Enter asks the dialog for its default button (DM_GETDEFID): a private message of the same
    // number would take the question and answer it wrongly.
    SendMessageA(dialog, DM_SETDEFID, IDC_COPY_HEX, 0);
    EXPECT_EQ(MAKELRESULT(IDC_COPY_HEX, DC_HASDEFID), SendMessageA(dialog, DM_GETDEFID, 0, 0));
}

TEST_F(MainDialogTest, InstanceMessageShowsAHiddenWindow)
{
    ShowWindow(dialog, SW_HIDE);
    SendMessageA(dialog, params.instanceMessage, 0, 0);
    EXPECT_TRUE(IsWindowVisible(dialog));

    ShowWindow(dialog, SW_MINIMIZE);
    SendMessageA(dialog, params.instanceMessage, 7, 0);
    EXPECT_FALSE(IsIconic(dialog));
}

TEST_F(MainDialogTest, StateAndWhatItHoldsAreFreedWithTheWindow)
{
    // One more dialog first: what the system sets up once on the way stays.
    Destroy();
    Create();
    Destroy();
    const size_t before = ProcessHeapInUse();
    for (int i = 0; i < 5; ++i) {
        Create();
        ASSERT_NE(nullptr, state);
        Destroy();
    }
    // Less than one state record over five dialogs: each freed its own.
    EXPECT_LT(ProcessHeapInUse(), before + sizeof(AppState));
}

}  // namespace
