#include "settings/pick_key.h"

#include <cstring>

UINT PickKeyModifiers(uint32_t key)
{
    const UINT flags = key >> 8 & 0xFF;
    UINT modifiers = 0;
    if (flags & HOTKEYF_ALT)
        modifiers |= MOD_ALT;
    if (flags & HOTKEYF_CONTROL)
        modifiers |= MOD_CONTROL;
    if (flags & HOTKEYF_SHIFT)
        modifiers |= MOD_SHIFT;
    if (key & PICK_KEY_WIN)
        modifiers |= MOD_WIN;
    return modifiers;
}

uint32_t PickKeyFromControl(WORD hotKey, bool windowsKey)
{
    const UINT vk = LOBYTE(hotKey), flags = HIBYTE(hotKey);
    if (!vk)
        return 0;
    // A letter or digit alone, or with only Shift, would be taken from every program's typing:
    // such a key gets Ctrl+Alt, as the hot-key control's own rules would give it. Function keys
    // are nobody's typing.
    const bool functionKey = vk >= VK_F1 && vk <= VK_F24;
    if (!windowsKey && !functionKey && !(flags & (HOTKEYF_CONTROL | HOTKEYF_ALT)))
        hotKey = MAKEWORD(vk, flags | HOTKEYF_CONTROL | HOTKEYF_ALT);
    return hotKey | (windowsKey ? static_cast<uint32_t>(PICK_KEY_WIN) : 0u);
}

bool RegisterPickKey(PickKeySetting* setting, uint32_t key)
{
    UnregisterPickKey(setting);
    setting->key = key & PICK_KEY_MASK;
    setting->taken =
        setting->key != 0 &&
        !RegisterHotKey(setting->window, PICK_HOTKEY_ID, PickKeyModifiers(setting->key), setting->key & 0xFF);
    return !setting->taken;
}

void UnregisterPickKey(PickKeySetting* setting)
{
    // Unregistering a key the window does not hold does nothing.
    UnregisterHotKey(setting->window, PICK_HOTKEY_ID);
}

namespace {

void Append(char* text, size_t size, const char* part)
{
    const size_t used = strlen(text);
    if (used + 1 < size)
        lstrcpynA(text + used, part, static_cast<int>(size - used));
}

}  // namespace

void FormatPickKeyName(uint32_t key, char* text, size_t size)
{
    if (!size)
        return;
    text[0] = '\0';
    const UINT vk = key & 0xFF;
    if (!vk)
        return;
    const UINT flags = key >> 8 & 0xFF;
    if (key & PICK_KEY_WIN)
        Append(text, size, "Win+");
    if (flags & HOTKEYF_CONTROL)
        Append(text, size, "Ctrl+");
    if (flags & HOTKEYF_ALT)
        Append(text, size, "Alt+");
    if (flags & HOTKEYF_SHIFT)
        Append(text, size, "Shift+");
    // Letters and digits are their own names in every layout; the keyboard names the rest.
    char name[64] = "";
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) {
        name[0] = static_cast<char>(vk);
    } else {
        LONG scan = static_cast<LONG>(MapVirtualKeyA(vk, 0)) << 16;
        if (flags & HOTKEYF_EXT)
            scan |= 1 << 24;
        if (!GetKeyNameTextA(scan, name, sizeof(name)))
            wsprintfA(name, "Key %u", vk);
    }
    Append(text, size, name);
}
