// The "Settings" property sheet with its one page of option check boxes.
#pragma once
#include <windows.h>

#include "core/option_flags.h"

// Runs the sheet modally; OK and Apply assign the page's options (and run their callbacks).
void ShowSettingsSheet(HWND owner, HINSTANCE instance, OptionFlags* options);
