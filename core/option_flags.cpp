#include "core/option_flags.h"

#include <windows.h>

bool OptionFlags::Test(uint32_t mask) const
{
    return (flags & mask) != 0;
}

bool OptionFlags::Assign(uint32_t mask, bool on)
{
    bool previous = Test(mask);
    if (on)
        flags |= mask;
    else
        flags &= ~mask;
    // Always notify: callers rely on the side effect being applied even without a change.
    Notify(mask);
    return previous;
}

void OptionFlags::Notify(uint32_t mask)
{
    for (uint32_t i = 0; i < entryCount; ++i) {
        if (entries[i].key == mask) {
            entries[i].callback(Test(mask) ? 1 : 0, entries[i].userData);
            return;
        }
    }
}

bool OptionFlags::RegisterCallback(uint32_t mask, OptionCallback callback, void* userData)
{
    if (!callback) {
        for (uint32_t i = 0; i < entryCount; ++i) {
            if (entries[i].key == mask) {
                entries[i] = entries[entryCount - 1];
                --entryCount;
                break;
            }
        }
        return false;
    }

    if (entries.Count() <= entryCount && !entries.Grow(entryCount + 1))
        return false;
    entries[entryCount] = OptionCallbackEntry{mask, callback, userData};
    ++entryCount;
    return true;
}

void OptionFlags::Release()
{
    entries.Free();
    entryCount = 0;
}
