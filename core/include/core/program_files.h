// Files that ship beside the program.
#pragma once
#include <cstddef>

#include "core/ansi_text.h"  // PATH_TEXT_SIZE, the room a path needs

// The path of `name` in the program's own folder, wherever it was started from; false, and
// `name` alone, when the program's path is unknown or the path does not fit `size`.
bool PathBesideProgram(const char* name, char* path, size_t size);
