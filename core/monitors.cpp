// The monitors the desktop spans, where the system knows them.
#include "core/monitors.h"

MonitorFunctions LookUpMonitorFunctions()
{
    // Looked up, not imported: Windows 95 and NT 4.0 have neither, and would not load the program.
    MonitorFunctions functions = {};
    if (HMODULE user = GetModuleHandleA("user32.dll")) {
        functions.monitorFromPoint = reinterpret_cast<MonitorFromPointProc>(
            reinterpret_cast<void*>(GetProcAddress(user, "MonitorFromPoint")));
        functions.getMonitorInfo = reinterpret_cast<GetMonitorInfoProc>(
            reinterpret_cast<void*>(GetProcAddress(user, "GetMonitorInfoA")));
        functions.monitorFromRect = reinterpret_cast<MonitorFromRectProc>(
            reinterpret_cast<void*>(GetProcAddress(user, "MonitorFromRect")));
        functions.enumDisplayMonitors = reinterpret_cast<EnumDisplayMonitorsProc>(
            reinterpret_cast<void*>(GetProcAddress(user, "EnumDisplayMonitors")));
    }
    return functions;
}

RECT VirtualScreenRect()
{
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    // Systems before Windows 98 and 2000 answer 0 for metrics they do not know.
    if (width <= 0 || height <= 0)
        return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{left, top, left + width, top + height};
}

namespace {

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT rect, LPARAM layout)
{
    auto* monitors = reinterpret_cast<MonitorLayout*>(layout);
    if (monitors->count < MONITOR_LAYOUT_MAX)
        monitors->monitors[monitors->count++] = *rect;
    return TRUE;
}

}  // namespace

MonitorLayout ReadMonitorLayout(const MonitorFunctions& functions)
{
    MonitorLayout layout = {};
    layout.all = VirtualScreenRect();
    if (functions.enumDisplayMonitors)
        functions.enumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&layout));
    if (layout.count == 0)
        layout.monitors[layout.count++] = layout.all;
    return layout;
}

bool OnAMonitor(const MonitorLayout& layout, POINT point)
{
    for (uint32_t i = 0; i < layout.count; ++i)
        if (PtInRect(&layout.monitors[i], point))
            return true;
    return false;
}

RECT MonitorRectIn(const MonitorLayout& layout, POINT point)
{
    // Squared distances: a monitor's nearest point to the one given, as the system measures.
    auto distance = [&](const RECT& r) {
        const int64_t dx = point.x < r.left     ? r.left - point.x
                           : point.x >= r.right ? point.x - r.right + 1
                                                : 0;
        const int64_t dy = point.y < r.top       ? r.top - point.y
                           : point.y >= r.bottom ? point.y - r.bottom + 1
                                                 : 0;
        return dx * dx + dy * dy;
    };
    if (!layout.count)
        return layout.all;
    uint32_t nearest = 0;
    for (uint32_t i = 1; i < layout.count; ++i)
        if (distance(layout.monitors[i]) < distance(layout.monitors[nearest]))
            nearest = i;
    return layout.monitors[nearest];
}

bool TouchesAMonitor(const MonitorFunctions& functions, const RECT& rect)
{
    if (functions.monitorFromRect)
        return functions.monitorFromRect(&rect, MONITOR_DEFAULTTONULL) != nullptr;
    const RECT screen = VirtualScreenRect();
    RECT common;
    return IntersectRect(&common, &rect, &screen) != FALSE;
}

MONITORINFO MonitorOfRect(const MonitorFunctions& functions, const RECT& rect)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (functions.monitorFromRect && functions.getMonitorInfo &&
        functions.getMonitorInfo(functions.monitorFromRect(&rect, MONITOR_DEFAULTTOPRIMARY), &info))
        return info;
    info.rcMonitor = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &info.rcWork, 0))
        info.rcWork = info.rcMonitor;
    info.dwFlags = MONITORINFOF_PRIMARY;
    return info;
}
