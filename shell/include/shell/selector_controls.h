// The colour field and the slider for the keyboard and screen readers: they take the focus,
// show it, answer their keys, and describe themselves to readers.
#pragma once

struct AppState;

// Puts the field and the slider under the procedure that routes their keys, focus, focus cues
// and readers' requests to the selector. Their class procedure handles everything else.
void AttachSelectorControls(AppState* state);
