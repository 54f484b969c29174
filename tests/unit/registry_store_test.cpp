// The registry table routines and the stored settings, against the test prefix's real registry.
#include "settings/registry_store.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "resources/resource.h"
#include "shell/main_dialog.h"
#include "tests/unit/main_dialog_fixture.h"

namespace {

const char kTestKey[] = "Software\\Ostrel\\TintoraRegistryTest";

// Stores one value under HKEY_CURRENT_USER\keyPath, making the key when needed.
void PutValue(const char* keyPath, const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size));
    RegCloseKey(key);
}

// The settings under HKEY_CURRENT_USER\keyPath read through the program's table over the
// defaults; *opened says whether the key could be read.
StoredSettings ReadSettings(const char* keyPath, bool* opened = nullptr)
{
    StoredSettings s = DefaultSettings();
    RegistryValueEntry table[SETTINGS_ROW_COUNT];
    MakeSettingsTable(&s, table);
    bool result = ReadRegistryTable(HKEY_CURRENT_USER, keyPath, table, SETTINGS_ROW_COUNT);
    if (opened)
        *opened = result;
    return s;
}

class RegistryStoreTest : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey); }
    void TearDown() override { RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey); }

    void Put(const char* name, DWORD type, const void* data, DWORD size)
    {
        PutValue(kTestKey, name, type, data, size);
    }
    StoredSettings Read(bool* opened = nullptr) { return ReadSettings(kTestKey, opened); }
};

bool SameSettings(const StoredSettings& a, const StoredSettings& b)
{
    return a.lastColor == b.lastColor && a.backgroundColor == b.backgroundColor &&
           a.sliderMode == b.sliderMode && a.windowX == b.windowX && a.windowY == b.windowY &&
           a.grabSampleSize == b.grabSampleSize && a.pickKey == b.pickKey && a.copyFormat == b.copyFormat &&
           memcmp(a.options, b.options, sizeof(a.options)) == 0;
}

TEST_F(RegistryStoreTest, MissingKeyKeepsEveryDefault)
{
    bool opened = true;
    StoredSettings s = Read(&opened);
    EXPECT_FALSE(opened);
    EXPECT_TRUE(SameSettings(DefaultSettings(), s));
    // Reading never creates the key.
    HKEY key;
    EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, &key));
}

TEST_F(RegistryStoreTest, WrongSizedOrMissingValuesKeepTheirDefaults)
{
    const DWORD four = 1, color = 0x123456;
    const BYTE one = 0;
    Put("AlwaysOnTop", REG_DWORD, &four, 4);  // a boolean row holds one byte
    Put("LastColor", REG_BINARY, &color, 4);  // the type is not compared
    Put("RealTimeUpdate", REG_BINARY, &one, 1);
    Put("MainWindowXPos", REG_DWORD, &color, 4);  // Y stays missing
    bool opened = false;
    StoredSettings s = Read(&opened);
    EXPECT_TRUE(opened);
    EXPECT_FALSE(s.IsSet(AlwaysOnTop));
    EXPECT_EQ(0x123456u, s.lastColor);
    EXPECT_FALSE(s.IsSet(RealTimeUpdate));
    EXPECT_EQ(0x123456, s.windowX);
    EXPECT_EQ(POSITION_NOT_STORED, s.windowY);
    EXPECT_TRUE(s.IsSet(ShowColors));
}

TEST_F(RegistryStoreTest, EveryValueRoundTripsUnderItsName)
{
    // Ctrl+Alt+F9 with the Windows key.
    StoredSettings written = {0xABCDEF, 0x102030, 4, -32000, -32000, 5, 0x10678, 613, {}};
    for (uint32_t bit : {AlwaysOnTop, NamedColorsLowerCase, FreezeGrab, CopyOnPick})
        written.SetOption(bit, true);
    RegistryValueEntry table[SETTINGS_ROW_COUNT];
    MakeSettingsTable(&written, table);
    ASSERT_TRUE(WriteRegistryTable(HKEY_CURRENT_USER, kTestKey, table, SETTINGS_ROW_COUNT));
    for (const auto& row : table)
        EXPECT_EQ(REGISTRY_ROW_DONE, row.status) << row.name;
    EXPECT_TRUE(SameSettings(written, Read()));

    // Each under the name other programs and earlier versions know it by: the options one-byte
    // binary values, the others dwords.
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, &key));
    const struct {
        const char* name;
        DWORD type, size, value;
    } stored[] = {
        {"LastColor", REG_DWORD, 4, 0xABCDEF},
        {"BackgroundColor", REG_DWORD, 4, 0x102030},
        {"SliderMode", REG_DWORD, 4, 4},
        {"AlwaysOnTop", REG_BINARY, 1, 1},
        {"RealTimeUpdate", REG_BINARY, 1, 0},
        {"ShowColors", REG_BINARY, 1, 0},
        {"HexUpperCase", REG_BINARY, 1, 0},
        {"UseHexPrefix", REG_BINARY, 1, 0},
        {"NamedColorsLowerCase", REG_BINARY, 1, 1},
        {"AlwaysShowStatusIcon", REG_BINARY, 1, 0},
        {"DisplayHexValues", REG_BINARY, 1, 0},
        {"MainWindowYPos", REG_DWORD, 4, static_cast<DWORD>(-32000)},
        {"FreezeGrab", REG_BINARY, 1, 1},
        {"GrabSampleSize", REG_DWORD, 4, 5},
        {"PickHotKey", REG_DWORD, 4, 0x10678},
        {"CopyFormat", REG_DWORD, 4, 613},
        {"CopyOnPick", REG_BINARY, 1, 1},
    };
    for (const auto& expected : stored) {
        DWORD type = 0, size = sizeof(DWORD), value = 0;
        EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, expected.name, nullptr, &type,
                                                  reinterpret_cast<BYTE*>(&value), &size))
            << expected.name;
        EXPECT_EQ(expected.type, type) << expected.name;
        EXPECT_EQ(expected.size, size) << expected.name;
        EXPECT_EQ(expected.value, value) << expected.name;
    }
    RegCloseKey(key);
}

TEST_F(RegistryStoreTest, CustomFormatsSkipJunkRoundTripAndStopAtTwenty)
{
    // Stored by hand: two formats with junk around them.
    const char stored[] = "C#\tColor.FromArgb({r}, {g}, {b})\0no tab\0\tno name\0Bad\t{red}\0Empty\t\0"
                          "Hex\t#{RX}{GX}{BX}\0";
    Put("CustomFormats", REG_MULTI_SZ, stored, sizeof(stored));
    CustomFormats formats = {};
    ReadCustomFormats(HKEY_CURRENT_USER, kTestKey, &formats);
    ASSERT_EQ(2u, formats.count);
    EXPECT_STREQ("C#", formats.items[0].name);
    EXPECT_STREQ("Color.FromArgb({r}, {g}, {b})", formats.items[0].templ);
    EXPECT_STREQ("Hex", formats.items[1].name);
    EXPECT_STREQ("#{RX}{GX}{BX}", formats.items[1].templ);

    // Written back: the two lines and the list's end, as REG_MULTI_SZ.
    ASSERT_TRUE(WriteCustomFormats(HKEY_CURRENT_USER, kTestKey, &formats));
    char raw[256] = {};
    DWORD type = 0, size = sizeof(raw);
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, &key));
    EXPECT_EQ(ERROR_SUCCESS,
              RegQueryValueExA(key, "CustomFormats", nullptr, &type, reinterpret_cast<BYTE*>(raw), &size));
    RegCloseKey(key);
    EXPECT_EQ(static_cast<DWORD>(REG_MULTI_SZ), type);
    const char expected[] = "C#\tColor.FromArgb({r}, {g}, {b})\0Hex\t#{RX}{GX}{BX}\0";
    ASSERT_EQ(sizeof(expected), size);
    EXPECT_EQ(0, memcmp(expected, raw, size));

    // Twenty-five stored: the first twenty are read.
    std::string many;
    for (int i = 0; i < 25; ++i)
        many += "F" + std::to_string(i) + "\t{int}" + std::string(1, '\0');
    many += '\0';
    Put("CustomFormats", REG_MULTI_SZ, many.data(), static_cast<DWORD>(many.size()));
    ReadCustomFormats(HKEY_CURRENT_USER, kTestKey, &formats);
    ASSERT_EQ(20u, formats.count);
    EXPECT_STREQ("F19", formats.items[19].name);

    // Junk first and long templates after it: more bytes than twenty formats can hold, all read.
    std::string large = std::string(3000, 'j') + '\0';
    for (int i = 0; i < 25; ++i)
        large += "L" + std::to_string(i) + "\t{int}" + std::string(240, '.') + '\0';
    large += '\0';
    Put("CustomFormats", REG_MULTI_SZ, large.data(), static_cast<DWORD>(large.size()));
    ReadCustomFormats(HKEY_CURRENT_USER, kTestKey, &formats);
    ASSERT_EQ(20u, formats.count);
    EXPECT_STREQ("L19", formats.items[19].name);
}

TEST_F(RegistryStoreTest, TextRowsAreTerminated)
{
    Put("Name", REG_SZ, "abcdef", 6);  // stored without its terminator
    char buffer[16];
    memset(buffer, 'x', sizeof buffer);
    RegistryValueEntry row = {"Name", REGISTRY_TEXT_ROW, REG_SZ, sizeof buffer, buffer, 0};
    ASSERT_TRUE(ReadRegistryTable(HKEY_CURRENT_USER, kTestKey, &row, 1));
    EXPECT_STREQ("abcdef", buffer);

    char small[4];
    RegistryValueEntry tooSmall = {"Name", REGISTRY_TEXT_ROW, REG_SZ, sizeof small, small, 0};
    strcpy(small, "old");
    ReadRegistryTable(HKEY_CURRENT_USER, kTestKey, &tooSmall, 1);
    EXPECT_STREQ("old", small);
}

// The stored settings as the main dialog applies them.
class StoredSettingsDialogTest : public MainDialogFixture {
protected:
    // The dialog is made by each test, once it has stored what the start is to find.
    void SetUp() override { ResetStoredState(); }
    void TearDown() override
    {
        Destroy();
        RegDeleteKeyA(HKEY_CURRENT_USER, SETTINGS_KEY);
    }

    void Put(const char* name, DWORD type, const void* data, DWORD size)
    {
        PutValue(SETTINGS_KEY, name, type, data, size);
    }

    AppState* Open()
    {
        Create();
        return state;
    }
};

TEST_F(StoredSettingsDialogTest, FirstStartUsesTheDefaults)
{
    AppState* state = Open();
    ASSERT_NE(nullptr, state);
    EXPECT_EQ(0xFFFFFFu, state->currentColor.GetRgb());
    EXPECT_EQ(0u, state->sliderMode);
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, IDC_MODE_RED));
    EXPECT_EQ(0x001u | 0x004 | 0x010 | 0x020 | 0x080 | 0x100 | 0x400, state->options.flags);
    // Win+Shift+C picks from anywhere.
    EXPECT_EQ(0x10143u, state->pickKey.key);
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, IDC_COLORS));
    RECT r;
    GetWindowRect(dialog, &r);
    EXPECT_EQ(state->expandedSize.cx, r.right - r.left);
}

TEST_F(StoredSettingsDialogTest, StayOnTopStoredSetIsTopmostBeforeTheFirstShow)
{
    const BYTE one = 1;
    Put("AlwaysOnTop", REG_BINARY, &one, 1);
    AppState* state = Open();
    ASSERT_NE(nullptr, state);
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, IDC_STAY_ON_TOP));
}

TEST_F(StoredSettingsDialogTest, OddStoredValuesAreReadAsTheUserMeantThem)
{
    const BYTE five = 5, zero = 0;
    const DWORD nine = 9, one = 1;
    Put("ShowColors", REG_BINARY, &five, 1);  // any non-zero byte is set
    Put("SliderMode", REG_DWORD, &nine, 4);   // unknown axis: red
    Put("AlwaysOnTop", REG_DWORD, &one, 4);   // wrong size: ignored
    Put("DisplayHexValues", REG_BINARY, &zero, 1);
    AppState* state = Open();
    ASSERT_NE(nullptr, state);
    EXPECT_TRUE(state->options.Test(ShowColors));
    EXPECT_EQ(0u, state->sliderMode);
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, IDC_MODE_RED));
    EXPECT_FALSE(state->options.Test(AlwaysOnTop));
    EXPECT_FALSE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(state->options.Test(DisplayHexValues));
    EXPECT_EQ(0, GetWindowLongA(GetDlgItem(dialog, IDC_CURRENT_SWATCH), GWL_STYLE) & FCS_HEX);
}

TEST_F(StoredSettingsDialogTest, TheGrabsSampleSizeIsOneThreeOrFiveAndAnythingElseIsOne)
{
    const struct {
        DWORD type, size, value;
        uint32_t read;
    } stored[] = {
        {REG_DWORD, 4, 3, 3},  {REG_DWORD, 4, 5, 5}, {REG_DWORD, 4, 1, 1}, {REG_DWORD, 4, 0, 1},
        {REG_DWORD, 4, 2, 1},  {REG_DWORD, 4, 4, 1}, {REG_DWORD, 4, 7, 1}, {REG_DWORD, 4, 0xFFFFFFFF, 1},
        {REG_BINARY, 1, 5, 1}, {REG_NONE, 0, 0, 1},  // none stored
    };
    for (const auto& value : stored) {
        SCOPED_TRACE(value.value);
        ResetStoredState();
        if (value.size)
            Put("GrabSampleSize", value.type, &value.value, value.size);
        AppState* state = Open();
        ASSERT_NE(nullptr, state);
        EXPECT_EQ(value.read, state->grabber.sampleSize);
        Destroy();
        // What the end writes back is sound.
        EXPECT_EQ(value.read, ReadSettings(SETTINGS_KEY).grabSampleSize);
    }
}

TEST_F(StoredSettingsDialogTest, TheCopyFormatIsKeptWhileItsFormatIsThereAndIsHexOtherwise)
{
    const char oneFormat[] = "C#\tColor.FromArgb({r}, {g}, {b})\0";
    const struct {
        DWORD stored;
        uint32_t read;
    } formats[] = {{613, 613}, {640, 640}, {641, 600}, {607, 600}, {0, 600}, {606, 606}};
    for (const auto& format : formats) {
        SCOPED_TRACE(format.stored);
        ResetStoredState();
        Put("CustomFormats", REG_MULTI_SZ, oneFormat, sizeof(oneFormat));
        Put("CopyFormat", REG_DWORD, &format.stored, 4);
        AppState* state = Open();
        ASSERT_NE(nullptr, state);
        EXPECT_EQ(format.read, state->copyFormat);
        EXPECT_EQ(1u, state->formats.count);
        Destroy();
        EXPECT_EQ(format.read, ReadSettings(SETTINGS_KEY).copyFormat);
    }
}

TEST_F(StoredSettingsDialogTest, PositionIsAppliedOnlyWhenWholeAndOnAMonitor)
{
    const DWORD x = 40, y = 30;
    Put("MainWindowXPos", REG_DWORD, &x, 4);
    Put("MainWindowYPos", REG_DWORD, &y, 4);
    ASSERT_NE(nullptr, Open());
    RECT r;
    GetWindowRect(dialog, &r);
    EXPECT_EQ(40, r.left);
    EXPECT_EQ(30, r.top);
    Destroy();

    // Without a stored position, the window's place is the one it is created at.
    ResetStoredState();
    ASSERT_NE(nullptr, Open());
    RECT created;
    GetWindowRect(dialog, &created);
    Destroy();

    const LONG offscreen = -32000;
    Put("MainWindowXPos", REG_DWORD, &offscreen, 4);
    Put("MainWindowYPos", REG_DWORD, &offscreen, 4);
    ASSERT_NE(nullptr, Open());
    GetWindowRect(dialog, &r);
    EXPECT_EQ(created.left, r.left) << "stays where it is rather than lost off screen";
    EXPECT_EQ(created.top, r.top);
    Destroy();

    // Half a position is no position: X alone leaves the window where it is.
    ResetStoredState();
    Put("MainWindowXPos", REG_DWORD, &x, 4);
    ASSERT_NE(nullptr, Open());
    GetWindowRect(dialog, &r);
    EXPECT_EQ(created.left, r.left);
    EXPECT_EQ(created.top, r.top);
}

TEST_F(StoredSettingsDialogTest, CloseWritesTheStateAndTheNextStartRestoresIt)
{
    AppState* state = Open();
    ASSERT_NE(nullptr, state);
    state->currentColor.SetRgb(0x336699);
    SendDlgItemMessageA(dialog, IDC_MODE_HUE, BM_CLICK, 0, 0);
    SendDlgItemMessageA(dialog, IDC_STAY_ON_TOP, BM_CLICK, 0, 0);
    SendDlgItemMessageA(dialog, IDC_COLORS, BM_CLICK, 0, 0);  // collapse
    state->options.Assign(HexUpperCase, false);
    SetWindowPos(dialog, nullptr, 60, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(dialog, SW_MINIMIZE);  // the restored place is what counts
    Destroy();

    state = Open();
    ASSERT_NE(nullptr, state);
    EXPECT_EQ(0x336699u, state->currentColor.GetRgb());
    EXPECT_EQ(3u, state->sliderMode);
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, IDC_MODE_HUE));
    EXPECT_TRUE(state->options.Test(AlwaysOnTop));
    EXPECT_FALSE(state->options.Test(ShowColors));
    EXPECT_FALSE(state->options.Test(HexUpperCase));
    RECT r;
    GetWindowRect(dialog, &r);
    EXPECT_EQ(60, r.left);
    EXPECT_EQ(50, r.top);
    EXPECT_EQ(state->collapsedSize.cx, r.right - r.left);
}

TEST_F(StoredSettingsDialogTest, EndOfSessionSavesLikeAClose)
{
    AppState* state = Open();
    ASSERT_NE(nullptr, state);
    state->currentColor.SetRgb(0x0A0B0C);
    SendMessageA(dialog, WM_QUERYENDSESSION, 0, 0);
    SendMessageA(dialog, WM_ENDSESSION, TRUE, 0);

    bool opened = false;
    const StoredSettings s = ReadSettings(SETTINGS_KEY, &opened);
    ASSERT_TRUE(opened);
    EXPECT_EQ(0x0A0B0Cu, s.lastColor);
}

}  // namespace
