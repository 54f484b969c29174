#include "tests/e2e/e2e_dialog_units.h"

#include "tests/e2e/e2e_checks.h"

namespace e2e {

namespace {

INT_PTR CALLBACK MeasureDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// Maps four values the way the dialog manager maps a control's x, y, cx and cy.
RECT MapDialogValues(int a, int b, int c, int d)
{
    // An empty dialog template with Tintora's font: DLGTEMPLATE, no menu, default class,
    // empty title, point size, face name.
    alignas(4) WORD buffer[64] = {};
    auto* header = reinterpret_cast<DLGTEMPLATE*>(buffer);
    header->style = DS_SETFONT | WS_POPUP;
    header->cdit = 0;
    header->cx = 100;
    header->cy = 100;
    WORD* p = reinterpret_cast<WORD*>(header + 1);
    *p++ = 0;  // menu
    *p++ = 0;  // class
    *p++ = 0;  // title
    *p++ = 8;  // point size
    for (const char* face = "Ms Shell Dlg"; *face; ++face)
        *p++ = static_cast<WORD>(*face);
    *p++ = 0;

    RECT rect = {a, b, c, d};
    HWND dialog =
        CreateDialogIndirectParamA(GetModuleHandleA(nullptr), header, nullptr, MeasureDialogProc, 0);
    if (!dialog) {
        ADD_FAILURE() << "cannot create the dialog that measures dialog units";
        return RECT{};
    }
    if (!MapDialogRect(dialog, &rect))
        ADD_FAILURE() << "MapDialogRect failed on our own dialog";
    // Gone at once: a second start broadcasts to every top-level window, and ours pumps no messages.
    DestroyWindow(dialog);
    return rect;
}

}  // namespace

RECT DialogUnitsToPixels(int x, int y, int w, int h)
{
    RECT mapped = MapDialogValues(x, y, w, h);
    return RECT{mapped.left, mapped.top, mapped.left + mapped.right, mapped.top + mapped.bottom};
}

int DialogUnitsToPixelsX(int units)
{
    return MapDialogValues(0, 0, units, 0).right;
}

}  // namespace e2e
