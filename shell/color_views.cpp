#include "shell/color_views.h"

#include <cstdio>

#include "color/axis_text.h"
#include "color/contrast.h"
#include "color/hex_text.h"
#include "color/named_colors.h"
#include "core/messages.h"
#include "core/redraw.h"
#include "flatcolor/flat_color.h"
#include "resources/resource.h"
#include "shell/main_dialog.h"

namespace {

void SetSwatch(const AppState* state, int id, const ColorValue& color)
{
    SendMessageA(DialogControl(state, id), FCM_SETCOLOR, color.GetColorRef(), 0);
}

void UpdateSwatches(const AppState* state)
{
    const ColorValue& cur = state->currentColor;
    SetSwatch(state, IDC_CURRENT_SWATCH, cur);
    ColorValue webSafe = cur;
    RoundToWebSafe(webSafe);
    SetSwatch(state, IDC_WEBSAFE_SWATCH, webSafe);
    ColorValue component{};
    component.SetRgb(cur.GetRed() << 16);
    SetSwatch(state, IDC_RED_SWATCH, component);
    component.SetRgb(cur.GetGreen() << 8);
    SetSwatch(state, IDC_GREEN_SWATCH, component);
    component.SetRgb(cur.GetBlue());
    SetSwatch(state, IDC_BLUE_SWATCH, component);
}

void UpdateWebSafeMark(const AppState* state)
{
    // Setting the same icon again still repaints the control.
    const HICON mark = IsWebSafe(state->currentColor) ? nullptr : state->notWebSafeIcon.Get();
    HWND webSafeMark = DialogControl(state, IDC_WEBSAFE_MARK);
    if (reinterpret_cast<HICON>(SendMessageA(webSafeMark, STM_GETICON, 0, 0)) != mark)
        SendMessageA(webSafeMark, STM_SETICON, reinterpret_cast<WPARAM>(mark), 0);
}

// A control's text set only when it differs (texts under 32 bytes): setting the same again
// would only repaint it.
void ShowText(HWND control, const char* text)
{
    char shown[32];
    if (GetWindowTextA(control, shown, sizeof(shown)) && lstrcmpA(shown, text) == 0)
        return;
    SetWindowTextA(control, text);
}

void WriteValueFields(const DialogState* state, bool includeFocused)
{
    HWND focus = GetFocus();
    for (int id = IDC_RED_EDIT; id <= IDC_HEX_EDIT; ++id) {
        if (DialogControl(state, id) == focus && !includeFocused)
            continue;
        WriteValueField(state, id);
    }
}

}  // namespace

void UpdateColorViews(AppState* state, WPARAM bits)
{
    UpdateSwatches(state);
    UpdateWebSafeMark(state);
    WriteValueFields(state, (bits & RB_FOCUSEDEDIT) != 0);
    // The saved list shows nothing that depends on the current colour; what it does depend on,
    // the hex case option, is repainted by the settings command.
    UpdateNamedListMark(state, &state->namedMark);
    UpdateContrastRow(state);
    // Whatever the redraw left to paint, painted now in one pass, before the next mouse move
    // (which would come ahead of the paints): under Wine a separate update for each field would
    // cost its own requests to the server.
    RedrawWindow(state->dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void WriteValueField(const DialogState* state, int id)
{
    const ColorValue& cur = state->currentColor;
    char text[AXIS_TEXT_SIZE];
    if (id == IDC_HEX_EDIT)
        FormatHex(cur, text, state->options.Test(HexUpperCase));
    else
        FormatAxisNumber(cur, static_cast<uint32_t>(id - IDC_RED_EDIT), text);
    // Rewriting the same text would only repaint the field and echo back through EN_UPDATE;
    // during a drag that is most of the fields on every move.
    ShowText(DialogControl(state, id), text);
}

void UpdateContrastRow(const AppState* state)
{
    HWND swatch = DialogControl(state, IDC_BACKGROUND_SWATCH);
    SendMessageA(swatch, FCM_SETCOLOR, state->background.GetColorRef(), 0);
    SendMessageA(swatch, FCM_SETTEXTCOLOR, state->currentColor.GetColorRef(), 0);
    const double ratio = ContrastRatio(state->currentColor.GetRgb(), state->background.GetRgb());
    char text[16];
    FormatContrastRatio(ratio, text, sizeof(text));
    ShowText(DialogControl(state, IDC_CONTRAST_RATIO), text);
    ShowText(DialogControl(state, IDC_CONTRAST_GRADE), ContrastGrade(ratio));
}

void FormatContrastTip(const AppState* state, char* text, int size)
{
    const double ratio = ContrastRatio(state->currentColor.GetRgb(), state->background.GetRgb());
    char format[MESSAGE_TEXT_SIZE], pass[16], fail[16];
    LoadMessageText(state->instance, IDC_CONTRAST_GRADE, format);
    LoadStringA(state->instance, IDS_CONTRAST_PASS, pass, sizeof(pass));
    LoadStringA(state->instance, IDS_CONTRAST_FAIL, fail, sizeof(fail));
    // In the order the tip lists them: normal text AA and AAA, large text AA and AAA, components.
    auto verdict = [&](double threshold) -> const char* { return ratio >= threshold ? pass : fail; };
    snprintf(text, static_cast<size_t>(size), format, verdict(4.5), verdict(7), verdict(3), verdict(4.5),
             verdict(3));
}
