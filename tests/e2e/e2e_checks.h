// Waits and checks of the end-to-end drivers, on top of GoogleTest: every wait ends as soon as
// what it waits for holds, bounded only by the hang guard, and a failed wait says what was
// there instead.
#pragma once
#include <gtest/gtest.h>

#include <windows.h>

#include <ostream>

inline bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator==(const POINT& a, const POINT& b)
{
    return a.x == b.x && a.y == b.y;
}
inline bool operator!=(const POINT& a, const POINT& b)
{
    return !(a == b);
}
// How rectangles and points read in failure messages.
inline void PrintTo(const RECT& r, std::ostream* out)
{
    *out << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ") " << r.right - r.left
         << "x" << r.bottom - r.top;
}
inline void PrintTo(const POINT& p, std::ostream* out)
{
    *out << "(" << p.x << ", " << p.y << ")";
}

namespace e2e {

// Every wait for the program ends as soon as what it waits for holds; this bound only keeps a
// program that never gets there from holding up the run. A busy machine stretches every gap.
const DWORD kHangGuardMs = 30000;

// Polls condition every few milliseconds until it holds or timeoutMs passes (a poll, not a wait
// for a time: it returns as soon as the condition holds).
template <typename Condition>
bool WaitUntil(DWORD timeoutMs, Condition condition)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return condition();
        Sleep(20);  // the poll's pace
    }
}

template <typename Condition>
testing::AssertionResult BecomesTrue(const char* text, Condition condition)
{
    if (WaitUntil(kHangGuardMs, condition))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << text << " still false after " << kHangGuardMs / 1000 << " s";
}

template <typename Actual, typename Expected>
testing::AssertionResult BecomesEqual(const char* text, Actual actual, const Expected& expected)
{
    if (WaitUntil(kHangGuardMs, [&] { return actual() == expected; }))
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << text << ": expected " << testing::PrintToString(expected) << ", got "
           << testing::PrintToString(actual()) << " after " << kHangGuardMs / 1000 << " s";
}

inline bool Checked(const testing::AssertionResult& result, const char*, const char* file, int line)
{
    if (!result)
        ADD_FAILURE_AT(file, line) << result.message();
    return static_cast<bool>(result);
}
inline bool Checked(bool result, const char* text, const char* file, int line)
{
    if (!result)
        ADD_FAILURE_AT(file, line) << text << " is false";
    return result;
}

}  // namespace e2e

// Waits for cond, or for actual to equal expected, and gives the outcome to EXPECT_TRUE or
// ASSERT_TRUE: the program answers in its own time, and a failure shows what was there when the
// hang guard ran out.
#define SOON(cond) ::e2e::BecomesTrue(#cond, [&] { return static_cast<bool>(cond); })
#define SOON_EQ(actual, expected)                                                                            \
    ::e2e::BecomesEqual(                                                                                     \
        #actual, [&] { return (actual); }, (expected))
// For helpers that go on only while their checks hold: records a failure at this line, as
// EXPECT_TRUE would, and gives whether the check held.
#define CHECKED(result) ::e2e::Checked((result), #result, __FILE__, __LINE__)
