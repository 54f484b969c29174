// WM_COMMAND handling of the main dialog: value fields, slider modes, swatches, buttons.
#include <windowsx.h>

#include <climits>

#include "color/color_axes.h"
#include "color/contrast.h"
#include "color/hex_text.h"
#include "color/named_colors.h"
#include "core/clipboard.h"
#include "core/messages.h"
#include "core/redraw.h"
#include "flatcolor/flat_color.h"
#include "lists/palette_io.h"
#include "resources/resource.h"
#include "selector/selector_mouse.h"
#include "settings/settings_page.h"
#include "shell/color_views.h"
#include "shell/help.h"
#include "shell/main_dialog_internal.h"
#include "shell/status_icon.h"

namespace {

bool IsChecked(AppState* state, int id)
{
    return IsDlgButtonChecked(state->dialog, id) == BST_CHECKED;
}

// The range message of each number field, 413-418.
const UINT kRangeMessages[6] = {
    IDS_RANGE_255, IDS_RANGE_255, IDS_RANGE_255, IDS_RANGE_360, IDS_RANGE_100, IDS_RANGE_100,
};

// Text can reach a field past its digits-only style: pasted, or set by another program. Text
// that is no number is refused like an out-of-range one, not read as 0: a stray letter in a
// paste must not blacken a component.
bool ReadNumber(AppState* state, int id, UINT* value)
{
    char text[256] = "";
    GetWindowTextA(DialogControl(state, id), text, sizeof(text));
    return ParseFieldNumber(text, value) && *value <= GetAxisRange(id - IDC_RED_EDIT).fieldMaximum;
}

void ApplyNumberField(AppState* state, int id)
{
    const uint32_t axis = static_cast<uint32_t>(id - IDC_RED_EDIT);
    UINT value = 0;
    // The redraw's own rewrite of the field arrives here too and must change nothing.
    if (!ReadNumber(state, id, &value) || value == AxisToField(axis, GetAxisValue(state->currentColor, axis)))
        return;
    SetAxisValue(&state->currentColor, axis, FieldToAxis(axis, value));
    WPARAM bits = RB_SLIDERMARK | RB_FIELD | RB_FIELDMARK;
    if (state->sliderMode != axis)
        bits |= RB_SLIDERSTRIP;
    RequestRedraw(state, bits);
}

// At most the first 9 characters are looked at; ParseHex accepts only up to 6.
bool ReadHexField(AppState* state, ColorValue* color)
{
    char text[10];
    GetWindowTextA(DialogControl(state, IDC_HEX_EDIT), text, sizeof(text));
    color->Reset();
    return ParseHex(*color, text);
}

void ApplyHexField(AppState* state)
{
    ColorValue parsed;
    if (!ReadHexField(state, &parsed) || parsed.GetRgb() == state->currentColor.GetRgb())
        return;
    state->currentColor = parsed;
    RequestRedraw(state, RB_SLIDERSTRIP | RB_SLIDERMARK | RB_FIELD | RB_FIELDMARK);
}

// The range message for a field whose text is not acceptable, or 0.
UINT FieldProblem(AppState* state, int id)
{
    if (id == IDC_HEX_EDIT) {
        ColorValue parsed;
        return ReadHexField(state, &parsed) ? 0 : IDS_RANGE_HEX;
    }
    UINT value = 0;
    return ReadNumber(state, id, &value) ? 0 : kRangeMessages[id - IDC_RED_EDIT];
}

void CheckField(AppState* state, int id)
{
    const UINT message = FieldProblem(state, id);
    if (!message)
        return;
    ShowWarningMessage(state->instance, state->dialog, message);
    WriteValueField(state, id);
}

// A component swatch keeps its own component and clears the other two.
void IsolateComponent(AppState* state, uint32_t keep, int focusField)
{
    ColorValue& c = state->currentColor;
    for (uint32_t axis = AxisRed; axis <= AxisBlue; ++axis)
        if (axis != keep)
            SetAxisValue(&c, axis, 0);
    RequestRedraw(state, RB_ALL);
    SetFocus(DialogControl(state, focusField));
}

// Whatever the sheet's outcome, the displays follow the (possibly) new text options.
void ShowSettings(AppState* state)
{
    SettingsSheetParams params = {&state->options, &state->pickKey, &state->formats, &state->copyFormat,
                                  state->currentColor};
    ShowSettingsSheet(state->dialog, state->instance, &params);
    UpdateStatusIconTip(state);
    RequestRedraw(state, RB_ALL);
    InvalidateRect(DialogControl(state, IDC_SAVED_LIST), nullptr, FALSE);
}

bool IsSwatch(int id)
{
    return id == IDC_WEBSAFE_SWATCH || id == IDC_BACKGROUND_SWATCH ||
           (id >= IDC_CURRENT_SWATCH && id <= IDC_BLUE_SWATCH);
}

void SwapWithCurrent(AppState* state)
{
    const ColorValue current = state->currentColor;
    state->currentColor = state->background;
    state->background = current;
    // The redraw updates the contrast row too.
    RequestRedraw(state, RB_ALL);
}

// The current colour moved to the nearest one reaching `target` against the background; one that
// reaches it already stays as it is.
void MoveToNearestPassing(AppState* state, double target, UINT unreachable)
{
    uint32_t nearest = 0;
    if (!NearestPassingColor(state->currentColor.GetRgb(), state->background.GetRgb(), target, &nearest)) {
        ShowWarningMessage(state->instance, state->dialog, unreachable);
        return;
    }
    if (nearest == state->currentColor.GetRgb())
        return;
    state->currentColor.SetRgb(nearest);
    RequestRedraw(state, RB_ALL);
}

}  // namespace

void SetBackgroundColor(AppState* state, const ColorValue& color)
{
    state->background = color;
    UpdateContrastRow(state);
}

void CopyCurrentColor(AppState* state)
{
    char text[COLOR_TEMPLATE_SIZE * 4];
    FormatColorAs(state->copyFormat, state->currentColor, &state->formats, state->options.Test(UseHexPrefix),
                  state->options.Test(HexUpperCase), text, sizeof(text));
    if (!CopyTextToClipboard(state->dialog, text))
        ShowErrorMessage(state->instance, state->dialog, IDS_CLIPBOARD_ERROR);
}

void RestoreUnacceptedField(AppState* state)
{
    HWND focus = GetFocus();
    for (int id = IDC_RED_EDIT; id <= IDC_HEX_EDIT; ++id)
        if (DialogControl(state, id) == focus && FieldProblem(state, id))
            WriteValueField(state, id);
}

INT_PTR OnCommand(AppState* state, WPARAM wparam, HWND control)
{
    const int id = LOWORD(wparam);
    const int code = HIWORD(wparam);

    if (id >= IDC_RED_EDIT && id <= IDC_HEX_EDIT && (code == EN_UPDATE || code == EN_KILLFOCUS)) {
        if (code == EN_KILLFOCUS) {
            if (!state->closing)
                CheckField(state, id);
        } else if (id == IDC_HEX_EDIT)
            ApplyHexField(state);
        else
            ApplyNumberField(state, id);
        return TRUE;
    }
    if (code == FCN_PASTE && IsSwatch(id)) {
        PasteColorFromMenu(state, id == IDC_BACKGROUND_SWATCH);
        return TRUE;
    }
    if (code == IDM_USE_AS_BACKGROUND && IsSwatch(id)) {
        ColorValue color{};
        color.SetColorRef(static_cast<uint32_t>(SendMessageA(control, FCM_GETCOLOR, 0, 0)));
        SetBackgroundColor(state, color);
        return TRUE;
    }
    if (id >= IDC_MODE_RED && id <= IDC_MODE_BRIGHTNESS && code == BN_CLICKED) {
        state->sliderMode = id - IDC_MODE_RED;
        RequestRedraw(state, RB_ALL);
        return TRUE;
    }

    // Keyed by the whole wparam: notification code in the high word, control id in the low.
    switch (wparam) {
    case MAKEWPARAM(IDC_FIELD, STN_CLICKED):
    case MAKEWPARAM(IDC_FIELD, STN_DBLCLK):
        StartSelectorDrag(state, &state->selector, CaptureField);
        return TRUE;
    case MAKEWPARAM(IDC_SLIDER, STN_CLICKED):
    case MAKEWPARAM(IDC_SLIDER, STN_DBLCLK):
        StartSelectorDrag(state, &state->selector, CaptureSlider);
        return TRUE;
    // Only a first press: the second press of a double click starts nothing.
    case MAKEWPARAM(IDC_GRAB, STN_CLICKED):
        StartGrab(state, &state->grabber);
        return TRUE;
    case MAKEWPARAM(IDC_COPY_HEX, BN_CLICKED):
        CopyCurrentColor(state);
        return TRUE;
    case MAKEWPARAM(IDC_ABOUT, BN_CLICKED):
        ShowAboutBox(state);
        return TRUE;
    case MAKEWPARAM(IDC_SAVED_ADD, BN_CLICKED):
        AddSavedColor(state);
        return TRUE;
    case MAKEWPARAM(IDC_SAVED_DELETE, BN_CLICKED):
        DeleteSavedColor(state);
        return TRUE;
    case MAKEWPARAM(IDC_SAVED_OVERWRITE, BN_CLICKED):
        OverwriteSavedColor(state);
        return TRUE;
    case MAKEWPARAM(IDC_SAVED_LOAD, BN_CLICKED):
        LoadColorFromList(state, DialogControl(state, IDC_SAVED_LIST));
        return TRUE;
    case MAKEWPARAM(IDC_NAMED_LOAD, BN_CLICKED):
        LoadColorFromList(state, DialogControl(state, IDC_NAMED_LIST));
        return TRUE;
    case MAKEWPARAM(IDC_SAVED_LIST, LBN_DBLCLK):
    case MAKEWPARAM(IDC_NAMED_LIST, LBN_DBLCLK):
        LoadColorFromList(state, control);
        return TRUE;
    case MAKEWPARAM(IDM_USE_AS_BACKGROUND, 0): {
        // From the saved list's menu: its selected row.
        HWND list = DialogControl(state, IDC_SAVED_LIST);
        const LRESULT row = SendMessageA(list, LB_GETCURSEL, 0, 0);
        if (row != LB_ERR) {
            ColorValue color{};
            color.SetRgb(static_cast<uint32_t>(SendMessageA(list, LB_GETITEMDATA, row, 0)) & 0xFFFFFF);
            SetBackgroundColor(state, color);
        }
        return TRUE;
    }
    case MAKEWPARAM(IDM_IMPORT_PALETTE, 0):
        ImportPaletteFromBox(state);
        return TRUE;
    case MAKEWPARAM(IDM_EXPORT_PALETTE, 0):
        ExportPaletteFromBox(state);
        return TRUE;
    case MAKEWPARAM(IDC_NAMED_FIND, BN_CLICKED):
        FindNearestNamedColor(state);
        return TRUE;
    case MAKEWPARAM(IDC_NAMED_COPY, BN_CLICKED):
        CopyNamedColor(state);
        return TRUE;
    case MAKEWPARAM(IDC_SETTINGS, BN_CLICKED):
        ShowSettings(state);
        return TRUE;
    case MAKEWPARAM(IDC_HELP_BUTTON, BN_CLICKED):
        ShowHelp(state->dialog);
        return TRUE;
    case MAKEWPARAM(IDC_STAY_ON_TOP, BN_CLICKED):
        state->options.Assign(AlwaysOnTop, IsChecked(state, IDC_STAY_ON_TOP));
        return TRUE;
    case MAKEWPARAM(IDC_COLORS, BN_CLICKED):
        state->options.Assign(ShowColors, IsChecked(state, IDC_COLORS));
        ApplyPanelSize(state);
        return TRUE;
    case MAKEWPARAM(IDC_CURRENT_SWATCH, FCN_DBLCLK):
        SendDlgItemMessageA(state->dialog, IDC_SAVED_ADD, BM_CLICK, 0, 0);
        return TRUE;
    case MAKEWPARAM(IDC_BACKGROUND_SWATCH, IDM_SWAP_WITH_CURRENT):
        SwapWithCurrent(state);
        return TRUE;
    case MAKEWPARAM(IDC_CURRENT_SWATCH, IDM_NEAREST_AA):
        MoveToNearestPassing(state, 4.5, IDS_NO_AA_COLOR);
        return TRUE;
    case MAKEWPARAM(IDC_CURRENT_SWATCH, IDM_NEAREST_AAA):
        MoveToNearestPassing(state, 7, IDS_NO_AAA_COLOR);
        return TRUE;
    case MAKEWPARAM(IDC_WEBSAFE_SWATCH, FCN_CLICKED):
        RoundToWebSafe(state->currentColor);
        RequestRedraw(state, RB_ALL);
        return TRUE;
    case MAKEWPARAM(IDC_RED_SWATCH, FCN_CLICKED):
        IsolateComponent(state, AxisRed, IDC_RED_EDIT);
        return TRUE;
    case MAKEWPARAM(IDC_GREEN_SWATCH, FCN_CLICKED):
        IsolateComponent(state, AxisGreen, IDC_GREEN_EDIT);
        return TRUE;
    case MAKEWPARAM(IDC_BLUE_SWATCH, FCN_CLICKED):
        IsolateComponent(state, AxisBlue, IDC_BLUE_EDIT);
        return TRUE;
    }
    return FALSE;
}
