// The monitors the desktop spans. The functions are looked up, not imported: Windows 95 and NT
// 4.0 have none of them and would not load the program; there the primary screen stands for all.
#pragma once
#include <windows.h>

#include <cstdint>

typedef HMONITOR(WINAPI* MonitorFromPointProc)(POINT, DWORD);
typedef BOOL(WINAPI* GetMonitorInfoProc)(HMONITOR, LPMONITORINFO);
typedef HMONITOR(WINAPI* MonitorFromRectProc)(LPCRECT, DWORD);
typedef BOOL(WINAPI* EnumDisplayMonitorsProc)(HDC, LPCRECT, MONITORENUMPROC, LPARAM);

// The monitor functions, where the system has them (Windows 98 and 2000 on).
struct MonitorFunctions {
    MonitorFromPointProc monitorFromPoint;
    GetMonitorInfoProc getMonitorInfo;
    MonitorFromRectProc monitorFromRect;
    EnumDisplayMonitorsProc enumDisplayMonitors;
};
MonitorFunctions LookUpMonitorFunctions();

// All monitors together, in screen coordinates: where a screen pixel can be read. The primary
// screen where the system does not know the virtual screen.
RECT VirtualScreenRect();

// The monitors as they are at one moment, for work that asks about many points: under Wine each
// question to the system is several requests to its server.
enum { MONITOR_LAYOUT_MAX = 16 };
struct MonitorLayout {
    RECT all;  // VirtualScreenRect
    RECT monitors[MONITOR_LAYOUT_MAX];
    uint32_t count;
};
// Without the functions to list them: one monitor, the screen.
MonitorLayout ReadMonitorLayout(const MonitorFunctions& functions);
bool OnAMonitor(const MonitorLayout& layout, POINT point);
// The whole rectangle of the monitor under the point, or of the nearest one when it is on none;
// all of the layout when it lists no monitor.
RECT MonitorRectIn(const MonitorLayout& layout, POINT point);

// Whether the rectangle shows at least partly on some monitor.
bool TouchesAMonitor(const MonitorFunctions& functions, const RECT& rect);

// The monitor the rectangle is most on (the primary when none), with its work area.
MONITORINFO MonitorOfRect(const MonitorFunctions& functions, const RECT& rect);
