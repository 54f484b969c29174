// The forms a colour is copied in: the built-in ones by their swatch-menu ids, the user's own
// templates, and the one the copy button and a pick use.
#pragma once
#include <cstddef>
#include <cstdint>

#include "color/color_template.h"
#include "color/color_value.h"

enum : uint32_t {
    CUSTOM_FORMAT_MAX = 20,
    CUSTOM_FORMAT_NAME_SIZE = 64,
    CUSTOM_FORMAT_FIRST_ID = 640,  // the user's formats on the swatch menu, in list order
    COPY_FORMAT_HEX = 600,         // the hex digits, as the prefix and case options say
};

struct CustomFormat {
    char name[CUSTOM_FORMAT_NAME_SIZE];
    char templ[COLOR_TEMPLATE_SIZE];
};

// Lives zero-filled in the main dialog's record; the swatches and the settings sheet read it.
struct CustomFormats {
    uint32_t count;
    CustomFormat items[CUSTOM_FORMAT_MAX];
};

// One stored "name<TAB>template" line; false for junk (no tab, no name, too long, a template
// that is not valid).
bool ParseCustomFormatLine(const char* line, CustomFormat* format);

// Whether `id` names a format there is: hex, a built-in one or one of `formats`.
bool IsCopyFormat(uint32_t id, const CustomFormats* formats);

// The colour as format `id` writes it, into text (size bytes): hex with the prefix and case
// given, the built-in forms by their menu ids, the user's from CUSTOM_FORMAT_FIRST_ID on. An id
// that names no format there is gives hex. False (text "") when the text does not fit.
bool FormatColorAs(uint32_t id, const ColorValue& color, const CustomFormats* formats, bool hexPrefix,
                   bool hexUpperCase, char* text, size_t size);
