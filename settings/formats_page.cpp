// The settings sheet's "Formats" page: the form the copy button and picks copy in, and the
// user's own formats, each a name and a template, edited in a dialog of their own.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "color/color_forms.h"
#include "core/ansi_text.h"
#include "core/messages.h"
#include "resources/resource.h"
#include "settings/settings_page.h"

namespace {

struct FormatsPageState {
    SettingsSheetParams* params;
    HINSTANCE instance;
    CustomFormats formats;  // edited here; the sheet's OK or Apply hands them over
    uint32_t copyFormat;
};

// What the edit dialog works on.
struct FormatEdit {
    HINSTANCE instance;
    const ColorValue* example;
    CustomFormat format;
};

FormatsPageState* GetState(HWND page)
{
    return reinterpret_cast<FormatsPageState*>(GetWindowLongPtrA(page, GWLP_USERDATA));
}

// The example line and the problem line, kept up with the template as it is typed.
void ShowTemplateState(HWND dialog, const FormatEdit* edit)
{
    char templ[COLOR_TEMPLATE_SIZE] = "", problem[COLOR_TEMPLATE_SIZE] = "";
    // Typed text may hold characters of several bytes: a cut leaves none of them halved.
    GetWholeWindowText(GetDlgItem(dialog, IDC_FORMAT_TEMPLATE), templ, sizeof(templ));
    char format[MESSAGE_TEXT_SIZE], line[MESSAGE_TEXT_SIZE + 2 * COLOR_TEMPLATE_SIZE] = "";
    char expanded[4 * COLOR_TEMPLATE_SIZE];
    if (CheckColorTemplate(templ, problem, sizeof(problem))) {
        if (ExpandColorTemplate(templ, *edit->example, expanded, sizeof(expanded))) {
            LoadMessageText(edit->instance, IDS_FORMAT_EXAMPLE, format);
            snprintf(line, sizeof(line), format, expanded);
        }
        SetDlgItemTextA(dialog, IDC_FORMAT_EXAMPLE, line);
        SetDlgItemTextA(dialog, IDC_FORMAT_PROBLEM, "");
        return;
    }
    LoadMessageText(edit->instance, IDS_FORMAT_BAD_PLACEHOLDER, format);
    snprintf(line, sizeof(line), format, problem);
    SetDlgItemTextA(dialog, IDC_FORMAT_EXAMPLE, "");
    SetDlgItemTextA(dialog, IDC_FORMAT_PROBLEM, line);
}

// OK keeps the dialog open while the name is missing or the template names no placeholder; the
// problem line says which.
bool AcceptFormat(HWND dialog, FormatEdit* edit)
{
    char name[CUSTOM_FORMAT_NAME_SIZE] = "", templ[COLOR_TEMPLATE_SIZE] = "", problem[COLOR_TEMPLATE_SIZE];
    GetWholeWindowText(GetDlgItem(dialog, IDC_FORMAT_NAME), name, sizeof(name));
    GetWholeWindowText(GetDlgItem(dialog, IDC_FORMAT_TEMPLATE), templ, sizeof(templ));
    // A tab would split the stored line in the wrong place.
    for (char* c = name; *c; ++c)
        if (*c == '\t')
            *c = ' ';
    if (!name[0]) {
        char text[MESSAGE_TEXT_SIZE];
        LoadMessageText(edit->instance, IDS_FORMAT_NO_NAME, text);
        SetDlgItemTextA(dialog, IDC_FORMAT_PROBLEM, text);
        SetFocus(GetDlgItem(dialog, IDC_FORMAT_NAME));
        return false;
    }
    if (!templ[0] || !CheckColorTemplate(templ, problem, sizeof(problem))) {
        ShowTemplateState(dialog, edit);
        SetFocus(GetDlgItem(dialog, IDC_FORMAT_TEMPLATE));
        return false;
    }
    lstrcpynA(edit->format.name, name, sizeof(edit->format.name));
    lstrcpynA(edit->format.templ, templ, sizeof(edit->format.templ));
    return true;
}

INT_PTR CALLBACK FormatEditProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    auto* edit = reinterpret_cast<FormatEdit*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
    switch (message) {
    case WM_INITDIALOG:
        edit = reinterpret_cast<FormatEdit*>(lparam);
        SetWindowLongPtrA(dialog, GWLP_USERDATA, lparam);
        SendDlgItemMessageA(dialog, IDC_FORMAT_NAME, EM_LIMITTEXT, CUSTOM_FORMAT_NAME_SIZE - 1, 0);
        SendDlgItemMessageA(dialog, IDC_FORMAT_TEMPLATE, EM_LIMITTEXT, COLOR_TEMPLATE_SIZE - 1, 0);
        SetDlgItemTextA(dialog, IDC_FORMAT_NAME, edit->format.name);
        SetDlgItemTextA(dialog, IDC_FORMAT_TEMPLATE, edit->format.templ);
        ShowTemplateState(dialog, edit);
        return TRUE;
    case WM_COMMAND:
        switch (wparam) {
        case MAKEWPARAM(IDC_FORMAT_TEMPLATE, EN_CHANGE):
            ShowTemplateState(dialog, edit);
            return TRUE;
        case MAKEWPARAM(IDOK, BN_CLICKED):
            if (AcceptFormat(dialog, edit))
                EndDialog(dialog, IDOK);
            return TRUE;
        case MAKEWPARAM(IDCANCEL, BN_CLICKED):
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

// ---- the page ---------------------------------------------------------------------------

void AddChoice(HWND combo, const char* text, uint32_t id)
{
    const LRESULT index = SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    if (index >= 0)
        SendMessageA(combo, CB_SETITEMDATA, static_cast<WPARAM>(index), id);
}

// Every format the copy button can use, in menu order; the chosen one selected, hex when it is
// gone.
void FillCopyChoices(HWND page, FormatsPageState* state)
{
    HWND combo = GetDlgItem(page, IDC_COPY_FORMAT);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    char text[MESSAGE_TEXT_SIZE];
    LoadMessageText(state->instance, IDS_FORMAT_HEX, text);
    AddChoice(combo, text, COPY_FORMAT_HEX);
    const uint32_t builtIns[] = {
        IDM_COPY_CSS_RGB, IDM_COPY_CSS_HSL, IDM_COPY_WIN32_RGB,    IDM_COPY_COLORREF, IDM_COPY_OKLCH,
        IDM_COPY_OKLAB,   IDM_COPY_LAB,     IDM_COPY_LCH,          IDM_COPY_HWB,      IDM_COPY_COLOR_SRGB,
        IDM_COPY_HSB,     IDM_COPY_CMYK,    IDM_COPY_FLOAT_TRIPLE, IDM_COPY_INTEGER};
    for (uint32_t id : builtIns) {
        // The menu's words without "Copy as " and the underline.
        char item[MESSAGE_TEXT_SIZE] = "", shown[MESSAGE_TEXT_SIZE];
        LoadStringA(state->instance, id, item, sizeof(item));
        const char* from = strncmp(item, "Copy as ", 8) == 0 ? item + 8 : item;
        char* to = shown;
        for (; *from; ++from)
            if (*from != '&')
                *to++ = *from;
        *to = '\0';
        AddChoice(combo, shown, id);
    }
    for (uint32_t i = 0; i < state->formats.count; ++i)
        AddChoice(combo, state->formats.items[i].name, CUSTOM_FORMAT_FIRST_ID + i);
    if (!IsCopyFormat(state->copyFormat, &state->formats))
        state->copyFormat = COPY_FORMAT_HEX;
    const LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
        if (static_cast<uint32_t>(SendMessageA(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0)) ==
            state->copyFormat)
            SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
}

void FillFormatList(HWND page, const FormatsPageState* state, int select)
{
    HWND list = GetDlgItem(page, IDC_FORMAT_LIST);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (uint32_t i = 0; i < state->formats.count; ++i) {
        char row[CUSTOM_FORMAT_NAME_SIZE + COLOR_TEMPLATE_SIZE + 1];
        snprintf(row, sizeof(row), "%s\t%s", state->formats.items[i].name, state->formats.items[i].templ);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row));
    }
    if (select >= 0 && static_cast<uint32_t>(select) < state->formats.count)
        SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(select), 0);
    const bool selected = SendMessageA(list, LB_GETCURSEL, 0, 0) != LB_ERR;
    EnableWindow(GetDlgItem(page, IDC_FORMAT_ADD), state->formats.count < CUSTOM_FORMAT_MAX);
    EnableWindow(GetDlgItem(page, IDC_FORMAT_EDIT), selected);
    EnableWindow(GetDlgItem(page, IDC_FORMAT_REMOVE), selected);
}

int SelectedFormat(HWND page)
{
    return static_cast<int>(SendDlgItemMessageA(page, IDC_FORMAT_LIST, LB_GETCURSEL, 0, 0));
}

void Changed(HWND page)
{
    PropSheet_Changed(GetParent(page), page);
}

// Add (index -1) or edit one format in the edit dialog.
void EditFormat(HWND page, FormatsPageState* state, int index)
{
    if (index < 0 && state->formats.count >= CUSTOM_FORMAT_MAX)
        return;
    FormatEdit edit = {state->instance, &state->params->example, {}};
    if (index >= 0)
        edit.format = state->formats.items[index];
    if (DialogBoxParamA(state->instance, MAKEINTRESOURCEA(IDD_FORMAT_EDIT), page, FormatEditProc,
                        reinterpret_cast<LPARAM>(&edit)) != IDOK)
        return;
    if (index < 0)
        index = static_cast<int>(state->formats.count++);
    state->formats.items[index] = edit.format;
    FillFormatList(page, state, index);
    FillCopyChoices(page, state);
    Changed(page);
}

void RemoveFormat(HWND page, FormatsPageState* state)
{
    const int index = SelectedFormat(page);
    if (index < 0 || static_cast<uint32_t>(index) >= state->formats.count)
        return;
    // The copy button's choice follows its format, or goes back to hex with it.
    const uint32_t removedId = CUSTOM_FORMAT_FIRST_ID + static_cast<uint32_t>(index);
    if (state->copyFormat == removedId)
        state->copyFormat = COPY_FORMAT_HEX;
    else if (state->copyFormat > removedId &&
             state->copyFormat < CUSTOM_FORMAT_FIRST_ID + state->formats.count)
        --state->copyFormat;
    memmove(&state->formats.items[index], &state->formats.items[index + 1],
            (state->formats.count - static_cast<uint32_t>(index) - 1) * sizeof(CustomFormat));
    --state->formats.count;
    FillFormatList(page, state, index < static_cast<int>(state->formats.count) ? index : index - 1);
    FillCopyChoices(page, state);
    Changed(page);
}

INT_PTR OnInitPage(HWND page, const PROPSHEETPAGEA* descriptor)
{
    auto* state = NewWindowRecord<FormatsPageState>();
    if (!state) {
        ShowErrorMessage(descriptor->hInstance, page, IDS_OUT_OF_MEMORY);
        EndDialog(page, 0);
        return FALSE;
    }
    SetWindowLongPtrA(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    state->params = reinterpret_cast<SettingsSheetParams*>(descriptor->lParam);
    state->instance = descriptor->hInstance;
    state->formats = *state->params->formats;
    state->copyFormat = *state->params->copyFormat;
    // Name, then the template a little way in.
    const INT tabStop = 48;
    SendDlgItemMessageA(page, IDC_FORMAT_LIST, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tabStop));
    FillFormatList(page, state, -1);
    FillCopyChoices(page, state);
    return TRUE;
}

}  // namespace

INT_PTR CALLBACK FormatsPage(HWND page, UINT message, WPARAM wparam, LPARAM lparam)
{
    FormatsPageState* state = GetState(page);
    switch (message) {
    case WM_INITDIALOG:
        return OnInitPage(page, reinterpret_cast<const PROPSHEETPAGEA*>(lparam));
    case WM_COMMAND:
        if (!state)
            return FALSE;
        switch (wparam) {
        case MAKEWPARAM(IDC_FORMAT_ADD, BN_CLICKED):
            EditFormat(page, state, -1);
            return TRUE;
        case MAKEWPARAM(IDC_FORMAT_EDIT, BN_CLICKED):
        case MAKEWPARAM(IDC_FORMAT_LIST, LBN_DBLCLK):
            if (SelectedFormat(page) >= 0)
                EditFormat(page, state, SelectedFormat(page));
            return TRUE;
        case MAKEWPARAM(IDC_FORMAT_REMOVE, BN_CLICKED):
            RemoveFormat(page, state);
            return TRUE;
        case MAKEWPARAM(IDC_FORMAT_LIST, LBN_SELCHANGE):
            FillFormatList(page, state, SelectedFormat(page));
            return TRUE;
        case MAKEWPARAM(IDC_COPY_FORMAT, CBN_SELCHANGE): {
            HWND combo = GetDlgItem(page, IDC_COPY_FORMAT);
            const LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
            if (index >= 0)
                state->copyFormat =
                    static_cast<uint32_t>(SendMessageA(combo, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
            Changed(page);
            return TRUE;
        }
        }
        return FALSE;
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(lparam)->code == static_cast<UINT>(PSN_APPLY)) {
            if (state) {
                *state->params->formats = state->formats;
                *state->params->copyFormat = state->copyFormat;
            }
            SetWindowLongPtrA(page, DWLP_MSGRESULT, PSNRET_NOERROR);
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        if (state) {
            SetWindowLongPtrA(page, GWLP_USERDATA, 0);
            DeleteWindowRecord(state);
        }
        return FALSE;
    }
    return FALSE;
}
