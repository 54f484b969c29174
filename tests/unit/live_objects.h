// What a process holds that a leak would make grow: GDI objects, menus, process-heap bytes.
#pragma once
#include <windows.h>

// GetGuiResources is a stub in Wine (always 0). There a GDI or menu handle whose high word is
// zero stands for whatever lives in its slot, so probing the 16-bit handle space counts them.
inline DWORD LiveGdiObjects()
{
    if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS))
        return n;
    DWORD n = 0;
    for (ULONG_PTR h = 1; h < 0x10000; ++h)
        n += GetObjectType(reinterpret_cast<HGDIOBJ>(h)) != 0;
    return n;
}

inline DWORD LiveMenus()
{
    DWORD n = 0;
    for (ULONG_PTR h = 1; h < 0x10000; ++h)
        n += IsMenu(reinterpret_cast<HMENU>(h)) != FALSE;
    return n;
}

inline SIZE_T ProcessHeapInUse()
{
    HANDLE heap = GetProcessHeap();
    SIZE_T total = 0;
    PROCESS_HEAP_ENTRY entry = {};
    HeapLock(heap);
    while (HeapWalk(heap, &entry))
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
            total += entry.cbData;
    HeapUnlock(heap);
    return total;
}
