// Table-driven reading and writing of registry values, and the program's stored settings.
#pragma once
#include <windows.h>

#include <cstdint>

#include "core/copy_formats.h"
#include "core/option_flags.h"

// Row flag: the variable is a text buffer (accepts shorter stored values).
#define REGISTRY_TEXT_ROW 0x1

// Row status after a pass.
enum : uint8_t {
    REGISTRY_ROW_UNTOUCHED = 0,  // read: default kept; write: failed
    REGISTRY_ROW_DONE = 1,
};

struct RegistryValueEntry {
    const char* name;
    uint32_t flags;
    uint32_t type;  // written with this type; a read stores the type it found
    uint32_t size;  // bytes of the variable at `data`
    void* data;
    uint8_t status;
};

// False only when the key cannot be opened; a missing or wrong-sized value keeps its default.
bool ReadRegistryTable(HKEY root, const char* path, RegistryValueEntry* table, int count);
// False only when the key can be neither opened nor created; single failures do not stop it.
bool WriteRegistryTable(HKEY root, const char* path, RegistryValueEntry* table, int count);

#define SETTINGS_KEY "Software\\Ostrel\\Tintora"
#define POSITION_NOT_STORED 0x7FFFFFFF

// The values kept between runs, one variable per registry row.
struct StoredSettings {
    uint32_t lastColor;        // 0x00RRGGBB
    uint32_t backgroundColor;  // 0x00RRGGBB, what the contrast is measured against
    uint32_t sliderMode;
    int32_t windowX;
    int32_t windowY;
    uint32_t grabSampleSize;        // 1, 3 or 5; the grab reads anything else as 1
    uint32_t pickKey;               // see settings/pick_key.h; 0: none
    uint32_t copyFormat;            // the copy button's format by its menu id; 600: hex
    uint8_t options[kOptionCount];  // as kOptions lists them; any byte but 0 is set

    // A bit no option has is never set.
    bool IsSet(uint32_t bit) const { return OptionIndex(bit) >= 0 && options[OptionIndex(bit)] != 0; }
    void SetOption(uint32_t bit, bool on)
    {
        if (OptionIndex(bit) >= 0)
            options[OptionIndex(bit)] = on ? 1 : 0;
    }
};

enum { SETTINGS_ROW_COUNT = 8 + kOptionCount };

// What a first start uses: white on white, red axis, no position, single-pixel grabs, Win+Shift+C to
// pick from anywhere, each option's default.
StoredSettings DefaultSettings();
// The rows, in their fixed order, pointing into `settings`.
void MakeSettingsTable(StoredSettings* settings, RegistryValueEntry table[SETTINGS_ROW_COUNT]);

// The user's formats, kept as REG_MULTI_SZ "CustomFormats", one "name<TAB>template" string each.
// A missing value is no formats; strings that are no format are skipped, and those past the
// twentieth.
void ReadCustomFormats(HKEY root, const char* path, CustomFormats* formats);
bool WriteCustomFormats(HKEY root, const char* path, const CustomFormats* formats);
