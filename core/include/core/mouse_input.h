// Where the input being handled happened, and taking the mouse for a drag.
#pragma once
#include <windows.h>
#include <windowsx.h>

// The screen position the system gave the message last taken from the queue: the press or move
// being handled. Under Wine GetCursorPos may still answer the position before a move that has
// already arrived, since it asks the X server once the position it keeps is a moment old.
inline POINT InputPoint()
{
    const DWORD position = GetMessagePos();
    return POINT{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
}

// The capture for a drag that began with a press on `window`. That press makes the window the
// foreground one on Windows; Wine may leave another program's window in front, and then gives
// the mouse to whatever lies under it despite the capture, and the keys to that program.
inline void TakeMouse(HWND window)
{
    if (GetForegroundWindow() != GetAncestor(window, GA_ROOT))
        SetForegroundWindow(window);
    SetCapture(window);
}
