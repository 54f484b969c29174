// libFuzzer target: any bytes as pasted text. A colour the parser takes must come back from the
// text of every built-in form, and a text it refuses must leave the colour alone.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "color/color_forms.h"
#include "color/color_text.h"

namespace {

// Says which rule broke, then stops the run as a crash so libFuzzer keeps the input.
[[noreturn]] void Fail(const char* rule, const char* text)
{
    fprintf(stderr, "check failed: %s: \"%s\"\n", rule, text);
    __builtin_trap();
}

bool SameFields(const ColorValue& a, const ColorValue& b)
{
    return a.red == b.red && a.green == b.green && a.blue == b.blue && a.hue == b.hue &&
           a.saturation == b.saturation && a.brightness == b.brightness && a.form == b.form;
}

// An exact-size heap copy with its NUL, so a read one past the end is caught by ASan.
std::unique_ptr<char[]> Terminated(const uint8_t* data, size_t size)
{
    std::unique_ptr<char[]> text(new char[size + 1]);
    if (size)
        memcpy(text.get(), data, size);
    text[size] = '\0';
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::unique_ptr<char[]> text = Terminated(data, size);

    // An Hsb colour no parse produces, so any write on failure shows.
    ColorValue before;
    before.Reset();
    before.SetHsb(12345, 23456, 34567);
    ColorValue color = before;
    if (!ParseColorText(text.get(), &color)) {
        if (!SameFields(color, before))
            Fail("a refused text changed the colour", text.get());
        return 0;
    }
    if (color.form != ColorForm::Rgb)
        Fail("a parsed colour is not in Rgb form", text.get());

    // Exactly the documented size, so a longer text is caught by ASan.
    std::unique_ptr<char[]> formatted(new char[COLOR_FORM_TEXT_SIZE]);
    for (uint32_t form = FORM_OKLCH; form <= FORM_INTEGER; ++form) {
        memset(formatted.get(), 0x7F, COLOR_FORM_TEXT_SIZE);
        if (FormatColorForm(form, color, formatted.get()) != formatted.get())
            Fail("a built-in form did not format", text.get());
        if (!memchr(formatted.get(), '\0', COLOR_FORM_TEXT_SIZE))
            Fail("a formatted text has no NUL", text.get());
        ColorValue back = before;
        if (!ParseColorText(formatted.get(), &back))
            Fail("a formatted text does not parse back", formatted.get());
        // Thousandths of a channel and the whole number lose nothing: the same colour returns.
        // Six decimal digits are read as RRGGBB, so those integers come back as another colour.
        const bool exact = form == FORM_COLOR_SRGB || form == FORM_FLOAT_TRIPLE ||
                           (form == FORM_INTEGER && strlen(formatted.get()) != 6);
        if (exact && back.GetRgb() != color.GetRgb())
            Fail("an exact form parses back to another colour", formatted.get());
    }
    // The ids on either side are no forms: nothing is written.
    const uint32_t notForms[2] = {FORM_OKLCH - 1, FORM_INTEGER + 1};
    for (uint32_t form : notForms) {
        memset(formatted.get(), 0x7F, COLOR_FORM_TEXT_SIZE);
        if (FormatColorForm(form, color, formatted.get()) || formatted[0] != 0x7F)
            Fail("an id that is no form wrote a text", text.get());
    }
    return 0;
}
