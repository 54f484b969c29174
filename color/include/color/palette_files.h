// Palette files read from and written to memory: GIMP palettes, Adobe Swatch Exchange, CSS and
// plain text. No window system.
#pragma once
#include <cstddef>
#include <cstdint>

enum PaletteFormat : uint32_t { PALETTE_GPL = 0, PALETTE_ASE = 1, PALETTE_CSS = 2, PALETTE_TEXT = 3 };

// The format a file name's extension names: .gpl, .ase, .css, .txt or .hex, in any case; false for any other.
bool PaletteFormatOfName(const char* name, PaletteFormat* format);

struct PaletteReadResult {
    uint32_t added;      // colours appended to `colors`, in file order
    uint32_t notColors;  // lines (entries, for .ase) that held no colour
    uint32_t didNotFit;  // colours found once `room` was full
    bool refused;        // the file is not of its format or is malformed: nothing was taken (added 0)
};

// Reads `size` bytes of `data` in `format`, appending up to `room` colours (0x00RRGGBB) to `colors`.
PaletteReadResult ReadPalette(PaletteFormat format, const char* data, size_t size, uint32_t* colors,
                              uint32_t room);

// Writes `count` colours (0x00RRGGBB) in `format` into `out` (`size` bytes) and returns the bytes the
// file takes; writes nothing when `size` is smaller (call with size 0 to measure). The hex options
// apply to the plain-text form only.
size_t WritePalette(PaletteFormat format, const uint32_t* colors, uint32_t count, bool hexUpperCase,
                    bool hexPrefix, char* out, size_t size);
