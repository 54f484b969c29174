// The "Settings" property sheet with its one page of option check boxes.
#pragma once
#include <windows.h>

#include "color/color_value.h"
#include "core/copy_formats.h"
#include "core/option_flags.h"
#include "settings/pick_key.h"

// What the sheet shows and changes; it lives on the stack of the sheet's caller.
struct SettingsSheetParams {
    OptionFlags* options;
    PickKeySetting* pickKey;
    CustomFormats* formats;
    uint32_t* copyFormat;  // the copy button's and a pick's format, by its menu id
    ColorValue example;    // what the format editor's example shows
};

// Runs the sheet modally; OK and Apply assign the options (and run their callbacks), register
// the pick key, and take the formats.
void ShowSettingsSheet(HWND owner, HINSTANCE instance, SettingsSheetParams* params);

// The "Formats" page's procedure.
INT_PTR CALLBACK FormatsPage(HWND page, UINT message, WPARAM wparam, LPARAM lparam);
