// libFuzzer target: the first three bytes are red, green and blue, the rest is a copy template.
// The check and the expansion must agree, the expansion must fit exactly the buffers it says it
// fits, and every text written must end inside its buffer.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "color/color_template.h"

namespace {

// Past the longest template the settings keep, so the refusal of long ones is exercised too.
const size_t MAX_TEMPLATE = 2 * COLOR_TEMPLATE_SIZE;
// No placeholder's value is more than twice its name's length, and a template stays short of
// COLOR_TEMPLATE_SIZE: this always holds a valid template's text.
const size_t BIG_TEXT = 4 * COLOR_TEMPLATE_SIZE;

// Says which rule broke, then stops the run as a crash so libFuzzer keeps the input.
[[noreturn]] void Fail(const char* rule, const char* templ)
{
    fprintf(stderr, "check failed: %s: \"%s\"\n", rule, templ);
    __builtin_trap();
}

// A buffer of exactly `size` bytes, so a write past it is caught by ASan; filled with a byte no
// text holds, so a missing NUL shows.
std::unique_ptr<char[]> Buffer(size_t size)
{
    std::unique_ptr<char[]> buffer(new char[size]);
    memset(buffer.get(), 0x7F, size);
    return buffer;
}

bool EndsWithin(const char* text, size_t size)
{
    return memchr(text, '\0', size) != nullptr;
}

// CheckColorTemplate with a problem buffer of `size` bytes; a refusal's problem must be the
// offending text as written (so found in the template), cut to fit.
bool CheckWith(const char* templ, size_t size, char* problem)
{
    const bool valid = CheckColorTemplate(templ, problem, size);
    if (valid)
        return true;
    if (!EndsWithin(problem, size))
        Fail("the problem has no NUL within its buffer", templ);
    if (strlen(templ) < COLOR_TEMPLATE_SIZE) {
        if (size > 1 && problem[0] != '{' && problem[0] != '}')
            Fail("the problem is not a brace's text", templ);
        if (!strstr(templ, problem))
            Fail("the problem is not text of the template", templ);
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3)
        return 0;
    ColorValue color;
    color.Reset();
    color.SetRgb(uint32_t{data[0]} << 16 | uint32_t{data[1]} << 8 | data[2]);
    const size_t length = size - 3 < MAX_TEMPLATE ? size - 3 : MAX_TEMPLATE;
    std::unique_ptr<char[]> templ(new char[length + 1]);
    if (length)
        memcpy(templ.get(), data + 3, length);
    templ[length] = '\0';
    const size_t written = strlen(templ.get());  // an embedded NUL ends it early

    // The whole problem, and the same cut short: the short one is the whole one's start.
    std::unique_ptr<char[]> problem = Buffer(COLOR_TEMPLATE_SIZE);
    const bool valid = CheckWith(templ.get(), COLOR_TEMPLATE_SIZE, problem.get());
    const size_t cut = 1 + data[0] % 8;
    std::unique_ptr<char[]> shortProblem = Buffer(cut);
    if (CheckWith(templ.get(), cut, shortProblem.get()) != valid)
        Fail("the check depends on the problem buffer's size", templ.get());
    if (!valid && strncmp(problem.get(), shortProblem.get(), strlen(shortProblem.get())) != 0)
        Fail("a cut problem is not the start of the whole one", templ.get());
    if (written >= COLOR_TEMPLATE_SIZE && (valid || problem[0] != '\0'))
        Fail("a template too long is not refused with an empty problem", templ.get());

    std::unique_ptr<char[]> full = Buffer(BIG_TEXT);
    const bool expanded = ExpandColorTemplate(templ.get(), color, full.get(), BIG_TEXT);
    if (!EndsWithin(full.get(), BIG_TEXT))
        Fail("the expansion has no NUL within its buffer", templ.get());
    if (expanded != valid)
        Fail(valid ? "a valid template did not expand" : "an invalid template expanded", templ.get());
    if (!expanded && full[0] != '\0')
        Fail("a failed expansion left text", templ.get());

    // The same colour held as hue, saturation and brightness expands just as well.
    ColorValue hsb = color;
    hsb.SwitchForm();
    std::unique_ptr<char[]> fromHsb = Buffer(BIG_TEXT);
    if (ExpandColorTemplate(templ.get(), hsb, fromHsb.get(), BIG_TEXT) != valid)
        Fail("the colour's form changed the expansion's result", templ.get());
    if (!EndsWithin(fromHsb.get(), BIG_TEXT))
        Fail("the expansion has no NUL within its buffer", templ.get());
    if (!valid)
        return 0;

    // Exactly fitting succeeds with the same text; one byte less fails with "".
    const size_t needed = strlen(full.get()) + 1;
    std::unique_ptr<char[]> exact = Buffer(needed);
    if (!ExpandColorTemplate(templ.get(), color, exact.get(), needed))
        Fail("the expansion did not fit a buffer of its own size", templ.get());
    if (strcmp(exact.get(), full.get()) != 0)
        Fail("the expansion differs with the buffer's size", templ.get());
    if (needed > 1) {
        std::unique_ptr<char[]> tight = Buffer(needed - 1);
        if (ExpandColorTemplate(templ.get(), color, tight.get(), needed - 1))
            Fail("the expansion claimed to fit a buffer too small", templ.get());
        if (tight[0] != '\0')
            Fail("a failed expansion left text", templ.get());
    }
    return 0;
}
