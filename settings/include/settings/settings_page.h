// The "Settings" property sheet with its one page of option check boxes.
#pragma once
#include <windows.h>

#include "core/option_flags.h"
#include "settings/pick_key.h"

// Runs the sheet modally; OK and Apply assign the page's options (and run their callbacks) and
// register the pick key it shows.
void ShowSettingsSheet(HWND owner, HINSTANCE instance, OptionFlags* options, PickKeySetting* pickKey);
