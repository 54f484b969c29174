// The main dialog created in-process from the real template, as on a first start.
#pragma once
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "flatcolor/flat_color.h"
#include "resources/resource.h"
#include "shell/main_dialog.h"
#include "tests/unit/stored_state.h"

class MainDialogFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetStoredState();
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TAB_CLASSES};
        ASSERT_TRUE(InitCommonControlsEx(&controls));
        ASSERT_TRUE(RegisterFlatColorClass(instance));
        params = {instance, RegisterWindowMessageA("Ostrel Tintora")};
        dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc,
                                    reinterpret_cast<LPARAM>(&params));
        ASSERT_NE(nullptr, dialog);
        state = GetAppState(dialog);
        ASSERT_NE(nullptr, state);
    }

    void TearDown() override
    {
        if (dialog)
            DestroyWindow(dialog);
        dialog = nullptr;
    }

    HINSTANCE instance = GetModuleHandleA(nullptr);
    StartParams params{};
    HWND dialog = nullptr;
    AppState* state = nullptr;
};
