// Prints how long the selector's pictures take to build, one figure per line.
//   fill_bench [--size WxH]
// Without --size the colour field gets its size at 96 DPI from a dialog with the main dialog's
// font, the way the program lays it out.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "color/color_value.h"
#include "selector/selector_pixels.h"

namespace {

// The colour field control: 200 x 181 dialog units, SS_SUNKEN (one pixel of edge each side).
constexpr int kFieldUnitsX = 200;
constexpr int kFieldUnitsY = 181;

constexpr int kWarmUp = 20;
constexpr int kSamples = 301;

double g_tickNs = 0.0;

double NowNs() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * g_tickNs;
}

// Median time of one call of `work`, in nanoseconds.
template <typename Work>
double MedianNs(Work work) {
    for (int i = 0; i < kWarmUp; ++i) {
        work();
    }
    std::vector<double> samples(kSamples);
    for (double& sample : samples) {
        const double start = NowNs();
        work();
        sample = NowNs() - start;
    }
    std::nth_element(samples.begin(), samples.begin() + kSamples / 2, samples.end());
    return samples[kSamples / 2];
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// The field's client size from an invisible dialog with the main dialog's font.
bool MeasureField(int* width, int* height) {
    // DLGTEMPLATE, then menu, class and title (all empty), point size and face name.
    alignas(4) WORD words[64] = {};
    DLGTEMPLATE* header = reinterpret_cast<DLGTEMPLATE*>(words);
    header->style = DS_SETFONT | WS_POPUP | WS_CAPTION;
    header->cx = 100;
    header->cy = 100;
    WORD* tail = words + sizeof(DLGTEMPLATE) / sizeof(WORD);
    *tail++ = 0;
    *tail++ = 0;
    *tail++ = 0;
    *tail++ = 8;
    for (const char* face = "Ms Shell Dlg"; *face; ++face) {
        *tail++ = static_cast<WORD>(*face);
    }
    *tail++ = 0;

    HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), header, nullptr,
                                             QuietDialogProc, 0);
    if (!dialog) {
        return false;
    }
    RECT field = {0, 0, kFieldUnitsX, kFieldUnitsY};
    const BOOL mapped = MapDialogRect(dialog, &field);
    DestroyWindow(dialog);
    if (!mapped) {
        return false;
    }
    *width = field.right - field.left - 2;
    *height = field.bottom - field.top - 2;
    return *width >= 2 && *height >= 2;
}

const char* const kModeNames[6] = {"red", "green", "blue", "hue", "saturation", "brightness"};

}  // namespace

int main(int argc, char** argv) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    g_tickNs = 1e9 / static_cast<double>(frequency.QuadPart);

    int width = 0;
    int height = 0;
    bool measured = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc) {
            if (std::sscanf(argv[++i], "%dx%d", &width, &height) != 2 || width < 2 || height < 2) {
                std::fprintf(stderr, "fill_bench: --size wants WxH, both at least 2\n");
                return 2;
            }
            measured = false;
        } else {
            std::fprintf(stderr, "usage: fill_bench [--size WxH]\n");
            return 2;
        }
    }
    if (measured && !MeasureField(&width, &height)) {
        std::fprintf(stderr, "fill_bench: cannot measure the field; pass --size WxH\n");
        return 1;
    }
    const int pixelCount = width * height;
    std::printf("field %dx%d px (%s), %d pixels; median of %d runs\n", width, height,
                measured ? "200x181 dialog units, Ms Shell Dlg 8, less the sunken edge"
                         : "--size",
                pixelCount, kSamples);

    SelectorTables tables{};
    if (!BuildSelectorTables(&tables, width, height)) {
        std::fprintf(stderr, "fill_bench: out of memory\n");
        FreeSelectorTables(&tables);
        return 1;
    }
    uint32_t* pixels = static_cast<uint32_t*>(
        HeapAlloc(GetProcessHeap(), 0, sizeof(uint32_t) * static_cast<size_t>(pixelCount)));
    if (!pixels) {
        std::fprintf(stderr, "fill_bench: out of memory\n");
        FreeSelectorTables(&tables);
        return 1;
    }

    // An everyday colour, no component at either end of its range.
    ColorValue current{};
    current.SetRgb(0xC86432);

    // ---- field fills ----------------------------------------------------------------------
    for (uint32_t mode = 0; mode < 6; ++mode) {
        const double fill = MedianNs([&] {
            FillField(pixels, width, height, mode, current, tables);
        }) / pixelCount;
        const double clear = MedianNs([&] {
            std::memset(pixels, static_cast<int>(mode), sizeof(uint32_t) * pixelCount);
        }) / pixelCount;
        std::printf("field fill mode %u %-10s %7.3f ns/px   memset %7.3f ns/px   ratio %5.2f\n",
                    mode, kModeNames[mode], fill, clear, fill / clear);
    }

    // ---- redraw steps in the running dialog -------------------------------------------------
    // Timings of SelectorRedraw (field, marker, strips, slider arrows) go here.

    HeapFree(GetProcessHeap(), 0, pixels);
    FreeSelectorTables(&tables);
    return 0;
}
