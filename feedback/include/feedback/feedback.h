// The program's actions behind the About box's "Credits..." and "Feedback..." buttons.
#pragma once
#include <windows.h>

// Opens the credits page shipped beside the program; reports nothing when it is missing.
void ShowCredits(HWND about);

// Writes the system-configuration report to a temporary file and offers it, attached to a new
// mail to support, in the user's mail client (Simple MAPI); the file is gone when this returns.
void SendFeedback(HWND about);
