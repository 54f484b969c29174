// The main dialog's settings kept in the registry: applied at start, written at the end.
#include "settings/registry_store.h"
#include "shell/main_dialog_internal.h"

// The monitor functions through the platform's stubs: looked up when the system has them, one
// screen when it has not, so the program still loads where they are missing.
#define COMPILE_MULTIMON_STUBS
#include <multimon.h>

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
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfo(MonitorFromRect(&placement.rcNormalPosition, MONITOR_DEFAULTTOPRIMARY), &monitor);
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
    if (!MonitorFromRect(&r, MONITOR_DEFAULTTONULL))
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

    OptionFlags& options = state->options;
    state->currentColor.SetRgb(s.lastColor);
    options.Assign(AlwaysOnTop, s.alwaysOnTop != 0);
    options.Assign(RealTimeUpdate, s.realTimeUpdate != 0);
    options.Assign(ShowColors, s.showColors != 0);
    ApplyWindowPosition(state->dialog, s.windowX, s.windowY);
    options.Assign(HexUpperCase, s.hexUpperCase != 0);
    options.Assign(UseHexPrefix, s.useHexPrefix != 0);
    options.Assign(NamedColorsLowerCase, s.namedColorsLowerCase != 0);
    options.Assign(AlwaysShowStatusIcon, s.alwaysShowStatusIcon != 0);
    options.Assign(DisplayHexValues, s.displayHexValues != 0);
    // Selected by clicking its radio button near the end of the initialisation.
    state->sliderMode = s.sliderMode;
}

void SaveSettings(AppState* state)
{
    const OptionFlags& options = state->options;
    StoredSettings s = {};
    s.lastColor = state->currentColor.GetRgb();
    s.alwaysOnTop = options.Test(AlwaysOnTop);
    s.sliderMode = state->sliderMode;
    s.realTimeUpdate = options.Test(RealTimeUpdate);
    s.showColors = options.Test(ShowColors);
    const POINT corner = WindowCornerToSave(state->dialog);
    s.windowX = corner.x;
    s.windowY = corner.y;
    s.hexUpperCase = options.Test(HexUpperCase);
    s.useHexPrefix = options.Test(UseHexPrefix);
    s.namedColorsLowerCase = options.Test(NamedColorsLowerCase);
    s.alwaysShowStatusIcon = options.Test(AlwaysShowStatusIcon);
    s.displayHexValues = options.Test(DisplayHexValues);

    RegistryValueEntry table[SETTINGS_ROW_COUNT];
    MakeSettingsTable(&s, table);
    WriteRegistryTable(HKEY_CURRENT_USER, SETTINGS_KEY, table, SETTINGS_ROW_COUNT);
}
