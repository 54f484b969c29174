// Owners of Win32 handles by type: each lets go of what it holds when it goes, so no path
// through a function leaves a DC, a GDI object or a heap block behind, and an object kept across
// messages has its one owner in a window's record. None is copyable; an owner can hand its
// handle on.
#pragma once
#include <windows.h>

#include <cstddef>
#include <new>

// A handle freed by Traits::Free; empty when null. Zero-filled memory is an empty owner, so it
// can live in a window's zero-filled record.
template <typename Handle, typename Traits>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        Reset(other.Release());
        return *this;
    }

    Handle Get() const { return handle_; }
    operator Handle() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    // Frees what it holds and takes `handle` instead.
    void Reset(Handle handle = nullptr)
    {
        if (handle_ && handle_ != handle)
            Traits::Free(handle_);
        handle_ = handle;
    }
    // Hands the handle on; the owner is empty afterwards.
    Handle Release()
    {
        Handle handle = handle_;
        handle_ = nullptr;
        return handle;
    }

private:
    Handle handle_ = nullptr;
};

struct GdiObjectTraits {
    static void Free(HGDIOBJ object) { DeleteObject(object); }
};
struct MemoryDcTraits {
    static void Free(HDC dc) { DeleteDC(dc); }
};
struct IconTraits {
    static void Free(HICON icon) { DestroyIcon(icon); }
};
struct CursorTraits {
    static void Free(HCURSOR cursor) { DestroyCursor(cursor); }
};
struct MenuTraits {
    static void Free(HMENU menu) { DestroyMenu(menu); }
};

// A pen, brush, font, bitmap or region made by the program.
template <typename T>
using GdiObject = UniqueHandle<T, GdiObjectTraits>;
// A DC made with CreateCompatibleDC; deleting it lets go of what is selected into it.
using MemoryDC = UniqueHandle<HDC, MemoryDcTraits>;
// An icon or cursor loaded or made by the program (not a shared one from LR_SHARED).
using OwnedIcon = UniqueHandle<HICON, IconTraits>;
using OwnedCursor = UniqueHandle<HCURSOR, CursorTraits>;
using OwnedMenu = UniqueHandle<HMENU, MenuTraits>;

// A window's DC, its client area's (GetDC) or the whole window's (GetWindowDC); the screen's for
// no window. Released at the end of the scope.
class WindowDC {
public:
    enum Area { Client, WholeWindow };
    explicit WindowDC(HWND window, Area area = Client)
        : window_(window), dc_(area == WholeWindow ? GetWindowDC(window) : GetDC(window))
    {}
    ~WindowDC()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    HDC Get() const { return dc_; }
    operator HDC() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint to EndPaint.
class PaintDC {
public:
    explicit PaintDC(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintDC() { EndPaint(window_, &paint_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;

    HDC Get() const { return dc_; }
    operator HDC() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    const RECT& Area() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_ = {};
    HDC dc_;
};

// An object selected into a DC for the scope; what was selected before comes back at its end.
// Nothing is selected when either is null.
class SelectedInto {
public:
    SelectedInto(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr)
    {}
    ~SelectedInto()
    {
        if (previous_)
            SelectObject(dc_, previous_);
    }
    SelectedInto(const SelectedInto&) = delete;
    SelectedInto& operator=(const SelectedInto&) = delete;

    // False when nothing was selected.
    explicit operator bool() const { return previous_ != nullptr; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Elements on the process heap, zero-filled. The product runs without the C++ library's
// containers: they would bring its exceptions and much of its runtime along.
template <typename T>
class HeapBlock {
public:
    HeapBlock() = default;
    ~HeapBlock() { Free(); }
    HeapBlock(const HeapBlock&) = delete;
    HeapBlock& operator=(const HeapBlock&) = delete;

    // Drops what it held; false when the new block cannot be had (it then holds nothing).
    bool Allocate(size_t count)
    {
        Free();
        if (count == 0)
            return true;
        items_ = static_cast<T*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, count * sizeof(T)));
        count_ = items_ ? count : 0;
        return items_ != nullptr;
    }
    // Keeps the first elements and zero-fills the rest; false (the block unchanged) when the
    // larger block cannot be had.
    bool Grow(size_t count)
    {
        if (!items_)
            return Allocate(count);
        void* grown = HeapReAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, items_, count * sizeof(T));
        if (!grown)
            return false;
        items_ = static_cast<T*>(grown);
        count_ = count;
        return true;
    }
    void Free()
    {
        if (items_)
            HeapFree(GetProcessHeap(), 0, items_);
        items_ = nullptr;
        count_ = 0;
    }

    size_t Count() const { return count_; }
    T* Data() { return items_; }
    const T* Data() const { return items_; }
    T& operator[](size_t i) { return items_[i]; }
    const T& operator[](size_t i) const { return items_[i]; }
    explicit operator bool() const { return items_ != nullptr; }

private:
    T* items_ = nullptr;
    size_t count_ = 0;
};

// A window's record: made zero-filled on the process heap when the window is made, kept in its
// user-data slot, and ended (its owners letting go) when the window goes. Null when no memory.
template <typename Record>
Record* NewWindowRecord()
{
    void* memory = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(Record));
    return memory ? new (memory) Record() : nullptr;
}

template <typename Record>
void DeleteWindowRecord(Record* record)
{
    if (!record)
        return;
    record->~Record();
    HeapFree(GetProcessHeap(), 0, record);
}
