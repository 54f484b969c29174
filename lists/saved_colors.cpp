#include "lists/saved_colors.h"

#include "color/color_value.h"
#include "color/hex_text.h"
#include "lists/list_rows.h"
#include "resources/resource.h"
#include "selector/selector.h"
#include "shell/main_dialog.h"
#include "shell/messages.h"

namespace {

// How far the insertion arrow can reach into the list, border included.
const int kArrowOverlap = 16;

HWND SavedList(const AppState* state)
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
void DropRow(AppState* state, HWND list, int target)
{
    int source = state->dragSourceIndex;
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
void RepaintListEdge(HWND list)
{
    RECT client;
    GetClientRect(list, &client);
    RECT edge = {-kArrowOverlap, -kArrowOverlap, kArrowOverlap, client.bottom + kArrowOverlap};
    RedrawWindow(list, &edge, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
}

// Moves the insertion mark before `row` (-1 removes it).
void MoveInsertionMark(AppState* state, HWND list, int row)
{
    if (row != state->dragInsertIndex && state->dragInsertIndex != -1)
        RepaintListEdge(list);
    DrawInsert(state->dialog, list, row);
    state->dragInsertIndex = row;
}

}  // namespace

bool InitSavedColorsList(AppState* state)
{
    if (!MakeDragList(SavedList(state)))
        return false;
    state->dragListMessage = RegisterWindowMessageA(DRAGLISTMSGSTRING);
    state->dragSourceIndex = -1;
    state->dragInsertIndex = -1;
    return state->dragListMessage != 0;
}

void LoadSavedColors(AppState* state)
{
    LoadSavedColorsFile(SavedList(state), SAVED_COLORS_FILE);
}

void SaveSavedColors(AppState* state)
{
    SaveSavedColorsFile(SavedList(state), SAVED_COLORS_FILE);
}

void AddSavedColor(AppState* state)
{
    HWND list = SavedList(state);
    const LRESULT selected = SelectedRow(list);
    // LB_ERR is -1, which also means "at the end".
    const WPARAM at = selected == LB_ERR ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(selected + 1);
    const LRESULT row = SendMessageA(list, LB_INSERTSTRING, at, static_cast<LPARAM>(state->currentColor.GetRgb()));
    if (row < 0) {
        ShowWarningMessage(state->instance, state->dialog, IDS_ADD_COLOR_ERROR);
        return;
    }
    SendMessageA(list, LB_SETCURSEL, row, 0);
}

void DeleteSavedColor(AppState* state)
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

void OverwriteSavedColor(AppState* state)
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

void LoadColorFromList(AppState* state, HWND list)
{
    const LRESULT row = SelectedRow(list);
    if (row == LB_ERR) {
        ShowWarningMessage(state->instance, state->dialog, IDS_NO_COLOR_SELECTED);
        return;
    }
    state->currentColor.SetRgb(static_cast<uint32_t>(SendMessageA(list, LB_GETITEMDATA, row, 0)));
    SendMessageA(state->dialog, SELECTOR_REDRAW, RB_ALL, 0);
}

LRESULT OnSavedListDrag(AppState* state, const DRAGLISTINFO* info)
{
    // Holding the cursor above or below the list scrolls it.
    const int item = LBItemFromPt(info->hWnd, info->ptCursor, TRUE);
    switch (info->uNotification) {
    case DL_BEGINDRAG:
        state->dragSourceIndex = LBItemFromPt(info->hWnd, info->ptCursor, TRUE);
        state->dragInsertIndex = -1;
        return TRUE;
    case DL_DRAGGING:
        if (item == -1)
            return DL_STOPCURSOR;
        MoveInsertionMark(state, info->hWnd, item);
        return CtrlHeld() ? DL_COPYCURSOR : DL_MOVECURSOR;
    case DL_DROPPED:
        DropRow(state, info->hWnd, item);
        MoveInsertionMark(state, info->hWnd, -1);
        state->dragSourceIndex = -1;
        return TRUE;
    case DL_CANCELDRAG:
        MoveInsertionMark(state, info->hWnd, -1);
        state->dragSourceIndex = -1;
        return TRUE;
    }
    return TRUE;
}

void DrawSavedColorItem(const AppState* state, const DRAWITEMSTRUCT* item)
{
    ColorValue color;
    if (!RowColor(item, &color))
        return;
    const RowColors colors = DrawRowSwatch(item, color);
    char text[HEX_TEXT_SIZE];
    DrawRowText(item, colors, FormatHex(color, text, state->options.Test(HexUpperCase)));
}
