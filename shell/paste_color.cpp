// A colour pasted as text: from a swatch's menu, and into the hex field.
#include "color/color_text.h"
#include "color/hex_text.h"
#include "core/clipboard.h"
#include "core/messages.h"
#include "core/redraw.h"
#include "resources/resource.h"
#include "shell/main_dialog_internal.h"

namespace {

// Longer than any colour text, blanks around it included.
const size_t kPasteTextSize = 256;

// Up to six hex digits alone, blanks around them aside: the hex field takes those as it always
// has. A longer run of digits is no hex value; as a whole number it is a colour's integer form.
bool IsPlainHex(const char* text)
{
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (blank(*text))
        ++text;
    const char* digits = text;
    while (HexDigitValue(*text) >= 0)
        ++text;
    const bool any = text != digits && text - digits <= 6;
    while (blank(*text))
        ++text;
    return any && !*text;
}

// The clipboard's colour as the current one, through the one redraw, or as the background;
// false when the clipboard holds no colour, or, unless `plainHex`, holds only hex digits.
bool PasteColor(AppState* state, bool plainHex, bool asBackground = false)
{
    char text[kPasteTextSize];
    ColorValue pasted{};
    if (!ReadClipboardText(state->dialog, text, sizeof(text)) || (!plainHex && IsPlainHex(text)) ||
        !ParseColorText(text, &pasted))
        return false;
    if (asBackground) {
        SetBackgroundColor(state, pasted);
        return true;
    }
    state->currentColor = pasted;
    RequestRedraw(state, RB_ALL);
    return true;
}

// The hex field's paste, whichever way it comes (Ctrl+V, Shift+Insert, the field's own menu).
// Its previous procedure is kept in its user data, which an edit control leaves to its owner.
LRESULT CALLBACK HexFieldProc(HWND field, UINT message, WPARAM wparam, LPARAM lparam)
{
    const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(field, GWLP_USERDATA));
    if (message == WM_PASTE) {
        auto* state = reinterpret_cast<AppState*>(GetWindowLongPtrA(GetParent(field), GWLP_USERDATA));
        // Taken whole: the field then shows the six digits the redraw writes.
        if (state && PasteColor(state, false))
            return 0;
    }
    return CallWindowProcA(previous, field, message, wparam, lparam);
}

}  // namespace

void PasteColorFromMenu(AppState* state, bool asBackground)
{
    if (!PasteColor(state, true, asBackground))
        ShowWarningMessage(state->instance, state->dialog, IDS_CLIPBOARD_NO_COLOR);
}

void TakeColorPastesInHexField(AppState* state)
{
    HWND field = DialogControl(state, IDC_HEX_EDIT);
    SetWindowLongPtrA(field, GWLP_USERDATA, GetWindowLongPtrA(field, GWLP_WNDPROC));
    SetWindowLongPtrA(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HexFieldProc));
}
