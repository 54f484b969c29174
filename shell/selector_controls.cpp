#include "shell/selector_controls.h"

#include <oleacc.h>

#include <initializer_list>

#include "core/accessible.h"
#include "resources/resource.h"
#include "selector/selector_access.h"
#include "selector/selector_keys.h"
#include "shell/main_dialog.h"

namespace {

bool DescribeSelectorPart(HWND control, char* name, char* value)
{
    const AppState* state = GetAppState(GetParent(control));
    if (!state)
        return false;
    DescribeSelectorControl(state, GetDlgCtrlID(control), name, value);
    return true;
}

LRESULT CALLBACK SelectorControlProc(HWND control, UINT message, WPARAM wparam, LPARAM lparam)
{
    // The static control's own procedure, which this one was put over.
    const auto original = reinterpret_cast<WNDPROC>(GetClassLongPtrA(control, GCLP_WNDPROC));
    AppState* state = GetAppState(GetParent(control));
    if (!state)
        return CallWindowProcA(original, control, message, wparam, lparam);
    const SelectorPart part = GetDlgCtrlID(control) == IDC_SLIDER ? SelectorSlider : SelectorField;
    switch (message) {
    case WM_GETDLGCODE:
        // The arrows move the colour; Tab, Escape and Enter keep their meaning in the dialog.
        return DLGC_WANTARROWS;
    case WM_KEYDOWN:
        if (HandleSelectorKey(state, part, static_cast<UINT>(wparam), GetKeyState(VK_SHIFT) < 0))
            return 0;
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        SetSelectorFocus(&state->selector, control, message == WM_SETFOCUS);
        break;
    case WM_GETOBJECT:
        // Each is a slider to a reader: the field one of two axes.
        if (const LRESULT object =
                AnswerGetObject(control, wparam, lparam, ROLE_SYSTEM_SLIDER, DescribeSelectorPart))
            return object;
        break;
    case WM_UPDATEUISTATE: {
        const LRESULT result = CallWindowProcA(original, control, message, wparam, lparam);
        SetSelectorUiState(&state->selector, control, wparam);
        return result;
    }
    }
    return CallWindowProcA(original, control, message, wparam, lparam);
}

}  // namespace

void AttachSelectorControls(AppState* state)
{
    for (int id : {IDC_FIELD, IDC_SLIDER}) {
        HWND control = DialogControl(state, id);
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SelectorControlProc));
        // The cues as the system has them now; later changes come as WM_UPDATEUISTATE.
        SetSelectorUiState(&state->selector, control, 0);
    }
}
