// Prints how long the selector's pictures take to build, one figure per line.
//   fill_bench [--size WxH] [--steps-only]
// Without --size the colour field gets its size at 96 DPI from a dialog with the main dialog's
// font, the way the program lays it out. --steps-only leaves out the field fills.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "color/color_axes.h"
#include "color/color_value.h"
#include "core/product.h"
#include "core/redraw.h"
#include "flatcolor/flat_color.h"
#include "resources/resource.h"
#include "selector/selector.h"
#include "selector/selector_pixels.h"
#include "shell/main_dialog.h"

namespace {

// The colour field control: 200 x 181 dialog units, SS_SUNKEN (one pixel of edge each side).
constexpr int kFieldUnitsX = 200;
constexpr int kFieldUnitsY = 181;

constexpr int kWarmUp = 20;
constexpr int kSamples = 301;
// Redraw steps in the dialog, each timed on its own.
constexpr int kSteps = 501;

double g_tickNs = 0.0;

double NowNs()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * g_tickNs;
}

// Median time of one call of `work`, in nanoseconds.
template <typename Work>
double MedianNs(Work work)
{
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

INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// The field's client size from an invisible dialog with the main dialog's font.
bool MeasureField(int* width, int* height)
{
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

    HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), header, nullptr, QuietDialogProc, 0);
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

// Paints, activation and the lists' repaints happen between two drag steps, not in them.
void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

double MedianOf(std::vector<double>& samples)
{
    std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
    return samples[samples.size() / 2];
}

// The component `axis` set to a value that changes with every step.
void SetStepComponent(ColorValue* color, uint32_t axis, int step)
{
    const uint32_t full = GetAxisRange(axis).full;
    SetAxisValue(color, axis, static_cast<uint32_t>(step) * (full == 255 ? 97u : 7919u) % (full + 1));
}

// Under Wine most window calls (painting, properties, carets) are requests to the wineserver, so
// their cost sets the floor of a dialog step; printed with the steps to read them by.
double ServerRequestUs(HWND dialog)
{
    const int count = 2000;
    const double start = NowNs();
    for (int i = 0; i < count; ++i) {
        GetPropA(dialog, "fill_bench");
    }
    return (NowNs() - start) / count / 1000.0;
}

// With --mark-steps each timed step is bracketed by two look-ups of atoms named for it, which a
// trace of the wineserver shows; tools/count_requests.py counts the requests between them.
bool g_markSteps = false;

void MarkStep(const char* what, uint32_t mode, const char* kind)
{
    char name[64];
    std::snprintf(name, sizeof(name), "tintora-bench %s %u %s", what, mode, kind);
    GlobalFindAtomA(name);
}

// The floor under a step's value fields: a plain edit control of the dialog's font, its text
// set and repainted, with nobody listening to its notifications. A step rewrites a few.
double EditRewriteUs(HWND dialog)
{
    HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "0", WS_CHILD | WS_VISIBLE | ES_NUMBER, 4, 4, 40,
                                20, dialog, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!edit)
        return 0.0;
    SendMessageA(edit, WM_SETFONT, SendMessageA(dialog, WM_GETFONT, 0, 0), TRUE);
    UpdateWindow(edit);
    std::vector<double> samples;
    for (int i = -kWarmUp; i < kSteps; ++i) {
        const double start = NowNs();
        SetWindowTextA(edit, (i & 1) ? "12" : "200");
        UpdateWindow(edit);
        if (i >= 0)
            samples.push_back(NowNs() - start);
    }
    DestroyWindow(edit);
    return MedianOf(samples) / 1000.0;
}

// The value fields' texts, to count how many a step rewrote.
std::vector<std::string> FieldTexts(HWND dialog)
{
    std::vector<std::string> texts;
    for (int id = IDC_RED_EDIT; id <= IDC_HEX_EDIT; ++id) {
        char text[16] = "";
        GetDlgItemTextA(dialog, id, text, sizeof(text));
        texts.push_back(text);
    }
    return texts;
}

struct StepFigures {
    double us;
    int fieldsRewritten;
};

// What a drag step does in the running dialog: change the current colour as the mouse code
// would, then send SelectorRedraw, which refills, moves the markers and paints synchronously.
StepFigures MedianStep(HWND dialog, AppState* state, uint32_t mode, WPARAM bits, bool field,
                       int steps = kSteps)
{
    const ModeAxes& axes = GetModeAxes(mode);
    const char* kind = bits == 0 ? "none" : field ? "field" : "slider";
    std::vector<double> samples;
    std::vector<double> rewritten;
    samples.reserve(steps);
    for (int step = -kWarmUp; step < steps; ++step) {
        PumpMessages();
        const int i = step + kWarmUp + 1;
        if (field) {
            SetStepComponent(&state->currentColor, axes.column, i);
            SetStepComponent(&state->currentColor, axes.row, i * 3);
        } else {
            SetStepComponent(&state->currentColor, axes.slider, i);
        }
        const std::vector<std::string> before = FieldTexts(dialog);
        if (g_markSteps && step >= 0)
            MarkStep("begin", mode, kind);
        const double start = NowNs();
        SendMessageA(dialog, SELECTOR_REDRAW, bits, 0);
        const double took = NowNs() - start;
        if (g_markSteps && step >= 0)
            MarkStep("end", mode, kind);
        if (step >= 0) {
            samples.push_back(took);
            const std::vector<std::string> after = FieldTexts(dialog);
            int changed = 0;
            for (size_t i = 0; i < after.size(); ++i)
                changed += after[i] != before[i];
            rewritten.push_back(changed);
        }
    }
    return StepFigures{MedianOf(samples) / 1000.0, static_cast<int>(MedianOf(rewritten))};
}

// One pointer move while a grab is held, from the move to the popup moved and repainted: the
// cursor is put in place first (that is the hand's part), then the dialog takes the move and the
// popup paints whatever it left to paint. Walks the middle of the screen, a new place each step.
double GrabStepUs(HWND dialog, AppState* state, int steps)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_GRAB, STN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_GRAB)));
    HWND popup = state->grabber.popup;
    if (!popup || GetCapture() != dialog)
        return -1.0;
    std::vector<double> samples;
    for (int step = -kWarmUp; step < steps; ++step) {
        PumpMessages();
        POINT p = {300 + (step * 37 + 500) % 400, 250 + (step * 53 + 500) % 300};
        SetCursorPos(p.x, p.y);
        ScreenToClient(dialog, &p);
        if (g_markSteps && step >= 0)
            MarkStep("begin", 0, "grab");
        const double start = NowNs();
        SendMessageA(dialog, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        UpdateWindow(popup);
        GdiFlush();
        const double took = NowNs() - start;
        if (g_markSteps && step >= 0)
            MarkStep("end", 0, "grab");
        if (step >= 0)
            samples.push_back(took);
    }
    ReleaseCapture();
    PumpMessages();
    return MedianOf(samples) / 1000.0;
}

// The main dialog from the program's own template, shown as the user sees it.
HWND OpenMainDialog(StartParams* params)
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TAB_CLASSES};
    if (!InitCommonControlsEx(&controls) || !RegisterFlatColorClass(params->instance)) {
        return nullptr;
    }
    HWND dialog = CreateDialogParamA(params->instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc,
                                     reinterpret_cast<LPARAM>(params));
    if (dialog) {
        ShowWindow(dialog, SW_SHOW);
        UpdateWindow(dialog);
        PumpMessages();
    }
    return dialog;
}

}  // namespace

int main(int argc, char** argv)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    g_tickNs = 1e9 / static_cast<double>(frequency.QuadPart);

    int width = 0;
    int height = 0;
    bool measured = true;
    bool fills = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--steps-only") == 0) {
            fills = false;
            continue;
        }
        if (std::strcmp(argv[i], "--mark-steps") == 0) {
            g_markSteps = true;
            fills = false;
            continue;
        }
        if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc) {
            if (std::sscanf(argv[++i], "%dx%d", &width, &height) != 2 || width < 2 || height < 2) {
                std::fprintf(stderr, "fill_bench: --size wants WxH, both at least 2\n");
                return 2;
            }
            measured = false;
        } else {
            std::fprintf(stderr, "usage: fill_bench [--size WxH] [--steps-only | --mark-steps]\n");
            return 2;
        }
    }
    if (measured && !MeasureField(&width, &height)) {
        std::fprintf(stderr, "fill_bench: cannot measure the field; pass --size WxH\n");
        return 1;
    }
    const int pixelCount = width * height;
    if (fills)
        std::printf("field %dx%d px (%s), %d pixels; median of %d runs\n", width, height,
                    measured ? "200x181 dialog units, Ms Shell Dlg 8, less the sunken edge" : "--size",
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
    for (uint32_t mode = 0; fills && mode < 6; ++mode) {
        const double fill =
            MedianNs([&] { FillField(pixels, width, height, mode, current, tables); }) / pixelCount;
        const double clear =
            MedianNs([&] { std::memset(pixels, static_cast<int>(mode), sizeof(uint32_t) * pixelCount); }) /
            pixelCount;
        std::printf("field fill mode %u %-10s %7.3f ns/px   memset %7.3f ns/px   ratio %5.2f\n", mode,
                    kModeNames[mode], fill, clear, fill / clear);
    }

    // ---- redraw steps in the running dialog -------------------------------------------------
    StartParams params = {GetModuleHandleA(nullptr), RegisterWindowMessageA(INSTANCE_MESSAGE_NAME), FALSE};
    HWND dialog = OpenMainDialog(&params);
    AppState* state = dialog ? GetAppState(dialog) : nullptr;
    if (!state) {
        std::fprintf(stderr, "fill_bench: cannot open the main dialog\n");
    } else {
        // Marked steps are only counted, so a few are enough.
        const int steps = g_markSteps ? 21 : kSteps;
        std::printf("dialog steps: field %ldx%ld px, slider strip %ldx%ld px; median of %d steps\n",
                    state->selector.fieldRect.right, state->selector.fieldRect.bottom,
                    state->selector.stripRect.right - state->selector.stripRect.left,
                    state->selector.stripRect.bottom - state->selector.stripRect.top, steps);
        std::printf("wineserver request (GetProp)                  %8.1f us\n", ServerRequestUs(dialog));
        std::printf("floor: a plain edit's text set and repainted  %8.1f us\n", EditRewriteUs(dialog));
        // What every redraw does whatever its bits (swatches, web-safe mark, value fields,
        // lists), for comparison with the steps below.
        auto print = [](const char* what, uint32_t mode, const StepFigures& figures) {
            std::printf("%s mode %u %-10s %8.1f us  (%d fields rewritten)\n", what, mode, kModeNames[mode],
                        figures.us, figures.fieldsRewritten);
        };
        print("redraw without pictures (0x00)", 0, MedianStep(dialog, state, 0, 0, false, steps));
        for (uint32_t mode = 0; mode < 6; ++mode) {
            // The mode's radio button, as the user picks it: a full redraw.
            SendDlgItemMessageA(dialog, IDC_MODE_RED + mode, BM_CLICK, 0, 0);
            const WPARAM sliderBits = RB_SLIDERMARK | RB_FIELD | RB_FIELDMARK | RB_FOCUSEDEDIT;
            const WPARAM fieldBits = RB_SLIDERSTRIP | RB_SLIDERMARK | RB_FIELDMARK | RB_FOCUSEDEDIT;
            print("slider-drag step (0x3C)", mode, MedianStep(dialog, state, mode, sliderBits, false, steps));
            print("field-drag step  (0x35)", mode, MedianStep(dialog, state, mode, fieldBits, true, steps));
        }
        std::printf("grab step: a pointer move, the popup moved and repainted %8.1f us\n",
                    GrabStepUs(dialog, state, steps));
        DestroyWindow(dialog);
        PumpMessages();
    }

    HeapFree(GetProcessHeap(), 0, pixels);
    FreeSelectorTables(&tables);
    return 0;
}
