#include "lists/palette_io.h"

#include <commdlg.h>
#include <windowsx.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "color/palette_files.h"
#include "core/ansi_text.h"
#include "core/handles.h"
#include "core/messages.h"
#include "core/product.h"
#include "lists/list_rows.h"
#include "lists/saved_colors_file.h"
#include "resources/resource.h"

namespace {

// Larger than any palette a list of 32,767 colours could come from; a file past it is not read
// into memory at all.
const DWORD kLargestPaletteFile = 64u << 20;

// Room for the names the open box returns when several files are chosen.
const DWORD kChosenNamesSize = 32 * 1024;

HWND SavedList(const DialogState* state)
{
    return DialogControl(state, IDC_SAVED_LIST);
}

// The file's name without its folder, for messages.
const char* NameOf(const char* path)
{
    const char* name = path;
    for (const char* c = path; *c; c = CharNextA(c))
        if (*c == '\\' || *c == '/')
            name = c + 1;
    return name;
}

bool ReadWholeFile(const char* path, HeapBlock<char>* data, DWORD* size)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD high = 0;
    const DWORD length = GetFileSize(file, &high);
    bool read = length != INVALID_FILE_SIZE && high == 0 && length <= kLargestPaletteFile &&
                data->Allocate(length + 1);
    DWORD got = 0;
    if (read)
        read = (length == 0 || ReadFile(file, data->Data(), length, &got, nullptr)) && got == length;
    CloseHandle(file);
    *size = got;
    return read;
}

// What the imports of one go came to, and the lines for the files that gave nothing.
struct ImportTally {
    uint32_t added;
    uint32_t notColors;
    uint32_t notColorEntries;  // of Adobe's files, which hold entries, not lines
    uint32_t didNotFit;
    char failures[MESSAGE_TEXT_SIZE];
};

// Appends the message `id`, filled with `value` or `text`, to `line`, a space before it.
void AppendMessage(HINSTANCE instance, char* line, UINT id, unsigned value, const char* text = nullptr)
{
    char format[MESSAGE_TEXT_SIZE], piece[MESSAGE_TEXT_SIZE];
    LoadMessageText(instance, id, format);
    if (text)
        snprintf(piece, sizeof(piece), format, text);
    else
        snprintf(piece, sizeof(piece), format, value);
    const size_t used = strlen(line);
    snprintf(line + used, MESSAGE_TEXT_SIZE - used, "%s%s", used ? (text ? "\r\n" : " ") : "", piece);
}

// One file's colours onto the end of the list.
void ImportFile(const DialogState* state, const char* path, ImportTally* tally)
{
    HWND list = SavedList(state);
    PaletteFormat format = PALETTE_TEXT;
    HeapBlock<char> data;
    DWORD size = 0;
    if (!PaletteFormatOfName(path, &format) || !ReadWholeFile(path, &data, &size)) {
        AppendMessage(state->instance, tally->failures, IDS_PALETTE_UNREADABLE, 0, NameOf(path));
        return;
    }
    const LRESULT listed = SendMessageA(list, LB_GETCOUNT, 0, 0);
    const uint32_t room =
        listed >= 0 && listed < SAVED_COLORS_MAX ? SAVED_COLORS_MAX - static_cast<uint32_t>(listed) : 0;
    HeapBlock<uint32_t> colors;
    if (!colors.Allocate(room ? room : 1)) {
        AppendMessage(state->instance, tally->failures, IDS_PALETTE_UNREADABLE, 0, NameOf(path));
        return;
    }
    const PaletteReadResult read = ReadPalette(format, data.Data(), size, colors.Data(), room);
    if (read.refused) {
        AppendMessage(state->instance, tally->failures, IDS_PALETTE_UNREADABLE, 0, NameOf(path));
        return;
    }
    if (read.added == 0 && read.didNotFit == 0) {
        AppendMessage(state->instance, tally->failures, IDS_PALETTE_NO_COLORS, 0, NameOf(path));
        return;
    }
    // A long import would otherwise repaint and resize the scroll bar on every row.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_INITSTORAGE, read.added, 0);
    uint32_t added = 0;
    while (added < read.added && ListBoxCall(list, LB_ADDSTRING, 0, static_cast<LPARAM>(colors[added])) >= 0)
        ++added;
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    tally->added += added;
    (format == PALETTE_ASE ? tally->notColorEntries : tally->notColors) += read.notColors;
    tally->didNotFit += read.didNotFit + (read.added - added);
}

void ShowImportTally(const DialogState* state, const ImportTally& tally)
{
    HINSTANCE instance = state->instance;
    char text[2 * MESSAGE_TEXT_SIZE] = "";
    const bool anyTaken = tally.added || tally.didNotFit;
    if (anyTaken) {
        AppendMessage(instance, text, tally.added == 1 ? IDS_IMPORTED_ONE : IDS_IMPORTED_MANY, tally.added);
        if (tally.notColors)
            AppendMessage(instance, text, tally.notColors == 1 ? IDS_LINE_NOT_COLOR : IDS_LINES_NOT_COLORS,
                          tally.notColors);
        if (tally.notColorEntries)
            AppendMessage(instance, text,
                          tally.notColorEntries == 1 ? IDS_ENTRY_NOT_COLOR : IDS_ENTRIES_NOT_COLORS,
                          tally.notColorEntries);
        if (tally.didNotFit)
            AppendMessage(instance, text,
                          tally.didNotFit == 1 ? IDS_COLOR_DID_NOT_FIT : IDS_COLORS_DID_NOT_FIT,
                          tally.didNotFit);
    }
    if (tally.failures[0]) {
        const size_t used = strlen(text);
        snprintf(text + used, sizeof(text) - used, "%s%s", used ? "\r\n" : "", tally.failures);
    }
    MessageBoxA(state->dialog, text, PRODUCT_TITLE,
                MB_OK | (anyTaken && !tally.failures[0] ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
}

// The filter string of the boxes: '|' in the string table stands for the NULs between parts.
void LoadFilter(HINSTANCE instance, char* filter)
{
    LoadMessageText(instance, IDS_PALETTE_FILTER, filter);
    for (char* c = filter; *c; ++c)
        if (*c == '|')
            *c = '\0';
}

// The box's record as every system from Windows 95 on takes it.
OPENFILENAMEA BoxRecord(const DialogState* state, const char* filter, char* names, DWORD size)
{
    OPENFILENAMEA box = {};
    box.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    box.hwndOwner = state->dialog;
    box.lpstrFilter = filter;
    box.nFilterIndex = 1;
    box.lpstrFile = names;
    box.nMaxFile = size;
    return box;
}

// Writes `size` bytes to a new file beside `path`, then puts it in place of `path`: a failure
// on the way leaves `path` as it was.
bool ReplaceWithNewFile(const char* path, const char* data, DWORD size)
{
    char folder[PATH_TEXT_SIZE], temporary[PATH_TEXT_SIZE];
    CopyWholeCharacters(folder, sizeof(folder), path);
    char* name = const_cast<char*>(NameOf(folder));
    *name = '\0';
    if (!folder[0])
        lstrcpyA(folder, ".");
    if (!GetTempFileNameA(folder, "tin", 0, temporary))
        return false;
    HANDLE file =
        CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    bool whole =
        file != INVALID_HANDLE_VALUE && WriteFile(file, data, size, &written, nullptr) && written == size;
    if (file != INVALID_HANDLE_VALUE)
        whole = CloseHandle(file) && whole;
    // Windows 95, 98 and Me have no MoveFileEx: the old file goes first there.
    if (whole && !MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
        whole = GetLastError() == ERROR_CALL_NOT_IMPLEMENTED &&
                (DeleteFileA(path) || GetLastError() == ERROR_FILE_NOT_FOUND) && MoveFileA(temporary, path);
    }
    if (!whole)
        DeleteFileA(temporary);
    return whole;
}

}  // namespace

void ShowSavedListMenu(const DialogState* state, LPARAM at)
{
    POINT point = {GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    HWND list = SavedList(state);
    // From the keyboard: below the selected row, or the list's corner.
    if (point.x == -1 && point.y == -1) {
        RECT row = {};
        const LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
        if (selected == LB_ERR ||
            SendMessageA(list, LB_GETITEMRECT, selected, reinterpret_cast<LPARAM>(&row)) == LB_ERR)
            SetRectEmpty(&row);
        point = {row.left, row.bottom};
        ClientToScreen(list, &point);
    }
    OwnedMenu menu(CreatePopupMenu());
    if (!menu.Get())
        return;
    char text[MESSAGE_TEXT_SIZE];
    for (UINT id : {IDM_IMPORT_PALETTE, IDM_EXPORT_PALETTE}) {
        LoadMessageText(state->instance, id, text);
        AppendMenuA(menu.Get(), MF_STRING, id, text);
    }
    // The selected row's colour as the background, as every swatch's menu offers it.
    LoadMessageText(state->instance, IDM_USE_AS_BACKGROUND, text);
    AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
    const bool selected = SendMessageA(list, LB_GETCURSEL, 0, 0) != LB_ERR;
    AppendMenuA(menu.Get(), MF_STRING | (selected ? 0 : MF_GRAYED), IDM_USE_AS_BACKGROUND, text);
    TrackPopupMenu(menu.Get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0,
                   state->dialog, nullptr);
}

void ImportPaletteFiles(const DialogState* state, const char* const* paths, int count)
{
    ImportTally tally = {};
    for (int i = 0; i < count; ++i)
        ImportFile(state, paths[i], &tally);
    ShowImportTally(state, tally);
}

void ImportPaletteFromBox(const DialogState* state)
{
    char filter[MESSAGE_TEXT_SIZE];
    LoadFilter(state->instance, filter);
    HeapBlock<char> names;
    if (!names.Allocate(kChosenNamesSize))
        return;
    OPENFILENAMEA box = BoxRecord(state, filter, names.Data(), kChosenNamesSize);
    box.Flags =
        OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_ALLOWMULTISELECT;
    if (!GetOpenFileNameA(&box))
        return;
    // One file: its path. Several: the folder, then each name, a NUL after each, two at the end.
    const char* first = names.Data();
    const char* next = first + strlen(first) + 1;
    if (!*next) {
        ImportPaletteFiles(state, &first, 1);
        return;
    }
    HeapBlock<char> joined;
    int count = 0;
    for (const char* name = next; *name; name += strlen(name) + 1)
        ++count;
    HeapBlock<const char*> paths;
    if (!joined.Allocate(static_cast<size_t>(count) * PATH_TEXT_SIZE) ||
        !paths.Allocate(static_cast<size_t>(count)))
        return;
    int i = 0;
    for (const char* name = next; *name; name += strlen(name) + 1, ++i) {
        char* path = joined.Data() + static_cast<size_t>(i) * PATH_TEXT_SIZE;
        snprintf(path, PATH_TEXT_SIZE, "%s\\%s", first, name);
        paths[i] = path;
    }
    ImportPaletteFiles(state, paths.Data(), count);
}

bool ExportPaletteFile(const DialogState* state, const char* path)
{
    PaletteFormat format = PALETTE_GPL;
    if (!PaletteFormatOfName(path, &format))
        return false;
    HWND list = SavedList(state);
    const LRESULT listed = SendMessageA(list, LB_GETCOUNT, 0, 0);
    const uint32_t count = listed > 0 ? static_cast<uint32_t>(listed) : 0;
    HeapBlock<uint32_t> colors;
    if (!colors.Allocate(count ? count : 1))
        return false;
    for (uint32_t i = 0; i < count; ++i)
        colors[i] = static_cast<uint32_t>(ListBoxCall(list, LB_GETITEMDATA, i, 0)) & 0xFFFFFF;
    const bool upper = state->options.Test(HexUpperCase), prefix = state->options.Test(UseHexPrefix);
    const size_t size = WritePalette(format, colors.Data(), count, upper, prefix, nullptr, 0);
    HeapBlock<char> data;
    if (!data.Allocate(size + 1) ||
        WritePalette(format, colors.Data(), count, upper, prefix, data.Data(), size) != size)
        return false;
    return ReplaceWithNewFile(path, data.Data(), static_cast<DWORD>(size));
}

void ExportPaletteFromBox(const DialogState* state)
{
    static const char* const kExtensions[] = {"gpl", "gpl", "ase", "css", "txt"};
    char filter[MESSAGE_TEXT_SIZE], path[PATH_TEXT_SIZE] = "";
    LoadFilter(state->instance, filter);
    OPENFILENAMEA box = BoxRecord(state, filter, path, sizeof(path));
    box.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    box.lpstrDefExt = "gpl";
    if (!GetSaveFileNameA(&box))
        return;
    // A name without a palette's extension gets the one of the kind chosen in the box.
    PaletteFormat format;
    if (!PaletteFormatOfName(path, &format)) {
        const DWORD kind =
            box.nFilterIndex < sizeof(kExtensions) / sizeof(kExtensions[0]) ? box.nFilterIndex : 0;
        const size_t used = strlen(path);
        snprintf(path + used, sizeof(path) - used, ".%s", kExtensions[kind]);
    }
    if (!ExportPaletteFile(state, path)) {
        char text[MESSAGE_TEXT_SIZE] = "";
        AppendMessage(state->instance, text, IDS_PALETTE_WRITE_ERROR, 0, NameOf(path));
        MessageBoxA(state->dialog, text, PRODUCT_TITLE, MB_OK | MB_ICONEXCLAMATION);
    }
}

void OnFilesDropped(const DialogState* state, HDROP drop)
{
    // Only a drop on the saved colours imports; elsewhere on the window it is refused quietly.
    POINT at = {};
    DragQueryPoint(drop, &at);
    MapWindowPoints(state->dialog, SavedList(state), &at, 1);
    RECT list;
    GetClientRect(SavedList(state), &list);
    const UINT count = PtInRect(&list, at) ? DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0) : 0;
    HeapBlock<char> joined;
    HeapBlock<const char*> paths;
    if (count && joined.Allocate(static_cast<size_t>(count) * PATH_TEXT_SIZE) && paths.Allocate(count)) {
        for (UINT i = 0; i < count; ++i) {
            char* path = joined.Data() + static_cast<size_t>(i) * PATH_TEXT_SIZE;
            DragQueryFileA(drop, i, path, PATH_TEXT_SIZE);
            paths[i] = path;
        }
    }
    DragFinish(drop);
    if (count && paths.Data())
        ImportPaletteFiles(state, paths.Data(), static_cast<int>(count));
}
