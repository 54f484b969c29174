// Long use leaves nothing behind: the real main dialog goes through many redraws, grabs, picks
// from anywhere, About boxes and settings sheets, and afterwards holds no more GDI objects,
// menus or heap than before.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>

#include "core/redraw.h"
#include "resources/resource.h"
#include "settings/pick_key.h"
#include "tests/unit/live_objects.h"
#include "tests/unit/main_dialog_fixture.h"
#include "tests/unit/message_pump.h"

namespace {

HWND g_mainDialog = nullptr;
int g_closed = 0;
int g_staticsClosed = 0;  // static controls in the boxes closed, pages of a sheet included

BOOL CALLBACK CountStatic(HWND window, LPARAM count)
{
    char name[16] = "";
    GetClassNameA(window, name, sizeof(name));
    *reinterpret_cast<int*>(count) += lstrcmpiA(name, "Static") == 0;
    return TRUE;
}

// What the system itself keeps of a static control given a font, once it is gone: Wine's common
// controls 6 keep a few bytes of each. Measured over `count` of them.
SIZE_T SystemKeepsOfStatics(HWND parent, int count)
{
    const SIZE_T before = ProcessHeapInUse();
    for (int i = 0; i < count; ++i) {
        HWND label = CreateWindowExA(0, "Static", "x", WS_CHILD, 0, 0, 50, 20, parent, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
        SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        DestroyWindow(label);
    }
    const SIZE_T after = ProcessHeapInUse();
    return after > before ? after - before : 0;
}

BOOL CALLBACK FindModalBox(HWND window, LPARAM found)
{
    char name[16] = "";
    GetClassNameA(window, name, sizeof(name));
    if (window != g_mainDialog && lstrcmpA(name, "#32770") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Runs inside the modal loop of a box the dialog opened and closes it the way its buttons do.
void CALLBACK CloseModalBox(HWND, UINT, UINT_PTR, DWORD)
{
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindModalBox, reinterpret_cast<LPARAM>(&box));
    if (!box)
        return;
    // The About box ends with OK, the settings sheet with Cancel.
    const int button = GetDlgItem(box, IDCANCEL) ? IDCANCEL : IDOK;
    EnumChildWindows(box, CountStatic, reinterpret_cast<LPARAM>(&g_staticsClosed));
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
    ++g_closed;
}

class NothingGrowsTest : public MainDialogFixture {
protected:
    void SetUp() override
    {
        MainDialogFixture::SetUp();
        if (HasFatalFailure())
            return;
        ShowWindow(dialog, SW_SHOW);
        UpdateWindow(dialog);
        g_mainDialog = dialog;
    }

    void Redraws(int count)
    {
        for (int i = 0; i < count; ++i) {
            state->currentColor.SetRgb(static_cast<uint32_t>(i) * 2654435761u & 0xFFFFFF);
            SendMessageA(dialog, SELECTOR_REDRAW, RB_ALL, 0);
        }
        DrainMessages();
    }

    // Each grab starts from the grab icon and ends one of its three ways in turn.
    void Grabs(int count)
    {
        for (int i = 0; i < count; ++i) {
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_GRAB, STN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_GRAB)));
            SendMessageA(dialog, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 10));
            switch (i % 3) {
            case 0:  // picked
                SendMessageA(dialog, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
                break;
            case 1:  // cancelled with the right button, then let go
                SendMessageA(dialog, WM_RBUTTONDOWN, MK_RBUTTON | MK_LBUTTON, 0);
                SendMessageA(dialog, WM_LBUTTONUP, 0, 0);
                break;
            default:  // the system takes the capture away
                ReleaseCapture();
                break;
            }
        }
        DrainMessages();
    }

    // Each pick from anywhere starts from the key and ends one of its ways in turn.
    void PicksFromAnywhere(int count)
    {
        for (int i = 0; i < count; ++i) {
            SendMessageA(dialog, WM_HOTKEY, PICK_HOTKEY_ID, 0);
            SendMessageA(dialog, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
            switch (i % 4) {
            case 0:  // clicked
                SendMessageA(dialog, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
                break;
            case 1:  // Enter
                SendMessageA(dialog, WM_KEYDOWN, VK_RETURN, 0);
                break;
            case 2:  // Escape
                SendMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
                break;
            default:  // the system takes the capture away
                ReleaseCapture();
                break;
            }
        }
        DrainMessages();
    }

    // Opens a modal box with its button; a timer closes it from inside its loop.
    void ModalBoxes(int button, int count)
    {
        g_closed = 0;
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, CloseModalBox);
        for (int i = 0; i < count; ++i)
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
        KillTimer(nullptr, timer);
        DrainMessages();
        EXPECT_EQ(count, g_closed) << "boxes of button " << button;
    }

    void Everything(int scale)
    {
        Redraws(1000 / scale);
        Grabs(100 / scale);
        PicksFromAnywhere(100 / scale);
        ModalBoxes(IDC_ABOUT, 50 / scale);
        ModalBoxes(IDC_SETTINGS, 20 / scale);
    }
};

TEST_F(NothingGrowsTest, RedrawsGrabsPicksFromAnywhereAboutBoxesAndSettingsSheets)
{
    // A round first: what the system creates lazily on the way is not a leak.
    Everything(10);
    const DWORD gdiBefore = LiveGdiObjects();
    const DWORD menusBefore = LiveMenus();
    const SIZE_T heapBefore = ProcessHeapInUse();
    g_staticsClosed = 0;

    Everything(1);
    EXPECT_EQ(nullptr, state->grabber.popup);
    EXPECT_EQ(nullptr, state->grabber.screen);
    EXPECT_EQ(nullptr, GetCapture());
    // The picks took colours, so each went the whole way.
    EXPECT_TRUE(state->hasLastPick);

    ASSERT_GT(gdiBefore, 0u);
    EXPECT_LE(LiveGdiObjects(), gdiBefore + 10);
    EXPECT_LE(LiveMenus(), menusBefore + 2);
    // One thing kept per grab, box or sheet would be more than this, beyond what the system
    // keeps of the boxes' static controls.
    const SIZE_T heapAfter = ProcessHeapInUse();
    const int probes = 500;
    const SIZE_T systemKeeps = SystemKeepsOfStatics(dialog, probes) * g_staticsClosed / probes;
    EXPECT_GT(g_staticsClosed, 50 * 10);
    EXPECT_LE(heapAfter, heapBefore + 4096 + systemKeeps) << "the system keeps " << systemKeeps;
}

}  // namespace
