// The Help button: the help file's contents in the HTML Help viewer.
#pragma once
#include <windows.h>

// Shows the contents of "tintora.chm" (the one beside the program) over the dialog. Silent on
// every failure: without HTML Help, or without the file, nothing happens, however often.
void ShowHelp(HWND dialog);
