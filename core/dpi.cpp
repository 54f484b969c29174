#include "core/dpi.h"

#include "core/handles.h"

namespace {

// The group-icon directory as resources store it (entries name images by resource id).
#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width;
    BYTE height;
    BYTE colours;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
struct GroupIconHeader {
    WORD reserved;
    WORD type;
    WORD count;
};
#pragma pack(pop)

// The smallest image's size: the one drawn for 96 DPI. {0, 0} when there is no icon.
SIZE BaseIconSize(HINSTANCE instance, int id)
{
    SIZE size = {0, 0};
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(id), RT_GROUP_ICON);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const auto* header = static_cast<const GroupIconHeader*>(loaded ? LockResource(loaded) : nullptr);
    if (!header || SizeofResource(instance, found) < sizeof(GroupIconHeader))
        return size;
    const auto* entries = reinterpret_cast<const GroupIconEntry*>(header + 1);
    const DWORD room = (SizeofResource(instance, found) - sizeof(GroupIconHeader)) / sizeof(GroupIconEntry);
    for (DWORD i = 0; i < header->count && i < room; ++i) {
        // A stored 0 means 256 pixels.
        const LONG width = entries[i].width ? entries[i].width : 256;
        const LONG height = entries[i].height ? entries[i].height : 256;
        if (size.cx == 0 || width * height < size.cx * size.cy)
            size = SIZE{width, height};
    }
    return size;
}

}  // namespace

int ReadScreenDpi()
{
    WindowDC screen(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : kBaseDpi;
}

HICON LoadIconForDpi(HINSTANCE instance, int id, int dpi)
{
    const SIZE base = BaseIconSize(instance, id);
    if (base.cx == 0)
        return nullptr;
    return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, ScaleToDpi(base.cx, dpi),
                                         ScaleToDpi(base.cy, dpi), LR_DEFAULTCOLOR));
}
