// The user's options: as bits of one word, each bit with at most one live change callback, and
// each described once, with where it is kept and shown.
#pragma once
#include <cstddef>
#include <cstdint>

#include "core/handles.h"
#include "resources/resource.h"

enum OptionBit : uint32_t {
    RealTimeUpdate = 0x001,
    AlwaysOnTop = 0x002,
    ShowColors = 0x004,
    HexUpperCase = 0x010,
    UseHexPrefix = 0x020,
    NamedColorsLowerCase = 0x040,
    AlwaysShowStatusIcon = 0x080,
    DisplayHexValues = 0x100,
    FreezeGrab = 0x200,
    CopyOnPick = 0x400,
};

// An option: its bit, the registry value that keeps it between runs (one byte, REG_BINARY; any
// byte but 0 reads as set), what a first start uses, and its check box on the settings page (0:
// the main window's own controls set it).
struct OptionDescription {
    uint32_t bit;
    const char* registryName;
    bool byDefault;
    int settingsBox;
};

// Every option, in the order a start applies them: staying on top comes first, before anything
// that shows or moves the window; the settings page lists its boxes in this order too.
inline constexpr OptionDescription kOptions[] = {
    {AlwaysOnTop, "AlwaysOnTop", false, 0},
    {RealTimeUpdate, "RealTimeUpdate", true, IDC_OPT_REALTIME},
    {ShowColors, "ShowColors", true, 0},
    {HexUpperCase, "HexUpperCase", true, IDC_OPT_UPPERCASE},
    {UseHexPrefix, "UseHexPrefix", true, IDC_OPT_PREFIX},
    {NamedColorsLowerCase, "NamedColorsLowerCase", false, IDC_OPT_NAMED_LOWER},
    {AlwaysShowStatusIcon, "AlwaysShowStatusIcon", true, IDC_OPT_STATUS_ICON},
    {DisplayHexValues, "DisplayHexValues", true, IDC_OPT_DISPLAY_HEX},
    {FreezeGrab, "FreezeGrab", false, IDC_OPT_FREEZE_GRAB},
    {CopyOnPick, "CopyOnPick", true, IDC_OPT_COPY_ON_PICK},
};
constexpr size_t kOptionCount = sizeof(kOptions) / sizeof(kOptions[0]);

// The option's place in kOptions; -1 for a bit no option has.
constexpr int OptionIndex(uint32_t bit)
{
    for (size_t i = 0; i < kOptionCount; ++i)
        if (kOptions[i].bit == bit)
            return static_cast<int>(i);
    return -1;
}

// Receives the bit's new state (0 or 1) and the entry's user data; the result is ignored.
typedef int (*OptionCallback)(int state, void* userData);

struct OptionCallbackEntry {
    uint32_t key;  // notified only for exactly this mask
    OptionCallback callback;
    void* userData;
};

// Lives zero-filled inside a window's record.
struct OptionFlags {
    uint32_t flags;
    uint32_t entryCount;
    HeapBlock<OptionCallbackEntry> entries;  // grows by one per registration

    bool Test(uint32_t mask) const;
    bool Assign(uint32_t mask, bool on);
    bool Set(uint32_t mask) { return Assign(mask, true); }
    bool Clear(uint32_t mask) { return Assign(mask, false); }
    void Notify(uint32_t mask);
    // A null callback removes the first entry with that key (the last entry takes its place).
    bool RegisterCallback(uint32_t mask, OptionCallback callback, void* userData);
    // Lets go of every entry.
    void Release();
};
