// The colour field and the slider for the keyboard: they take the focus, show it, and answer
// their keys.
#pragma once

struct AppState;

// Puts the field and the slider under the procedure that routes their keys, focus and focus
// cues to the selector. Their class procedure handles everything else.
void AttachSelectorControls(AppState* state);
