// What screen readers are told of the program's own controls (Active Accessibility): an object
// built on the system's standard one for the control, with the role, name and value the control
// gives it, and the events that say they changed. The functions of oleacc, OLE and newer user32
// are looked up at run time: where a system lacks them, the program runs without.
#pragma once
#include <windows.h>

enum { ACCESSIBLE_TEXT_SIZE = 64 };

// Writes the control's name and value (ACCESSIBLE_TEXT_SIZE each, either may be left empty);
// false when the control can say nothing, its state being gone.
typedef bool (*DescribeAccessibleProc)(HWND control, char* name, char* value);

// COM for the calling thread, apartment-threaded; true when it must be ended with
// EndAccessibility on the same thread.
bool StartAccessibility();
void EndAccessibility();

// WM_GETOBJECT: for OBJID_CLIENT the control's object, of role `role` (a ROLE_SYSTEM_ value, or
// 0 for the standard object's) and named and valued by `describe`; 0 for anything else, which
// the caller hands to its default handling.
LRESULT AnswerGetObject(HWND control, WPARAM wparam, LPARAM lparam, LONG role,
                        DescribeAccessibleProc describe);

// Tells readers the control's object changed: EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_NAMECHANGE.
void NotifyAccessibleEvent(DWORD event, HWND control);
