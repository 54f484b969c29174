// Dialog units of a dialog in Tintora's font, measured with a hidden dialog of our own: a
// cross-process MapDialogRect fails under Wine.
#pragma once
#include <windows.h>

namespace e2e {

// Like the dialog manager, position and size are converted separately: the result is
// (x, y, x' + w', y' + h') in pixels.
RECT DialogUnitsToPixels(int x, int y, int w, int h);
int DialogUnitsToPixelsX(int units);

}  // namespace e2e
