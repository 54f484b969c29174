#include "tests/e2e/e2e_input.h"

#include <utility>
#include <vector>

#include "tests/e2e/e2e_checks.h"

namespace e2e {

namespace {

// Wine answers GetCursorPos from the X server once the position it keeps is this old.
const DWORD kWineCursorCacheMs = 100;

// How often a wait for the program to show the pointer's place moves it a pixel aside and back.
const DWORD kNudgeMs = 250;

// When the left button last went down.
DWORD g_lastLeftDown = 0;
// Where the pointer was last put and found resting.
POINT g_restingAt = {};

void NoteLeftDown(DWORD flags)
{
    if (flags & MOUSEEVENTF_LEFTDOWN)
        g_lastLeftDown = GetTickCount();
}

BOOL CALLBACK AddShownWindowThread(HWND window, LPARAM threads)
{
    if (IsWindowVisible(window)) {
        auto* list = reinterpret_cast<std::vector<std::pair<DWORD, HWND>>*>(threads);
        const DWORD thread = GetWindowThreadProcessId(window, nullptr);
        bool known = false;
        for (const auto& entry : *list)
            known = known || entry.first == thread;
        if (!known)
            list->push_back({thread, window});
    }
    return TRUE;
}

// Lets every thread with a window on the screen get to reading the events its X connection holds,
// which a thread does each time it has nothing left to handle; one that was busy may still read
// an old event after this (see WaitNudgingPointer).
void LetShownWindowsReadTheirEvents()
{
    std::vector<std::pair<DWORD, HWND>> threads;
    EnumWindows(AddShownWindowThread, reinterpret_cast<LPARAM>(&threads));
    for (const auto& entry : threads) {
        DWORD_PTR ignored;
        SendMessageTimeoutA(entry.second, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kHangGuardMs, &ignored);
    }
}

}  // namespace

POINT Cursor()
{
    POINT p = {};
    GetCursorPos(&p);
    return p;
}

void SendMouse(DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(INPUT));
    NoteLeftDown(flags);
}

void SendMouse(DWORD flags, POINT p)
{
    const LONG left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const LONG width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    // The system maps 0..65535 onto the screen, rounding down.
    input.mi.dx = ((p.x - left) * 65536 + width - 1) / width;
    input.mi.dy = ((p.y - top) * 65536 + height - 1) / height;
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    SendInput(1, &input, sizeof(INPUT));
    NoteLeftDown(flags);
}

// Under Wine a move of the cursor also warps the X pointer, and each program with a window under
// the pointer turns the X server's pointer event into a move of its own when it next reads its
// events: an event of an earlier move, read late, puts the cursor back there. So the pointer
// rests only once the X server has it at p (Wine answers GetCursorPos from the X server, asking
// on the connection the warp went out on, once the position it keeps is older than
// kWineCursorCacheMs), every program has read the events the server sent it, and the cursor has
// been put at p once more to set right what a late event may have changed on the way.
bool PointerRests(POINT p)
{
    DWORD since = 0;
    const bool atX = WaitUntil(kHangGuardMs, [&] {
        if (Cursor() != p) {
            since = 0;
            return false;
        }
        if (!since)
            since = GetTickCount();
        return GetTickCount() - since > kWineCursorCacheMs;
    });
    LetShownWindowsReadTheirEvents();
    SendMouse(0, p);
    g_restingAt = p;
    return atX && Cursor() == p;
}

bool WaitNudgingPointer(const std::function<bool()>& seen)
{
    DWORD nudged = GetTickCount();
    return WaitUntil(kHangGuardMs, [&] {
        if (seen())
            return true;
        if (GetTickCount() - nudged >= kNudgeMs) {
            // A move to where the cursor is already is no move at all.
            SendMouse(0, POINT{g_restingAt.x + 1, g_restingAt.y});
            SendMouse(0, g_restingAt);
            nudged = GetTickCount();
        }
        return false;
    });
}

bool MoveTo(POINT p)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        SendMouse(0, p);
        if (PointerRests(p))
            return true;
    }
    ADD_FAILURE() << "the cursor went to " << testing::PrintToString(Cursor()) << " instead of "
                  << testing::PrintToString(p);
    return false;
}

bool DragTo(POINT to)
{
    const POINT from = Cursor();
    for (int step = 1; step < 4; ++step)
        SendMouse(0, POINT{from.x + (to.x - from.x) * step / 4, from.y + (to.y - from.y) * step / 4});
    return MoveTo(to);
}

void LeftDown()
{
    SendMouse(MOUSEEVENTF_LEFTDOWN);
}

void FreshLeftDown()
{
    while (g_lastLeftDown && GetTickCount() - g_lastLeftDown < GetDoubleClickTime() + 100)
        Sleep(20);  // part of the input: the double-click time
    LeftDown();
}

void LeftUp()
{
    SendMouse(MOUSEEVENTF_LEFTUP);
}

void Key(WORD key, DWORD flags, WCHAR unicode)
{
    INPUT input[2] = {};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = key;
    input[0].ki.wScan = unicode;
    input[0].ki.dwFlags = flags;
    input[1] = input[0];
    input[1].ki.dwFlags = flags | KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
}

void HoldKey(WORD key, bool down)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof(INPUT));
}

void ShiftKey(WORD key)
{
    HoldKey(VK_SHIFT, true);
    Key(key);
    HoldKey(VK_SHIFT, false);
}

void Type(const std::string& text)
{
    for (char c : text)
        Key(0, KEYEVENTF_UNICODE, static_cast<WCHAR>(static_cast<unsigned char>(c)));
}

}  // namespace e2e
