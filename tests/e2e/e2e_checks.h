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

// Waits until condition() holds or the hang guard runs out; a failure names it by text. Shaped as
// GoogleTest's predicate formatters are, which then show only the message.
template <typename Condition>
testing::AssertionResult SoonTrue(const char*, const char*, const char* text, Condition condition)
{
    if (WaitUntil(kHangGuardMs, condition))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << text << " still false after " << kHangGuardMs / 1000 << " s";
}

// Waits until actual() equals expected; a failure says what was expected and what came back.
template <typename Expected, typename Actual>
testing::AssertionResult SoonEqual(const char*, const char*, const char*, const char* text,
                                   const Expected& expected, Actual actual)
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

// Wait for c, or for a to equal e, then check it: the program answers in its own time, and a
// failure shows what was there when the hang guard ran out.
#define EXPECT_SOON(c) EXPECT_PRED_FORMAT2(::e2e::SoonTrue, #c, [&] { return static_cast<bool>(c); })
#define ASSERT_SOON(c) ASSERT_PRED_FORMAT2(::e2e::SoonTrue, #c, [&] { return static_cast<bool>(c); })
#define EXPECT_EQ_SOON(a, e) EXPECT_PRED_FORMAT3(::e2e::SoonEqual, #a, (e), [&] { return (a); })
#define ASSERT_EQ_SOON(a, e) ASSERT_PRED_FORMAT3(::e2e::SoonEqual, #a, (e), [&] { return (a); })
// For helpers that go on only while their checks hold: records a failure at this line, as
// EXPECT_* would, and gives whether the check held; the _SOON forms wait as above.
#define CHECKED(result) ::e2e::Checked((result), #result, __FILE__, __LINE__)
#define CHECKED_SOON(c) CHECKED(::e2e::SoonTrue("", "", #c, [&] { return static_cast<bool>(c); }))
#define CHECKED_EQ_SOON(a, e) CHECKED(::e2e::SoonEqual("", "", "", #a, (e), [&] { return (a); }))
