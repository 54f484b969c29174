// The main dialog created in-process from the real template, as on a first start.
#pragma once
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "flatcolor/flat_color.h"
#include "resources/resource.h"
#include "shell/main_dialog.h"
#include "tests/unit/message_pump.h"
#include "tests/unit/stored_state.h"

// The main dialog from the real template, with the controls and classes the program's start
// provides; params must outlive the dialog.
inline void CreateMainDialog(StartParams& params, HWND& dialog)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TAB_CLASSES | ICC_HOTKEY_CLASS};
    ASSERT_TRUE(InitCommonControlsEx(&controls));
    ASSERT_TRUE(RegisterFlatColorClass(instance));
    params = {instance, RegisterWindowMessageA("Ostrel Tintora"), FALSE};
    dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc,
                                reinterpret_cast<LPARAM>(&params));
    ASSERT_NE(nullptr, dialog);
}

// The size an icon handle holds, from its mask (twice as high for a monochrome icon).
inline SIZE IconSize(HICON icon)
{
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info))
        return {0, 0};
    BITMAP bm = {};
    GetObjectA(info.hbmMask, sizeof(bm), &bm);
    SIZE size = {bm.bmWidth, info.hbmColor ? bm.bmHeight : bm.bmHeight / 2};
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return size;
}

class MainDialogFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetStoredState();
        Create();
    }

    void TearDown() override { Destroy(); }

    // Then what the program's message loop does in the first moments: the dialog finishes its
    // start once nothing else is queued, with its tip window last.
    void Create()
    {
        ASSERT_NO_FATAL_FAILURE(CreateMainDialog(params, dialog));
        state = GetAppState(dialog);
        ASSERT_NE(nullptr, state);
        ASSERT_TRUE(PumpUntil([&] { return state->toolTip != nullptr; }));
    }

    void Destroy()
    {
        if (dialog)
            DestroyWindow(dialog);
        dialog = nullptr;
        state = nullptr;
    }

    // A message taken from the queue carries the cursor position of its posting: the press or
    // move the dialog handles next happened there.
    void TakeMessageAt(POINT screen)
    {
        SetCursorPos(screen.x, screen.y);
        PostMessageA(dialog, WM_NULL, 0, 0);
        MSG msg;
        PeekMessageA(&msg, dialog, WM_NULL, WM_NULL, PM_REMOVE);
    }

    HINSTANCE instance = GetModuleHandleA(nullptr);
    StartParams params{};
    HWND dialog = nullptr;
    AppState* state = nullptr;
};
