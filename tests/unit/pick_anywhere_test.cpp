// The pieces of a pick from anywhere that need no screen: the key's forms and name, the status
// icon's tip and menu, and the command line that asks for a pick.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "resources/resource.h"
#include "settings/pick_key.h"
#include "shell/main_dialog_internal.h"
#include "shell/status_icon.h"

namespace {

TEST(PickKey, EachStoredKeyRegistersWithItsModifiersAndIsNamedAsMenusNameKeys)
{
    const struct {
        uint32_t key;
        UINT modifiers;
        const char* name;
    } keys[] = {
        {DEFAULT_PICK_KEY, MOD_WIN | MOD_SHIFT, "Win+Shift+C"},
        {HOTKEYF_CONTROL << 8 | HOTKEYF_ALT << 8 | VK_F9, MOD_CONTROL | MOD_ALT, "Ctrl+Alt+F9"},
        {PICK_KEY_WIN | HOTKEYF_CONTROL << 8 | '7', MOD_WIN | MOD_CONTROL, "Win+Ctrl+7"},
        {HOTKEYF_ALT << 8 | HOTKEYF_SHIFT << 8 | 'Z', MOD_ALT | MOD_SHIFT, "Alt+Shift+Z"},
        {0, 0, ""},
    };
    for (const auto& k : keys) {
        EXPECT_EQ(PickKeyModifiers(k.key), k.modifiers) << k.name;
        char name[64] = "x";
        FormatPickKeyName(k.key, name, sizeof(name));
        EXPECT_STREQ(name, k.name);
    }
    // The field and the Windows box: modifiers without a key are no key; a key that would take a
    // character from all typing gets Ctrl+Alt, a function key alone stays alone.
    const struct {
        WORD field;
        bool windowsKey;
        uint32_t key;
    } fields[] = {
        {HOTKEYF_SHIFT << 8, true, 0},
        {HOTKEYF_SHIFT << 8 | 'C', true, DEFAULT_PICK_KEY},
        {HOTKEYF_SHIFT << 8 | 'C', false, (HOTKEYF_SHIFT | HOTKEYF_CONTROL | HOTKEYF_ALT) << 8 | 'C'},
        {'C', false, (HOTKEYF_CONTROL | HOTKEYF_ALT) << 8 | 'C'},
        {HOTKEYF_ALT << 8 | 'C', false, HOTKEYF_ALT << 8 | 'C'},
        {VK_F8, false, VK_F8},
        {'C', true, PICK_KEY_WIN | 'C'},
    };
    for (const auto& f : fields)
        EXPECT_EQ(PickKeyFromControl(f.field, f.windowsKey), f.key)
            << f.field << (f.windowsKey ? " with Win" : "");
    // A name cut to the buffer stays terminated.
    char shortName[6];
    FormatPickKeyName(DEFAULT_PICK_KEY, shortName, sizeof(shortName));
    EXPECT_STREQ(shortName, "Win+S");
}

TEST(StatusTip, NamesTheLastPickWhileHiddenElseATakenKeyElseTheProduct)
{
    const struct {
        bool hidden, hasPick, keyTaken;
        const char* tip;
    } cases[] = {
        {true, true, false, "Ostrel Tintora - #0A0B0C"},
        {true, true, true, "Ostrel Tintora - #0A0B0C"},
        {false, true, true, "Ostrel Tintora (pick key taken)"},
        {true, false, true, "Ostrel Tintora (pick key taken)"},
        {false, true, false, "Ostrel Tintora"},
        {true, false, false, "Ostrel Tintora"},
    };
    for (const auto& c : cases) {
        char tip[STATUS_TIP_SIZE];
        ComposeStatusTip(tip, c.hidden, c.hasPick, 0x0A0B0C, c.keyTaken);
        EXPECT_STREQ(tip, c.tip);
    }
}

std::string ItemText(HMENU menu, int position)
{
    char text[128] = "";
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof(text), MF_BYPOSITION);
    return text;
}

TEST(StatusMenu, PicksWithItsKeyNamedShowsTheWindowByDefaultAndExits)
{
    for (uint32_t key : {static_cast<uint32_t>(DEFAULT_PICK_KEY), 0u}) {
        HMENU menu = CreateStatusMenu(GetModuleHandleA(nullptr), key);
        ASSERT_TRUE(menu);
        ASSERT_EQ(GetMenuItemCount(menu), 4);
        EXPECT_EQ(GetMenuItemID(menu, 0), static_cast<UINT>(IDM_PICK_COLOR));
        EXPECT_EQ(ItemText(menu, 0), key ? "&Pick Color\tWin+Shift+C" : "&Pick Color");
        EXPECT_EQ(GetMenuItemID(menu, 1), static_cast<UINT>(IDM_SHOW_TINTORA));
        EXPECT_EQ(ItemText(menu, 1), "&Show Tintora");
        EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), static_cast<UINT>(IDM_SHOW_TINTORA));
        EXPECT_TRUE(GetMenuState(menu, 2, MF_BYPOSITION) & MF_SEPARATOR);
        EXPECT_EQ(GetMenuItemID(menu, 3), static_cast<UINT>(IDM_EXIT));
        EXPECT_EQ(ItemText(menu, 3), "E&xit");
        DestroyMenu(menu);
    }
}

TEST(CommandLine, OnlyTheWordPickAfterASlashOrADashAsksForAPick)
{
    for (const char* line : {"/pick", "-pick", "/PICK", "  /Pick\t ", "-pIcK  "})
        EXPECT_TRUE(AsksForPick(line)) << line;
    for (const char* line : {"", "pick", "/pic", "/pickle", "/pick x", "//pick", "/ pick", "-p"})
        EXPECT_FALSE(AsksForPick(line)) << line;
}

}  // namespace
