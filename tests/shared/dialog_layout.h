// How a dialog's controls lie as a reader sees them: rows, neighbours, overlaps. Shared by the
// in-process tests and the end-to-end driver.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace layout {

inline std::vector<HWND> Children(HWND dialog)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

// In its parent's client coordinates.
inline RECT Place(HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

inline bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Two controls read as one row when the middle of each lies within the other's height.
inline bool SameRow(const RECT& a, const RECT& b)
{
    const LONG aMiddle = (a.top + a.bottom) / 2, bMiddle = (b.top + b.bottom) / 2;
    return aMiddle >= b.top && aMiddle < b.bottom && bMiddle >= a.top && bMiddle < a.bottom;
}

enum class Side { Left, Right };

// The nearest shown control on the same row, on one side: what a reader takes for the
// control's label or companion. nullptr when there is none.
inline HWND Beside(HWND dialog, HWND control, Side side)
{
    const RECT of = Place(control);
    HWND nearest = nullptr;
    LONG nearestGap = 0;
    for (HWND other : Children(dialog)) {
        if (other == control || !IsWindowVisible(other))
            continue;
        const RECT r = Place(other);
        const LONG gap = side == Side::Right ? r.left - of.right : of.left - r.right;
        if (gap >= 0 && SameRow(r, of) && (!nearest || gap < nearestGap)) {
            nearest = other;
            nearestGap = gap;
        }
    }
    return nearest;
}

// A control for failure lines and comparisons: by id, or by its class and text where it has
// none.
inline std::string Describe(HWND control)
{
    if (!control)
        return "nothing";
    const int id = GetDlgCtrlID(control);
    // Unnamed controls come as 0, -1 or its 16-bit form.
    if (id != 0 && id != -1 && id != 0xFFFF)
        return "control " + std::to_string(id);
    char name[64] = "", text[256] = "";
    GetClassNameA(control, name, sizeof(name));
    GetWindowTextA(control, text, sizeof(text));
    CharLowerA(name);
    return std::string(name) + " \"" + text + "\"";
}

}  // namespace layout
