#include "settings/registry_store.h"

#include <cstdio>
#include <cstring>

#include "settings/pick_key.h"

bool ReadRegistryTable(HKEY root, const char* path, RegistryValueEntry* table, int count)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    for (int i = 0; i < count; ++i) {
        RegistryValueEntry& row = table[i];
        row.status = REGISTRY_ROW_UNTOUCHED;
        DWORD size = 0;
        if (RegQueryValueExA(key, row.name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
            continue;
        const bool text = (row.flags & REGISTRY_TEXT_ROW) != 0;
        if (!(size == row.size || (text && size < row.size)))
            continue;  // a value of another size is not ours: keep the default
        DWORD type = 0;
        if (RegQueryValueExA(key, row.name, nullptr, &type, static_cast<BYTE*>(row.data), &size) !=
            ERROR_SUCCESS)
            continue;
        if (text && row.size > 0) {
            // Stored text need not carry its terminator.
            char* buffer = static_cast<char*>(row.data);
            buffer[size < row.size ? size : row.size - 1] = '\0';
        }
        row.type = type;
        row.status = REGISTRY_ROW_DONE;
    }
    RegCloseKey(key);
    return true;
}

bool WriteRegistryTable(HKEY root, const char* path, RegistryValueEntry* table, int count)
{
    HKEY key;
    if (RegCreateKeyExA(root, path, 0, const_cast<char*>(""), REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return false;
    for (int i = 0; i < count; ++i) {
        RegistryValueEntry& row = table[i];
        row.status = REGISTRY_ROW_UNTOUCHED;
        DWORD size = row.size;
        if (row.flags & REGISTRY_TEXT_ROW)
            size = static_cast<DWORD>(strnlen(static_cast<const char*>(row.data), row.size - 1) + 1);
        if (RegSetValueExA(key, row.name, 0, row.type, static_cast<const BYTE*>(row.data), size) ==
            ERROR_SUCCESS)
            row.status = REGISTRY_ROW_DONE;
    }
    RegCloseKey(key);
    return true;
}

StoredSettings DefaultSettings()
{
    StoredSettings s = {};
    s.lastColor = 0xFFFFFF;
    s.backgroundColor = 0xFFFFFF;
    s.sliderMode = 0;
    s.windowX = POSITION_NOT_STORED;
    s.windowY = POSITION_NOT_STORED;
    s.grabSampleSize = 1;
    s.pickKey = DEFAULT_PICK_KEY;
    s.copyFormat = COPY_FORMAT_HEX;
    for (size_t i = 0; i < kOptionCount; ++i)
        s.options[i] = kOptions[i].byDefault ? 1 : 0;
    return s;
}

void MakeSettingsTable(StoredSettings* s, RegistryValueEntry table[SETTINGS_ROW_COUNT])
{
    const RegistryValueEntry values[] = {
        {"LastColor", 0, REG_DWORD, 4, &s->lastColor, 0},
        {"SliderMode", 0, REG_DWORD, 4, &s->sliderMode, 0},
        {"MainWindowXPos", 0, REG_DWORD, 4, &s->windowX, 0},
        {"MainWindowYPos", 0, REG_DWORD, 4, &s->windowY, 0},
        {"GrabSampleSize", 0, REG_DWORD, 4, &s->grabSampleSize, 0},
        {"PickHotKey", 0, REG_DWORD, 4, &s->pickKey, 0},
        {"CopyFormat", 0, REG_DWORD, 4, &s->copyFormat, 0},
        {"BackgroundColor", 0, REG_DWORD, 4, &s->backgroundColor, 0},
    };
    static_assert(sizeof(values) / sizeof(values[0]) + kOptionCount == SETTINGS_ROW_COUNT, "every row");
    int row = 0;
    for (const RegistryValueEntry& value : values)
        table[row++] = value;
    for (size_t i = 0; i < kOptionCount; ++i)
        table[row++] = RegistryValueEntry{kOptions[i].registryName, 0, REG_BINARY, 1, &s->options[i], 0};
}

namespace {

const char kCustomFormatsValue[] = "CustomFormats";

}  // namespace

void ReadCustomFormats(HKEY root, const char* path, CustomFormats* formats)
{
    formats->count = 0;
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    // The whole value, however many lines it holds: a buffer too small for it gets no bytes
    // that can be trusted, so its size is asked first.
    DWORD type = 0, size = 0;
    HeapBlock<char> data;
    const bool read =
        RegQueryValueExA(key, kCustomFormatsValue, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        type == REG_MULTI_SZ && data.Allocate(size + 2) &&
        RegQueryValueExA(key, kCustomFormatsValue, nullptr, &type, reinterpret_cast<BYTE*>(data.Data()),
                         &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (!read)
        return;
    // The block is zero-filled past what was read: whatever the value held, two terminators
    // end it.
    for (const char* line = data.Data(); *line && formats->count < CUSTOM_FORMAT_MAX;
         line += strlen(line) + 1)
        if (ParseCustomFormatLine(line, &formats->items[formats->count]))
            ++formats->count;
}

bool WriteCustomFormats(HKEY root, const char* path, const CustomFormats* formats)
{
    HKEY key;
    if (RegCreateKeyExA(root, path, 0, const_cast<char*>(""), REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return false;
    char data[CUSTOM_FORMAT_MAX * (CUSTOM_FORMAT_NAME_SIZE + COLOR_TEMPLATE_SIZE + 1) + 2];
    size_t used = 0;
    for (uint32_t i = 0; i < formats->count && i < CUSTOM_FORMAT_MAX; ++i) {
        const CustomFormat& f = formats->items[i];
        used +=
            static_cast<size_t>(snprintf(data + used, sizeof(data) - used, "%s\t%s", f.name, f.templ)) + 1;
    }
    data[used++] = '\0';
    // An empty list is one empty string's terminator too.
    if (used == 1)
        data[used++] = '\0';
    const bool written =
        RegSetValueExA(key, kCustomFormatsValue, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(data),
                       static_cast<DWORD>(used)) == ERROR_SUCCESS;
    RegCloseKey(key);
    return written;
}
