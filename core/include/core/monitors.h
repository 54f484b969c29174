// The monitors the desktop spans. The functions are looked up, not imported: Windows 95 and NT
// 4.0 have none of them and would not load the program; there the primary screen stands for all.
#pragma once
#include <windows.h>

typedef HMONITOR(WINAPI* MonitorFromPointProc)(POINT, DWORD);
typedef BOOL(WINAPI* GetMonitorInfoProc)(HMONITOR, LPMONITORINFO);
typedef HMONITOR(WINAPI* MonitorFromRectProc)(LPCRECT, DWORD);

// The monitor functions, where the system has them (Windows 98 and 2000 on).
struct MonitorFunctions {
    MonitorFromPointProc monitorFromPoint;
    GetMonitorInfoProc getMonitorInfo;
    MonitorFromRectProc monitorFromRect;
};
MonitorFunctions LookUpMonitorFunctions();

// The whole rectangle of the monitor under (or nearest to) the point; the desktop window's
// rectangle where the system has no monitor functions.
RECT MonitorRectAt(const MonitorFunctions& functions, POINT point);

// All monitors together, in screen coordinates: where a screen pixel can be read. The primary
// screen where the system does not know the virtual screen.
RECT VirtualScreenRect();

// Whether the rectangle shows at least partly on some monitor.
bool TouchesAMonitor(const MonitorFunctions& functions, const RECT& rect);

// The monitor the rectangle is most on (the primary when none), with its work area.
MONITORINFO MonitorOfRect(const MonitorFunctions& functions, const RECT& rect);
