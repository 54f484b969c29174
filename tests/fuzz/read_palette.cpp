// libFuzzer target: the first byte picks the palette format (modulo 4), the rest is the file, read
// into a small room. The counts must agree with the room, a refused file must leave the colours
// alone, and every colour must be 24-bit.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "color/palette_files.h"

namespace {

enum { ROOM = 64 };

// Says which rule broke, then stops the run as a crash so libFuzzer keeps the input.
[[noreturn]] void Fail(const char* rule, uint32_t format)
{
    fprintf(stderr, "check failed: %s (format %u)\n", rule, static_cast<unsigned>(format));
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const PaletteFormat format = static_cast<PaletteFormat>(data[0] % 4);
    // An exact-size heap copy, so a read one past the end is caught by ASan.
    const size_t length = size - 1;
    std::unique_ptr<char[]> file(new char[length ? length : 1]);
    if (length)
        memcpy(file.get(), data + 1, length);

    // One more than the room, so a write past it shows.
    uint32_t colors[ROOM + 1];
    for (uint32_t& c : colors)
        c = 0xA5A5A5A5;
    const PaletteReadResult read = ReadPalette(format, file.get(), length, colors, ROOM);
    if (read.added > ROOM)
        Fail("more colours added than the room holds", format);
    if (read.didNotFit && read.added != ROOM)
        Fail("a colour did not fit while there was room", format);
    if (read.refused && (read.added || read.notColors || read.didNotFit))
        Fail("a refused file counted something", format);
    if (read.refused && format != PALETTE_GPL && format != PALETTE_ASE)
        Fail("a text form refused a file", format);
    for (uint32_t i = 0; i < ROOM + 1; ++i) {
        if (i < read.added && colors[i] > 0xFFFFFF)
            Fail("a colour is more than 24 bits", format);
        if (i >= read.added && colors[i] != 0xA5A5A5A5)
            Fail("a colour was stored beyond those added", format);
    }

    // What was read writes back and reads again as the same colours, in every format.
    const uint32_t added = read.added;
    for (uint32_t to = PALETTE_GPL; to <= PALETTE_TEXT; ++to) {
        const PaletteFormat out = static_cast<PaletteFormat>(to);
        const size_t bytes = WritePalette(out, colors, added, to & 1, to & 2, nullptr, 0);
        std::unique_ptr<char[]> written(new char[bytes ? bytes : 1]);
        if (WritePalette(out, colors, added, to & 1, to & 2, written.get(), bytes) != bytes)
            Fail("a write took another size than measured", to);
        uint32_t back[ROOM];
        const PaletteReadResult again = ReadPalette(out, written.get(), bytes, back, ROOM);
        if (again.refused || again.added != added || again.notColors || again.didNotFit ||
            memcmp(back, colors, added * sizeof colors[0]) != 0)
            Fail("written colours do not read back", to);
    }
    return 0;
}
