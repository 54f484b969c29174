// The main dialog's settings kept in the registry: applied at start, written at the end.
#include "core/monitors.h"
#include "settings/registry_store.h"
#include "shell/main_dialog_internal.h"

namespace {

// The restored rectangle's corner, also while minimised (the minimised placeholder is no place
// to come back to).
POINT WindowCornerToSave(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    POINT corner = {r.left, r.top};
    if (!IsIconic(window))
        return corner;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(window, &placement))
        return corner;
    // The placement is in work-area coordinates of the window's monitor.
    const MONITORINFO monitor = MonitorOfRect(LookUpMonitorFunctions(), placement.rcNormalPosition);
    corner.x = placement.rcNormalPosition.left + monitor.rcWork.left - monitor.rcMonitor.left;
    corner.y = placement.rcNormalPosition.top + monitor.rcWork.top - monitor.rcMonitor.top;
    return corner;
}

// A stored corner is used unchanged as long as the window would still touch some monitor.
void ApplyWindowPosition(HWND window, int32_t x, int32_t y)
{
    if (x == POSITION_NOT_STORED || y == POSITION_NOT_STORED)
        return;
    RECT r;
    GetWindowRect(window, &r);
    OffsetRect(&r, x - r.left, y - r.top);
    if (!TouchesAMonitor(LookUpMonitorFunctions(), r))
        return;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
}

}  // namespace

void LoadSettings(AppState* state)
{
    StoredSettings s = DefaultSettings();
    RegistryValueEntry table[SETTINGS_ROW_COUNT];
    MakeSettingsTable(&s, table);
    ReadRegistryTable(HKEY_CURRENT_USER, SETTINGS_KEY, table, SETTINGS_ROW_COUNT);

    state->currentColor.SetRgb(s.lastColor);
    // A value with bits past the colour's is none of ours.
    state->background.SetRgb(s.backgroundColor <= 0xFFFFFF ? s.backgroundColor : 0xFFFFFF);
    for (size_t i = 0; i < kOptionCount; ++i)
        state->options.Assign(kOptions[i].bit, s.options[i] != 0);
    ApplyWindowPosition(state->dialog, s.windowX, s.windowY);
    state->grabber.sampleSize = ValidSampleSize(s.grabSampleSize);
    state->pickKey.key = s.pickKey & PICK_KEY_MASK;
    ReadCustomFormats(HKEY_CURRENT_USER, SETTINGS_KEY, &state->formats);
    // A format that is gone (a list changed elsewhere, a damaged value) leaves hex.
    state->copyFormat = IsCopyFormat(s.copyFormat, &state->formats) ? s.copyFormat : COPY_FORMAT_HEX;
    // Selected by clicking its radio button near the end of the initialisation.
    state->sliderMode = s.sliderMode;
}

void SaveSettings(AppState* state)
{
    StoredSettings s = {};
    s.lastColor = state->currentColor.GetRgb();
    s.backgroundColor = state->background.GetRgb();
    s.sliderMode = state->sliderMode;
    const POINT corner = WindowCornerToSave(state->dialog);
    s.windowX = corner.x;
    s.windowY = corner.y;
    s.grabSampleSize = ValidSampleSize(state->grabber.sampleSize);
    s.pickKey = state->pickKey.key;
    s.copyFormat = state->copyFormat;
    for (size_t i = 0; i < kOptionCount; ++i)
        s.options[i] = state->options.Test(kOptions[i].bit) ? 1 : 0;

    RegistryValueEntry table[SETTINGS_ROW_COUNT];
    MakeSettingsTable(&s, table);
    WriteRegistryTable(HKEY_CURRENT_USER, SETTINGS_KEY, table, SETTINGS_ROW_COUNT);
    WriteCustomFormats(HKEY_CURRENT_USER, SETTINGS_KEY, &state->formats);
}
