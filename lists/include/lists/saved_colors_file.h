// The saved colours' INI file as plain colours: section "SavedColors" of a file, read into and
// written from 0xRRGGBB values in row order.
#pragma once
#include <cstddef>
#include <cstdint>

#include "core/handles.h"

// The most rows a list box can hold, and so the largest count the file may give.
enum { SAVED_COLORS_MAX = 32767 };

// The colours the section holds (`colors` is replaced); how many. A damaged count gives way to
// the keys the section holds; values that are not 1 to 6 hex digits are left out.
size_t ReadSavedColorsFile(const char* iniFile, HeapBlock<uint32_t>* colors);
// Writes "nColors" and one key per colour; keys of a longer earlier list, other keys and other
// sections stay in the file.
void WriteSavedColorsFile(const char* iniFile, const uint32_t* colors, size_t count);
