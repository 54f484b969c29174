// Where the input now being handled happened.
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
