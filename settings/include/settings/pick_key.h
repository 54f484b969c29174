// The system-wide key that starts a pick from anywhere: how it is stored, registered and named.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <cstdint>

// A stored key: the low word as the hot-key control gives it (virtual key in the low byte,
// HOTKEYF_ modifiers in the high byte), and this bit for the Windows key, which the control
// cannot show. 0: no key.
enum : uint32_t {
    PICK_KEY_WIN = 0x10000,
    PICK_KEY_MASK = PICK_KEY_WIN | 0xFFFF,
    DEFAULT_PICK_KEY = PICK_KEY_WIN | HOTKEYF_SHIFT << 8 | 'C',
};

// The id the key is registered under for its window.
enum { PICK_HOTKEY_ID = 1 };

// The key a window holds: what the user chose, and whether another program has it.
struct PickKeySetting {
    HWND window;   // gets WM_HOTKEY
    uint32_t key;  // as stored
    BYTE taken;    // the key is set but could not be registered
};

// RegisterHotKey's modifiers for a stored key.
UINT PickKeyModifiers(uint32_t key);
// The stored key a hot-key control's value and the Windows box make; no key without a key, and
// Ctrl+Alt added to one that would take a character from everyone's typing.
uint32_t PickKeyFromControl(WORD hotKey, bool windowsKey);

// Lets go of the window's key and registers `key` instead; false (and `taken` set) when
// another program holds it. No key always succeeds.
bool RegisterPickKey(PickKeySetting* setting, uint32_t key);
void UnregisterPickKey(PickKeySetting* setting);

// "Win+Shift+C": as menus name their keys; empty for no key.
void FormatPickKeyName(uint32_t key, char* text, size_t size);
