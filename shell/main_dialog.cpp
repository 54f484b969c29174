#include "shell/main_dialog.h"

#include <commctrl.h>
#include <windowsx.h>

#include "core/dpi.h"
#include "core/redraw.h"
#include "core/topmost.h"
#include "flatcolor/flat_color.h"
#include "lists/palette_io.h"
#include "resources/resource.h"
#include "selector/selector_access.h"
#include "selector/selector_mouse.h"
#include "shell/color_views.h"
#include "shell/hide_button.h"
#include "shell/main_dialog_internal.h"
#include "shell/selector_controls.h"
#include "shell/status_icon.h"

static_assert(kFirstControlId == IDC_FIELD && kLastControlId == IDC_CONTRAST_GRADE,
              "the control table covers the template's ids");

namespace {

// Width of the colour-list panel, in dialog units, revealed by "Colors >>".
const int kPanelWidthUnits = 73;

// Set at the end of the initialisation: what the window does not need for its first paint waits
// until it is on the screen and painted, since a timer comes only when nothing else is queued.
// (A posted message would come first, and a dialog box shows itself only once its queue is empty.)
const UINT_PTR kFinishStartTimer = 1;

int OnStatusIconOptionChanged(int state, void* userData)
{
    auto* app = static_cast<AppState*>(userData);
    // The stored option is applied while the dialog starts: there is no icon yet to take away,
    // and one to show waits for the finish.
    if (!app->initialised)
        return 0;
    if (state)
        ShowStatusIcon(app);
    else
        RemoveStatusIcon(app->dialog);
    return 0;
}

int OnAlwaysOnTopChanged(int state, void* userData)
{
    auto* app = static_cast<AppState*>(userData);
    SendMessageA(DialogControl(app, IDC_STAY_ON_TOP), BM_SETCHECK, state ? BST_CHECKED : BST_UNCHECKED, 0);
    SetWindowTopmost(app->dialog, state != 0);
    return 0;
}

// The swatches print their hex digits while the option is on: all six on the current and
// web-safe colours, their own pair on the component swatches.
int OnDisplayHexChanged(int state, void* userData)
{
    static const struct {
        int id;
        LONG bit;
    } swatches[] = {
        {IDC_CURRENT_SWATCH, FCS_HEX}, {IDC_WEBSAFE_SWATCH, FCS_HEX}, {IDC_RED_SWATCH, FCS_RED},
        {IDC_GREEN_SWATCH, FCS_GREEN}, {IDC_BLUE_SWATCH, FCS_BLUE},
    };
    auto* app = static_cast<AppState*>(userData);
    for (const auto& swatch : swatches) {
        HWND control = DialogControl(app, swatch.id);
        LONG style = GetWindowLongA(control, GWL_STYLE);
        SetWindowLongA(control, GWL_STYLE, state ? style | swatch.bit : style & ~swatch.bit);
    }
    return 0;
}

// The user's formats on every swatch's menu (the record lives as long as the swatches), and the
// background's items.
void AddSwatchMenuItems(AppState* state)
{
    static const int kSwatches[] = {IDC_CURRENT_SWATCH, IDC_WEBSAFE_SWATCH, IDC_RED_SWATCH,
                                    IDC_GREEN_SWATCH,   IDC_BLUE_SWATCH,    IDC_BACKGROUND_SWATCH};
    for (int id : kSwatches) {
        HWND swatch = DialogControl(state, id);
        SendMessageA(swatch, FCM_SETFORMATS, 0, reinterpret_cast<LPARAM>(&state->formats));
        // The background's own swatch shows the background already.
        SendMessageA(swatch, FCM_ADDMENUITEM, IDM_USE_AS_BACKGROUND,
                     id == IDC_BACKGROUND_SWATCH ? MFS_GRAYED : 0);
    }
    SendMessageA(DialogControl(state, IDC_BACKGROUND_SWATCH), FCM_ADDMENUITEM, IDM_SWAP_WITH_CURRENT, 0);
    HWND current = DialogControl(state, IDC_CURRENT_SWATCH);
    SendMessageA(current, FCM_ADDMENUITEM, 0, 0);
    SendMessageA(current, FCM_ADDMENUITEM, IDM_NEAREST_AA, 0);
    SendMessageA(current, FCM_ADDMENUITEM, IDM_NEAREST_AAA, 0);
}

void MeasurePanelSizes(AppState* state)
{
    RECT window;
    GetWindowRect(state->dialog, &window);
    state->collapsedSize.cx = window.right - window.left;
    state->collapsedSize.cy = window.bottom - window.top;

    RECT panel = {0, 0, kPanelWidthUnits, 0};
    MapDialogRect(state->dialog, &panel);
    state->expandedSize.cx = state->collapsedSize.cx + panel.right;
    state->expandedSize.cy = state->collapsedSize.cy;
}

// A control's position and its size in dialog units are each rounded to pixels on their own, so
// on a screen of more DPI a control may reach a pixel or two into the one it abuts in the
// template (the rows of icon buttons). It is made to end where its neighbour begins, as at 96 DPI.
void TrimRoundingOverlaps(const DialogState* state)
{
    const int count = kLastControlId - kFirstControlId + 1;
    RECT rects[count] = {};
    for (int i = 0; i < count; ++i) {
        if (HWND control = state->controls[i]) {
            GetWindowRect(control, &rects[i]);
            MapWindowPoints(nullptr, state->dialog, reinterpret_cast<POINT*>(&rects[i]), 2);
        }
    }
    const LONG kRounding = 2;
    for (int a = 0; a < count; ++a) {
        RECT& r = rects[a];
        const RECT before = r;
        for (int b = 0; b < count; ++b) {
            const RECT& next = rects[b];
            if (a == b || IsRectEmpty(&r) || IsRectEmpty(&next))
                continue;
            const bool sameRows = r.top < next.bottom && next.top < r.bottom;
            const bool sameColumns = r.left < next.right && next.left < r.right;
            if (sameRows && r.left < next.left && r.right > next.left && r.right - next.left <= kRounding)
                r.right = next.left;
            if (sameColumns && r.top < next.top && r.bottom > next.top && r.bottom - next.top <= kRounding)
                r.bottom = next.top;
        }
        if (!EqualRect(&r, &before))
            SetWindowPos(state->controls[a], nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

HICON LoadIconSized(HINSTANCE instance, int id, int width, int height)
{
    return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, width, height, 0));
}

bool LoadProgramIcons(AppState* state)
{
    state->largeIcon.Reset(LoadIconSized(state->instance, IDI_PROGRAM, GetSystemMetrics(SM_CXICON),
                                         GetSystemMetrics(SM_CYICON)));
    state->smallIcon.Reset(LoadIconSized(state->instance, IDI_PROGRAM, GetSystemMetrics(SM_CXSMICON),
                                         GetSystemMetrics(SM_CYSMICON)));
    state->notWebSafeIcon.Reset(LoadIconForDpi(state->instance, IDI_NOT_WEBSAFE, state->dpi));
    return state->largeIcon && state->smallIcon && state->notWebSafeIcon;
}

BOOL Fail(HWND dialog)
{
    EndDialog(dialog, -1);
    return FALSE;
}

BOOL OnInitDialog(HWND dialog, const StartParams* params)
{
    auto* state = NewWindowRecord<AppState>();
    if (!state)
        return Fail(dialog);
    SetWindowLongPtrA(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    state->dialog = dialog;
    // Before anything is sized: every part scales its pixels by it.
    state->dpi = ReadScreenDpi();

    state->options.RegisterCallback(AlwaysShowStatusIcon, OnStatusIconOptionChanged, state);
    state->options.RegisterCallback(AlwaysOnTop, OnAlwaysOnTopChanged, state);
    state->options.RegisterCallback(DisplayHexValues, OnDisplayHexChanged, state);

    state->instance = params->instance;
    state->instanceMessage = params->instanceMessage;
    state->pickAtStart = params->pickAtStart != FALSE;
    state->pickKey.window = dialog;

    if (!InitGrabber(state, &state->grabber))
        return Fail(dialog);

    // One walk over the children finds the controls by id for the table every part reads, and
    // gives each its image, which is found by its id too.
    DecorationSetup decoration = {state, &state->decoration};
    EnumChildWindows(dialog, DecorateChild, reinterpret_cast<LPARAM>(&decoration));
    TrimRoundingOverlaps(state);
    TakeColorPastesInHexField(state);
    AttachSelectorControls(state);

    if (!LoadProgramIcons(state))
        return Fail(dialog);
    SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(state->largeIcon.Get()));
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(state->smallIcon.Get()));

    if (!CreateSelectorPictures(state, &state->selector))
        return Fail(dialog);

    if (!InitSavedColorsList(state, &state->savedList))
        return Fail(dialog);
    // Palette files dropped on the saved colours; the drop's point tells where it landed.
    DragAcceptFiles(dialog, TRUE);

    // Stored settings, before the saved colours are loaded.
    LoadSettings(state);
    // A key another program holds costs no message: the settings page and the icon's tip say so.
    RegisterPickKey(&state->pickKey, state->pickKey.key);
    AddSwatchMenuItems(state);

    LoadSavedColors(state);

    if (!CreateSelectorTables(&state->selector))
        return Fail(dialog);

    MeasurePanelSizes(state);

    FillNamedList(state);

    // The stored mode's button, checked, and its command, which sends the first full redraw: what
    // a click on it does, without the press and release a click puts the button through.
    const int modeButton =
        state->sliderMode <= AxisBrightness ? IDC_MODE_RED + state->sliderMode : IDC_MODE_RED;
    for (int id = IDC_MODE_RED; id <= IDC_MODE_BRIGHTNESS; ++id)
        SendMessageA(DialogControl(state, id), BM_SETCHECK, id == modeButton ? BST_CHECKED : BST_UNCHECKED,
                     0);
    OnCommand(state, MAKEWPARAM(modeButton, BN_CLICKED), DialogControl(state, modeButton));
    if (state->options.Test(ShowColors)) {
        SendMessageA(DialogControl(state, IDC_COLORS), BM_SETCHECK, BST_CHECKED, 0);
        OnCommand(state, MAKEWPARAM(IDC_COLORS, BN_CLICKED), DialogControl(state, IDC_COLORS));
    }

    SetFocus(DialogControl(state, IDC_RED_EDIT));
    state->initialised = TRUE;
    SetTimer(dialog, kFinishStartTimer, USER_TIMER_MINIMUM, nullptr);
    return FALSE;
}

// Tips show only after the mouse has rested on a control, and the status icon is not part of the
// window: both wait until the window is on the screen, which then comes sooner.
void FinishStart(AppState* state)
{
    KillTimer(state->dialog, kFinishStartTimer);
    if (state->options.Test(AlwaysShowStatusIcon))
        ShowStatusIcon(state);
    state->toolTip = CreateToolTips(state);
    if (!state->toolTip) {
        EndDialog(state->dialog, -1);
        return;
    }
    if (state->pickAtStart)
        StartPickAnywhere(state, &state->grabber, state->dialog);
}

// Writes what the user set and saved; a start that failed part-way never loaded it, so it must
// not replace what is stored.
void SaveState(AppState* state)
{
    if (!state->initialised)
        return;
    SaveSettings(state);
    SaveSavedColors(state);
}

void OnDestroy(HWND dialog, AppState* state)
{
    ReleaseDecorationIcons(&state->decoration);

    // Whatever the option says: an icon must not outlive its window.
    RemoveStatusIcon(dialog);
    UnregisterPickKey(&state->pickKey);

    ReleaseSelectorPictures(&state->selector);

    // Nothing may show an icon that is gone: the mark and the caption let go of theirs first.
    DetachIcon(DialogControl(state, IDC_WEBSAFE_MARK), state->notWebSafeIcon);
    SendMessageA(dialog, WM_SETICON, ICON_BIG, 0);
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, 0);
    ReleaseGrabber(state, &state->grabber);

    ReleaseSelectorTables(&state->selector);

    SaveState(state);

    SetWindowLongPtrA(dialog, GWLP_USERDATA, 0);
    // The record's owners let go of the rest: icons, callbacks.
    DeleteWindowRecord(state);
}

// Whichever interaction holds the capture gets the mouse, and during a grab the keys.
void OnCaptureMessage(AppState* state, UINT message, WPARAM wparam, LPARAM lparam)
{
    const uint32_t mode = state->captureMode;
    switch (message) {
    case WM_MOUSEMOVE: {
        // Where this move went, from the message: the dialog holds the capture, so the point is
        // in its client coordinates.
        POINT screen = {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
        ClientToScreen(state->dialog, &screen);
        if (mode == CaptureSlider || mode == CaptureField)
            FollowSelectorDrag(state, &state->selector, screen);
        else if (mode == CaptureGrab)
            FollowGrab(&state->grabber, screen);
        else if (mode == CaptureHideButton)
            TrackHideButton(state, lparam);
        break;
    }
    case WM_LBUTTONUP:
        if (mode == CaptureGrab)
            PickGrabbedColor(state, &state->grabber, lparam);
        else if (mode == CaptureHideButton)
            ReleaseHideButton(state);
        ReleaseCapture();
        break;
    case WM_RBUTTONDOWN:
        if (mode == CaptureGrab)
            CancelGrab(&state->grabber);
        break;
    case WM_KEYDOWN:
        if (mode == CaptureGrab)
            GrabKey(state, &state->grabber, wparam);
        break;
    case WM_CAPTURECHANGED:
        // The only place an interaction ends, whoever took the capture away.
        if (mode == CaptureSlider)
            EndSelectorDrag(state);
        else if (mode == CaptureHideButton)
            EndHideButton(state);
        state->captureMode = CaptureNone;
        if (mode == CaptureGrab) {
            const GrabOutcome outcome = EndGrab(state, &state->grabber);
            if (outcome.anywhere && outcome.picked)
                OnPickFromAnywhereEnded(state);
        }
        break;
    }
}

}  // namespace

AppState* GetAppState(HWND dialog)
{
    return reinterpret_cast<AppState*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
}

void ApplyPanelSize(AppState* state)
{
    const SIZE& size = state->options.Test(ShowColors) ? state->expandedSize : state->collapsedSize;
    SetWindowPos(state->dialog, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
}

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    AppState* state = GetAppState(dialog);
    if (state && message == state->instanceMessage && message != 0) {
        OnInstanceMessage(state, wparam);
        return FALSE;
    }

    // Only list 430 is a drag list; the message for any other id gets the ordinary handling.
    if (state && message == state->savedList.dragListMessage && message != 0 && wparam == IDC_SAVED_LIST) {
        SetWindowLongPtrA(
            dialog, DWLP_MSGRESULT,
            OnSavedListDrag(state, &state->savedList, reinterpret_cast<const DRAGLISTINFO*>(lparam)));
        return TRUE;
    }

    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog, reinterpret_cast<const StartParams*>(lparam));
    case WM_COMMAND:
        return state ? OnCommand(state, wparam, reinterpret_cast<HWND>(lparam)) : FALSE;
    case WM_DRAWITEM:
        // The lists' rows are drawn here, yet the answer stays FALSE.
        if (state && wparam == IDC_SAVED_LIST)
            DrawSavedColorItem(state, reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
        else if (state && wparam == IDC_NAMED_LIST)
            DrawNamedColorItem(state, reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
        else
            return state &&
                   DrawSelectorItem(state, &state->selector, reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
        return FALSE;
    case SELECTOR_REDRAW:
        if (state) {
            RedrawSelector(state, &state->selector, wparam);
            UpdateColorViews(state, wparam);
            AnnounceSelectorChanges(state, &state->selector);
        }
        return TRUE;
    case WM_NOTIFY: {
        // The grade's tip, asked for when it shows: which thresholds the colours pass.
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(lparam);
        if (state && info->hdr.code == TTN_GETDISPINFOA &&
            info->hdr.idFrom == reinterpret_cast<UINT_PTR>(DialogControl(state, IDC_CONTRAST_GRADE))) {
            FormatContrastTip(state, state->contrastTip, sizeof(state->contrastTip));
            info->lpszText = state->contrastTip;
            info->hinst = nullptr;
        }
        return FALSE;
    }
    case WM_CONTEXTMENU:
        if (state && reinterpret_cast<HWND>(wparam) == DialogControl(state, IDC_SAVED_LIST)) {
            ShowSavedListMenu(state, lparam);
            return TRUE;
        }
        return FALSE;
    case WM_DROPFILES:
        if (state)
            OnFilesDropped(state, reinterpret_cast<HDROP>(wparam));
        return TRUE;
    case WM_TIMER:
        if (state && wparam == kFinishStartTimer && !state->toolTip)
            FinishStart(state);
        return TRUE;
    case STATUS_ICON_MESSAGE:
        if (state)
            OnStatusIconMessage(state, lparam);
        return FALSE;
    case WM_HOTKEY:
        if (state && wparam == PICK_HOTKEY_ID)
            StartPickAnywhere(state, &state->grabber, GetForegroundWindow());
        return TRUE;
    case PICK_FROM_ANYWHERE:
        if (state)
            StartPickAnywhere(state, &state->grabber, GetForegroundWindow());
        return TRUE;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_CAPTURECHANGED:
        if (state)
            OnCaptureMessage(state, message, wparam, lparam);
        return TRUE;
    case WM_KEYDOWN:
        // Sent here by the grab's keyboard hook; otherwise the dialog itself has the focus only
        // when no control can take it, and keeps the default handling.
        if (!state || state->captureMode != CaptureGrab)
            return FALSE;
        OnCaptureMessage(state, message, wparam, lparam);
        return TRUE;
    case WM_NCPAINT:
        if (!state)
            return FALSE;
        DefWindowProcA(dialog, message, wparam, lparam);
        DrawHideButton(dialog, state->dpi, state->hideButtonDown);
        return TRUE;
    case WM_ACTIVATE:
        if (state)
            DrawHideButton(dialog, state->dpi, state->hideButtonDown);
        return FALSE;
    case WM_NCLBUTTONDOWN:
        return state && OnHideButtonPress(state, lparam);
    case WM_ENDSESSION:
        // The process ends after this without a teardown: save as a close would.
        if (state && wparam)
            SaveState(state);
        return FALSE;
    case WM_CLOSE:
        // Ending the dialog moves the focus off a field; a range message then would only hold
        // up the close (or a close asked for by another program) for a value nobody keeps.
        if (state)
            state->closing = TRUE;
        EndDialog(dialog, 0);
        return TRUE;
    case WM_DESTROY:
        if (state)
            OnDestroy(dialog, state);
        return TRUE;
    }
    return FALSE;
}
