#include "shell/color_views.h"

#include "color/axis_text.h"
#include "color/hex_text.h"
#include "color/named_colors.h"
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
    HWND field = DialogControl(state, id);
    char shown[AXIS_TEXT_SIZE];
    if (GetWindowTextA(field, shown, sizeof(shown)) && lstrcmpA(shown, text) == 0)
        return;
    SetWindowTextA(field, text);
}
