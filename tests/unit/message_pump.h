// This thread's messages dispatched while a test waits, as the program's own loop would.
#pragma once
#include <windows.h>

// Dispatches what is queued now and returns.
inline void DrainMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Every wait ends as soon as what it waits for holds; this bound only keeps a test whose
// condition never comes from holding up the run.
const DWORD kHangGuardMs = 30000;

// Dispatches messages until done() holds or timeoutMs has passed; true when done.
template <typename Done>
bool PumpUntil(Done done, DWORD timeoutMs = kHangGuardMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        DrainMessages();
        if (done())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

inline void PumpFor(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}
