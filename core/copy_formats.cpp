#include "core/copy_formats.h"

#include <cstring>

#include "color/color_forms.h"
#include "color/color_text.h"
#include "color/hex_text.h"
#include "resources/resource.h"

bool ParseCustomFormatLine(const char* line, CustomFormat* format)
{
    const char* tab = strchr(line, '\t');
    if (!tab || tab == line)
        return false;
    const size_t nameLength = static_cast<size_t>(tab - line), templLength = strlen(tab + 1);
    if (nameLength >= sizeof(format->name) || templLength == 0 || templLength >= sizeof(format->templ))
        return false;
    char problem[8];
    if (!CheckColorTemplate(tab + 1, problem, sizeof(problem)))
        return false;
    memcpy(format->name, line, nameLength);
    format->name[nameLength] = '\0';
    memcpy(format->templ, tab + 1, templLength + 1);
    return true;
}

bool IsCopyFormat(uint32_t id, const CustomFormats* formats)
{
    if (id == COPY_FORMAT_HEX || (id >= IDM_COPY_CSS_RGB && id <= IDM_COPY_COLORREF) ||
        (id >= FORM_OKLCH && id <= FORM_INTEGER))
        return true;
    return formats && id >= CUSTOM_FORMAT_FIRST_ID && id - CUSTOM_FORMAT_FIRST_ID < formats->count;
}

bool FormatColorAs(uint32_t id, const ColorValue& color, const CustomFormats* formats, bool hexPrefix,
                   bool hexUpperCase, char* text, size_t size)
{
    if (!size)
        return false;
    text[0] = '\0';
    if (formats && id >= CUSTOM_FORMAT_FIRST_ID && id - CUSTOM_FORMAT_FIRST_ID < formats->count)
        return ExpandColorTemplate(formats->items[id - CUSTOM_FORMAT_FIRST_ID].templ, color, text, size);
    static_assert(static_cast<int>(COLOR_FORM_TEXT_SIZE) >= static_cast<int>(COLOR_TEXT_SIZE),
                  "every form fits");
    char formed[COLOR_FORM_TEXT_SIZE] = "";
    if (id == IDM_COPY_CSS_RGB)
        FormatCssRgb(color, formed);
    else if (id == IDM_COPY_CSS_HSL)
        FormatCssHsl(color, formed);
    else if (id == IDM_COPY_WIN32_RGB)
        FormatWin32Rgb(color, formed);
    else if (id == IDM_COPY_COLORREF)
        FormatColorRefLiteral(color, formed);
    else if (!FormatColorForm(id, color, formed)) {
        char* digits = formed;
        if (hexPrefix)
            *digits++ = '#';
        FormatHex(color, digits, hexUpperCase);
    }
    if (strlen(formed) >= size)
        return false;
    strcpy(text, formed);
    return true;
}
