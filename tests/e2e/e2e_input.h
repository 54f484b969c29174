// Real input, as a hand gives it: the mouse and the keyboard through SendInput, and a pointer
// that rests where it was put for every program on the screen.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace e2e {

POINT Cursor();
// A mouse event where the cursor is: a button, or a move of nothing.
void SendMouse(DWORD flags);
// An absolute move to pixel p of the virtual screen, on whichever monitor it is, with the button
// events in flags.
void SendMouse(DWORD flags, POINT p);
// Waits until the cursor, moved there by anyone, rests at p for every program: see the
// definition. False when it does not get there or does not stay.
bool PointerRests(POINT p);
// Moves to pixel p of any monitor and waits until the pointer rests there. False (failure
// recorded) when it does not.
bool MoveTo(POINT p);
// A drag in a few steps, as a hand would move, ending with MoveTo(to).
bool DragTo(POINT to);
// Waits until seen() holds of what the program shows for the pointer's place, moving the pointer
// a pixel aside and back where it rests every so often. Under Wine a program that reads the X event of an
// earlier position after the pointer came to rest, its window having been under the pointer
// there, turns it into a move back there; a hand's next move would set that right, and this
// stands in for it. False when seen() never holds within the hang guard.
bool WaitNudgingPointer(const std::function<bool()>& seen);
// The left button pressed or let go where the cursor is.
void LeftDown();
void LeftUp();
// A press that makes no double click with the one before: it comes once the double-click time
// has passed since the last press. The pause is part of the input, not a wait for the program.
void FreshLeftDown();
// A key pressed and let go; with KEYEVENTF_UNICODE in flags, unicode is the character typed.
void Key(WORD key, DWORD flags = 0, WCHAR unicode = 0);
// Only the press, or only the release, of a key held across other input.
void HoldKey(WORD key, bool down);
// A key pressed and let go with Shift held around it.
void ShiftKey(WORD key);
// Characters as the keyboard delivers them, whatever the layout.
void Type(const std::string& text);

}  // namespace e2e
