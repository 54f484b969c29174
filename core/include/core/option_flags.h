// The user's options as bits of one word, each bit with at most one live change callback.
#pragma once
#include <cstdint>

enum OptionBit : uint32_t {
    RealTimeUpdate = 0x001,
    AlwaysOnTop = 0x002,
    ShowColors = 0x004,
    HexUpperCase = 0x010,
    UseHexPrefix = 0x020,
    NamedColorsLowerCase = 0x040,
    AlwaysShowStatusIcon = 0x080,
    DisplayHexValues = 0x100,
};

// Receives the bit's new state (0 or 1) and the entry's user data; the result is ignored.
typedef int (*OptionCallback)(int state, void* userData);

struct OptionCallbackEntry {
    uint32_t key;  // notified only for exactly this mask
    OptionCallback callback;
    void* userData;
};

// Plain record: lives zero-filled inside a heap-allocated owner, so no constructors.
struct OptionFlags {
    uint32_t flags;
    uint32_t entryCount;
    OptionCallbackEntry* entries;  // process heap, grows by one per registration

    bool Test(uint32_t mask) const;
    bool Assign(uint32_t mask, bool on);
    bool Set(uint32_t mask) { return Assign(mask, true); }
    bool Clear(uint32_t mask) { return Assign(mask, false); }
    void Notify(uint32_t mask);
    // A null callback removes the first entry with that key (the last entry takes its place).
    bool RegisterCallback(uint32_t mask, OptionCallback callback, void* userData);
    // Frees the entry array; the owner calls it when it goes away.
    void Release();
};
