#include "lists/saved_colors.h"

#include <windowsx.h>

#include "color/color_value.h"
#include "color/hex_text.h"
#include "core/dpi.h"
#include "core/messages.h"
#include "core/redraw.h"
#include "lists/list_rows.h"
#include "lists/saved_colors_file.h"
#include "lists/saved_colors_place.h"
#include "resources/resource.h"

namespace {

// How far the insertion arrow can reach into the list, border included, at 96 DPI: the system
// draws it larger on a screen of more DPI.
const int kArrowOverlap = 16;

HWND SavedList(const DialogState* state)
{
    return DialogControl(state, IDC_SAVED_LIST);
}

LRESULT SelectedRow(HWND list)
{
    return SendMessageA(list, LB_GETCURSEL, 0, 0);
}

bool CtrlHeld()
{
    return (GetKeyState(VK_CONTROL) & 0x8000) != 0;
}

// Inserts a copy of the source row before the row under the cursor; without Ctrl the source goes.
void DropRow(SavedListState* saved, HWND list, int target)
{
    int source = saved->dragSourceIndex;
    if (target == -1 || source == -1 || target == source)
        return;
    const LRESULT data = SendMessageA(list, LB_GETITEMDATA, source, 0);
    if (SendMessageA(list, LB_INSERTSTRING, target, data) < 0)
        return;
    if (target < source)
        ++source;
    SendMessageA(list, LB_SETCURSEL, target, 0);
    if (!CtrlHeld())
        SendMessageA(list, LB_DELETESTRING, source, 0);
}

// The platform's insertion arrow reaches past the list's left edge, but DrawInsert repaints
// only the dialog under an old arrow: the list's edge is repainted here, so no tip of an old
// arrow stays on the rows.
void RepaintListEdge(HWND list, int dpi)
{
    RECT client;
    GetClientRect(list, &client);
    const int overlap = ScaleToDpi(kArrowOverlap, dpi);
    RECT edge = {-overlap, -overlap, overlap, client.bottom + overlap};
    RedrawWindow(list, &edge, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
}

// Moves the insertion mark before `row` (-1 removes it).
void MoveInsertionMark(const DialogState* state, SavedListState* saved, HWND list, int row)
{
    if (row != saved->dragInsertIndex && saved->dragInsertIndex != -1)
        RepaintListEdge(list, state->dpi);
    DrawInsert(state->dialog, list, row);
    saved->dragInsertIndex = row;
}

}  // namespace

bool InitSavedColorsList(const DialogState* state, SavedListState* saved)
{
    if (!MakeDragList(SavedList(state)))
        return false;
    saved->dragListMessage = RegisterWindowMessageA(DRAGLISTMSGSTRING);
    saved->dragSourceIndex = -1;
    saved->dragInsertIndex = -1;
    return saved->dragListMessage != 0;
}

void LoadSavedColors(const DialogState* state)
{
    SavedColorsPlace place;
    FindSavedColorsPlace(&place);
    HeapBlock<uint32_t> colors;
    const size_t count = ReadSavedColorsFile(place.readFrom, &colors);
    if (count == 0)
        return;
    HWND list = SavedList(state);
    // A long list would otherwise repaint and resize its scroll bar on every row.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_INITSTORAGE, count, 0);
    for (size_t i = 0; i < count; ++i)
        if (ListBoxCall(list, LB_ADDSTRING, 0, static_cast<LPARAM>(colors[i])) < 0)
            break;
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void SaveSavedColors(const DialogState* state)
{
    HWND list = SavedList(state);
    const LRESULT listed = SendMessageA(list, LB_GETCOUNT, 0, 0);
    const size_t count = listed > 0 ? static_cast<size_t>(listed) : 0;
    HeapBlock<uint32_t> colors;
    if (!colors.Allocate(count))
        return;
    for (size_t i = 0; i < count; ++i)
        colors[i] = static_cast<uint32_t>(ListBoxCall(list, LB_GETITEMDATA, i, 0));
    SavedColorsPlace place;
    FindSavedColorsPlace(&place);
    PrepareSavedColorsFile(place);
    WriteSavedColorsFile(place.file, colors.Data(), count);
}

void AddSavedColor(const DialogState* state)
{
    HWND list = SavedList(state);
    const LRESULT selected = SelectedRow(list);
    // LB_ERR is -1, which also means "at the end".
    const WPARAM at = selected == LB_ERR ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(selected + 1);
    const LRESULT row =
        SendMessageA(list, LB_INSERTSTRING, at, static_cast<LPARAM>(state->currentColor.GetRgb()));
    if (row < 0) {
        ShowWarningMessage(state->instance, state->dialog, IDS_ADD_COLOR_ERROR);
        return;
    }
    SendMessageA(list, LB_SETCURSEL, row, 0);
}

void DeleteSavedColor(const DialogState* state)
{
    HWND list = SavedList(state);
    LRESULT row = SelectedRow(list);
    if (row == LB_ERR) {
        ShowWarningMessage(state->instance, state->dialog, IDS_NO_COLOR_SELECTED);
        return;
    }
    SendMessageA(list, LB_DELETESTRING, row, 0);
    if (row >= SendMessageA(list, LB_GETCOUNT, 0, 0))
        --row;
    SendMessageA(list, LB_SETCURSEL, row, 0);
}

void OverwriteSavedColor(const DialogState* state)
{
    HWND list = SavedList(state);
    const LRESULT row = SelectedRow(list);
    if (row == LB_ERR) {
        ShowWarningMessage(state->instance, state->dialog, IDS_NO_COLOR_SELECTED);
        return;
    }
    SendMessageA(list, LB_SETITEMDATA, row, static_cast<LPARAM>(state->currentColor.GetRgb()));
    RECT rect;
    if (SendMessageA(list, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect)) != LB_ERR)
        InvalidateRect(list, &rect, TRUE);
}

void LoadColorFromList(DialogState* state, HWND list)
{
    const LRESULT row = SelectedRow(list);
    if (row == LB_ERR) {
        ShowWarningMessage(state->instance, state->dialog, IDS_NO_COLOR_SELECTED);
        return;
    }
    state->currentColor.SetRgb(static_cast<uint32_t>(SendMessageA(list, LB_GETITEMDATA, row, 0)));
    RequestRedraw(state, RB_ALL);
}

LRESULT OnSavedListDrag(const DialogState* state, SavedListState* saved, const DRAGLISTINFO* info)
{
    // Holding the cursor above or below the list scrolls it.
    const int item = LBItemFromPt(info->hWnd, info->ptCursor, TRUE);
    switch (info->uNotification) {
    case DL_BEGINDRAG: {
        // The row pressed, not the one the cursor has reached by the time the press is handled:
        // the drag list reports the cursor, which a quick hand on a busy machine has moved on.
        const DWORD pressed = GetMessagePos();
        const POINT at = {GET_X_LPARAM(pressed), GET_Y_LPARAM(pressed)};
        saved->dragSourceIndex = LBItemFromPt(info->hWnd, at, TRUE);
        saved->dragInsertIndex = -1;
        return TRUE;
    }
    case DL_DRAGGING:
        if (item == -1)
            return DL_STOPCURSOR;
        MoveInsertionMark(state, saved, info->hWnd, item);
        return CtrlHeld() ? DL_COPYCURSOR : DL_MOVECURSOR;
    case DL_DROPPED:
        DropRow(saved, info->hWnd, item);
        MoveInsertionMark(state, saved, info->hWnd, -1);
        saved->dragSourceIndex = -1;
        return TRUE;
    case DL_CANCELDRAG:
        MoveInsertionMark(state, saved, info->hWnd, -1);
        saved->dragSourceIndex = -1;
        return TRUE;
    }
    return TRUE;
}

void DrawSavedColorItem(const DialogState* state, const DRAWITEMSTRUCT* item)
{
    ColorValue color;
    if (!RowColor(item, &color))
        return;
    const RowColors colors = DrawRowSwatch(item, color, state->dpi);
    char text[HEX_TEXT_SIZE];
    DrawRowText(item, colors, FormatHex(color, text, state->options.Test(HexUpperCase)), state->dpi);
}
