#include "color/palette_files.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "color/color_spaces.h"
#include "color/color_text.h"
#include "color/color_value.h"
#include "color/hex_text.h"

static_assert(sizeof(float) == 4 && std::numeric_limits<float>::is_iec559,
              "Swatch Exchange floats are read and written as IEEE singles");

bool PaletteFormatOfName(const char* name, PaletteFormat* format)
{
    if (!name)
        return false;
    // What follows the last dot; a folder's dot leaves a separator in it, which no extension has.
    const char* dot = strrchr(name, '.');
    if (!dot)
        return false;
    const struct {
        const char* extension;
        PaletteFormat format;
    } extensions[] = {{"gpl", PALETTE_GPL},
                      {"ase", PALETTE_ASE},
                      {"css", PALETTE_CSS},
                      {"txt", PALETTE_TEXT},
                      {"hex", PALETTE_TEXT}};
    for (const auto& e : extensions) {
        const char* a = dot + 1;
        const char* b = e.extension;
        while (*a && *b && (*a | 0x20) == *b) {
            ++a;
            ++b;
        }
        if (!*a && !*b) {
            *format = e.format;
            return true;
        }
    }
    return false;
}

namespace {

// What a read found, whether or not it keeps the colours: a checking pass has no `colors`.
struct Collector {
    uint32_t* colors;
    uint32_t room;
    PaletteReadResult result;

    static void Count(uint32_t* n)
    {
        if (*n != UINT32_MAX)
            ++*n;
    }
    void Add(uint32_t rgb)
    {
        if (result.added >= room) {
            Count(&result.didNotFit);
            return;
        }
        if (colors)
            colors[result.added] = rgb;
        ++result.added;
    }
    void NotColor() { Count(&result.notColors); }
};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Splits text at LF and at CR. A CRLF leaves an empty line between, which every reader skips as
// it skips blank lines.
struct Lines {
    const char* at;
    const char* end;

    bool Next(const char** begin, const char** lineEnd)
    {
        if (at >= end)
            return false;
        *begin = at;
        while (at < end && *at != '\n' && *at != '\r')
            ++at;
        *lineEnd = at;
        if (at < end)
            ++at;
        return true;
    }
};

Lines TextLines(const char* data, size_t size)
{
    Lines lines = {data, data + size};
    if (size >= 3 && memcmp(data, "\xEF\xBB\xBF", 3) == 0)
        lines.at += 3;
    return lines;
}

void Trim(const char** begin, const char** end)
{
    while (*begin < *end && IsBlank(**begin))
        ++*begin;
    while (*end > *begin && IsBlank((*end)[-1]))
        --*end;
}

bool StartsWith(const char* begin, const char* end, const char* prefix)
{
    const size_t length = strlen(prefix);
    return static_cast<size_t>(end - begin) >= length && memcmp(begin, prefix, length) == 0;
}

// Room for any colour text a person writes; ParseColorText needs its text NUL-terminated, and a
// bounded copy keeps a long line from costing more than its length.
enum { LINE_BUFFER_SIZE = 256 };

// [begin, end) as a colour; a longer text or one holding a NUL is none.
bool ColorOfText(const char* begin, const char* end, uint32_t* rgb)
{
    const size_t length = static_cast<size_t>(end - begin);
    if (length >= LINE_BUFFER_SIZE || memchr(begin, '\0', length))
        return false;
    char text[LINE_BUFFER_SIZE];
    memcpy(text, begin, length);
    text[length] = '\0';
    ColorValue color{};
    if (!ParseColorText(text, &color))
        return false;
    *rgb = color.GetRgb();
    return true;
}

// One of a GIMP row's numbers, 0..255, after any blanks; it must end at a blank or the line's end.
bool GplNumber(const char** at, const char* end, uint32_t* value)
{
    while (*at < end && IsBlank(**at))
        ++*at;
    uint32_t v = 0;
    const char* digits = *at;
    for (; *at < end && **at >= '0' && **at <= '9'; ++*at)
        if (v <= 255)
            v = v * 10 + static_cast<uint32_t>(**at - '0');
    if (*at == digits || v > 255 || (*at < end && !IsBlank(**at)))
        return false;
    *value = v;
    return true;
}

bool ReadGpl(const char* data, size_t size, Collector* found)
{
    Lines lines = TextLines(data, size);
    const char *begin, *end;
    if (!lines.Next(&begin, &end))
        return false;
    Trim(&begin, &end);
    if (static_cast<size_t>(end - begin) != strlen("GIMP Palette") || !StartsWith(begin, end, "GIMP Palette"))
        return false;
    while (lines.Next(&begin, &end)) {
        Trim(&begin, &end);
        if (begin == end || *begin == '#' || StartsWith(begin, end, "Name:") ||
            StartsWith(begin, end, "Columns:"))
            continue;
        // R G B, then a blank and the name, or nothing.
        uint32_t c[3];
        const char* at = begin;
        if (GplNumber(&at, end, &c[0]) && GplNumber(&at, end, &c[1]) && GplNumber(&at, end, &c[2]))
            found->Add(c[0] << 16 | c[1] << 8 | c[2]);
        else
            found->NotColor();
    }
    return true;
}

bool ReadText(const char* data, size_t size, Collector* found)
{
    Lines lines = TextLines(data, size);
    const char *begin, *end;
    while (lines.Next(&begin, &end)) {
        Trim(&begin, &end);
        if (begin == end || *begin == ';' || StartsWith(begin, end, "//"))
            continue;
        uint32_t rgb;
        if (ColorOfText(begin, end, &rgb))
            found->Add(rgb);
        else
            found->NotColor();
    }
    return true;
}

// A value as CSS writes colours: a #hex or a word (a name or a function). Pasted text also takes
// numbers and bare hex digits, but in a style sheet those are lengths, weights and names
// (margin: 0, z-index: 100000, font-family: facade).
bool IsCssColorText(const char* text, size_t length)
{
    if (length && text[0] == '#')
        return true;
    if (!length || !((text[0] | 0x20) >= 'a' && (text[0] | 0x20) <= 'z'))
        return false;
    size_t hexDigits = 0;
    while (hexDigits < length && HexDigitValue(text[hexDigits]) >= 0)
        ++hexDigits;
    return !(length == 6 && hexDigits == 6);
}

// A style sheet's colours: the value of every declaration that is a colour. Other declarations
// are what a style sheet mostly holds, so they are not counted.
bool ReadCss(const char* data, size_t size, Collector* found)
{
    const char* at = data;
    const char* end = data + size;
    char value[LINE_BUFFER_SIZE];
    size_t length = 0;
    size_t blanks = 0;  // held back until something follows them, so trailing ones cost nothing
    bool colon = false, tooLong = false;
    for (;;) {
        const char c = at < end ? *at : '\0';
        if (at == end || c == '{' || c == '}' || c == ';') {
            // A piece that ends at '{' is a selector, whatever colons it holds (a:hover).
            if (c != '{' && colon && !tooLong) {
                uint32_t rgb;
                if (IsCssColorText(value, length) && ColorOfText(value, value + length, &rgb))
                    found->Add(rgb);
            }
            if (at == end)
                return true;
            ++at;
            length = blanks = 0;
            colon = tooLong = false;
            continue;
        }
        // A comment parts what is on either side of it, as a blank does.
        bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
        if (c == '/' && end - at >= 2 && at[1] == '*') {
            const char* close = at + 2;
            while (close < end && !(*close == '*' && end - close >= 2 && close[1] == '/'))
                ++close;
            at = close < end ? close + 2 : end;
            blank = true;
        } else {
            ++at;
        }
        if (!colon) {
            colon = c == ':';
            continue;
        }
        if (blank) {
            blanks += length ? 1 : 0;
            continue;
        }
        for (; blanks && length < sizeof value; --blanks)
            value[length++] = ' ';
        if (blanks || length >= sizeof value) {
            tooLong = true;
            blanks = 0;
            continue;
        }
        value[length++] = c;
    }
}

// Big-endian fields of a Swatch Exchange file; every read is checked against `end` first.
struct Bytes {
    const unsigned char* at;
    const unsigned char* end;

    size_t Left() const { return static_cast<size_t>(end - at); }
    uint32_t U16()
    {
        const uint32_t v = uint32_t{at[0]} << 8 | at[1];
        at += 2;
        return v;
    }
    uint32_t U32()
    {
        const uint32_t v = U16() << 16;
        return v | U16();
    }
    float F32()
    {
        const uint32_t bits = U32();
        float v;
        memcpy(&v, &bits, sizeof v);
        return v;
    }
    // A u16 length in UTF-16 code units and the name it measures.
    bool SkipName()
    {
        if (Left() < 2)
            return false;
        const size_t bytes = size_t{U16()} * 2;
        if (bytes > Left())
            return false;
        at += bytes;
        return true;
    }
};

// 0..255 of a fraction 0..1, half up; NaN is 0.
uint32_t Channel(double fraction)
{
    if (!(fraction > 0))
        return 0;
    if (fraction >= 1)
        return 255;
    return static_cast<uint32_t>(std::floor(fraction * 255 + 0.5));
}

uint32_t PackedRgb(const Coords& srgb)
{
    return Channel(srgb.c[0]) << 16 | Channel(srgb.c[1]) << 8 | Channel(srgb.c[2]);
}

double Clamped(double v, double low, double high)
{
    return !(v > low) ? low : v > high ? high : v;  // NaN is `low`
}

// The file's CIE Lab (D50) has L as a fraction 0..1 and a, b in -128..127. A colour outside sRGB
// is brought in the way a pasted lab() is.
uint32_t LabColor(const float v[3])
{
    const Coords lab = {{Clamped(v[0] * 100.0, 0, 100), Clamped(v[1], -128, 127), Clamped(v[2], -128, 127)}};
    const Coords xyz = XyzD50ToD65(LabToXyzD50(lab));
    return PackedRgb(FitIntoSrgb(XyzToOklab(xyz), XyzToSrgb(xyz)));
}

// A colour entry's body: name, model, the model's floats, then a colour type that is not read.
bool ReadAseColor(Bytes body, Collector* found)
{
    if (!body.SkipName() || body.Left() < 4)
        return false;
    enum class Model { Rgb, Cmyk, Lab, Gray, Unknown };
    const struct {
        char name[5];
        Model model;
        size_t floats;
    } models[] = {
        {"RGB ", Model::Rgb, 3}, {"CMYK", Model::Cmyk, 4}, {"LAB ", Model::Lab, 3}, {"Gray", Model::Gray, 1}};
    Model model = Model::Unknown;
    size_t floats = 0;
    for (const auto& m : models)
        if (memcmp(body.at, m.name, 4) == 0) {
            model = m.model;
            floats = m.floats;
        }
    body.at += 4;
    if (model == Model::Unknown) {
        found->NotColor();
        return true;
    }
    if (body.Left() < floats * 4)
        return false;
    float v[4] = {};
    for (size_t i = 0; i < floats; ++i)
        v[i] = body.F32();
    switch (model) {
    case Model::Rgb:
        found->Add(PackedRgb(Coords{{v[0], v[1], v[2]}}));
        break;
    case Model::Cmyk: {
        // The naive inks, each held to 0..1 so two negatives cannot make a positive.
        const double white = 1 - Clamped(v[3], 0, 1);
        Coords srgb;
        for (int i = 0; i < 3; ++i)
            srgb.c[i] = (1 - Clamped(v[i], 0, 1)) * white;
        found->Add(PackedRgb(srgb));
        break;
    }
    case Model::Lab:
        found->Add(LabColor(v));
        break;
    case Model::Gray:
    case Model::Unknown:
        found->Add(PackedRgb(Coords{{v[0], v[0], v[0]}}));
        break;
    }
    return true;
}

enum : uint32_t { ASE_GROUP_START = 0xC001, ASE_COLOR = 0x0001 };

// False for a file that is not one or is malformed anywhere.
bool ReadAse(const char* data, size_t size, Collector* found)
{
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(data);
    Bytes file = {bytes, bytes + size};
    if (size < 12 || memcmp(data, "ASEF", 4) != 0)
        return false;
    file.at += 4;
    if (file.U16() != 1)
        return false;
    file.U16();  // the minor version changes nothing we read
    // Each block takes at least six bytes, so a count larger than the file stops at its end.
    for (uint32_t blocks = file.U32(); blocks; --blocks) {
        if (file.Left() < 6)
            return false;
        const uint32_t type = file.U16();
        const uint32_t length = file.U32();
        if (length > file.Left())
            return false;
        Bytes body = {file.at, file.at + length};
        file.at += length;
        // Groups only gather colours; a group's end and unknown blocks hold none to read.
        bool wellFormed = true;
        if (type == ASE_COLOR)
            wellFormed = ReadAseColor(body, found);
        else if (type == ASE_GROUP_START)
            wellFormed = body.SkipName();
        if (!wellFormed)
            return false;
    }
    return true;
}

// Bytes of a file being written: counted always, stored only when `out` is set.
struct Sink {
    char* out;
    size_t used;

    void Put(const char* text, size_t length)
    {
        if (out)
            memcpy(out + used, text, length);
        used += length;
    }
    void Put(const char* text) { Put(text, strlen(text)); }
    void Byte(uint32_t b)
    {
        const char c = static_cast<char>(b);
        Put(&c, 1);
    }
    void U16(uint32_t v)
    {
        Byte(v >> 8 & 0xFF);
        Byte(v & 0xFF);
    }
    void U32(uint32_t v)
    {
        U16(v >> 16);
        U16(v & 0xFFFF);
    }
    void F32(float v)
    {
        uint32_t bits;
        memcpy(&bits, &v, sizeof bits);
        U32(bits);
    }
    void Hex(uint32_t rgb, bool upperCase)
    {
        const char* digits = upperCase ? "0123456789ABCDEF" : "0123456789abcdef";
        char text[6];
        for (int i = 0; i < 6; ++i)
            text[i] = digits[rgb >> (20 - 4 * i) & 15];
        Put(text, 6);
    }
    // A number, right-aligned in `width` columns.
    void Decimal(uint32_t v, int width)
    {
        char text[10];
        int length = 0;
        do {
            text[sizeof text - ++length] = static_cast<char>('0' + v % 10);
            v /= 10;
        } while (v);
        for (; length < width; ++length)
            text[sizeof text - 1 - length] = ' ';
        Put(text + sizeof text - length, static_cast<size_t>(length));
    }
};

// The whole file, or only its length when the sink has no `out`: measuring by the same code that
// writes keeps the two from ever disagreeing.
void WriteFile(PaletteFormat format, const uint32_t* colors, uint32_t count, bool upperCase, bool prefix,
               Sink* sink)
{
    switch (format) {
    case PALETTE_GPL:
        sink->Put("GIMP Palette\nName: Tintora\nColumns: 16\n#\n");
        for (uint32_t i = 0; i < count; ++i) {
            const uint32_t rgb = colors[i] & 0xFFFFFF;
            sink->Decimal(rgb >> 16, 3);
            sink->Byte(' ');
            sink->Decimal(rgb >> 8 & 0xFF, 3);
            sink->Byte(' ');
            sink->Decimal(rgb & 0xFF, 3);
            sink->Byte('\t');
            sink->Hex(rgb, true);
            sink->Byte('\n');
        }
        break;
    case PALETTE_ASE:
        sink->Put("ASEF");
        sink->U16(1);
        sink->U16(0);
        sink->U32(count);
        for (uint32_t i = 0; i < count; ++i) {
            const uint32_t rgb = colors[i] & 0xFFFFFF;
            sink->U16(ASE_COLOR);
            sink->U32(2 + 7 * 2 + 4 + 3 * 4 + 2);
            sink->U16(7);  // six digits and the terminator
            const char* digits = "0123456789ABCDEF";
            for (int d = 0; d < 6; ++d)
                sink->U16(static_cast<unsigned char>(digits[rgb >> (20 - 4 * d) & 15]));
            sink->U16(0);
            sink->Put("RGB ");
            for (int shift = 16; shift >= 0; shift -= 8)
                sink->F32(static_cast<float>((rgb >> shift & 0xFF) / 255.0));
            sink->U16(0);  // global
        }
        break;
    case PALETTE_CSS:
        sink->Put(":root {\n");
        for (uint32_t i = 0; i < count; ++i) {
            sink->Put("  --color-");
            sink->Decimal(i + 1, 1);
            sink->Put(": #");
            sink->Hex(colors[i] & 0xFFFFFF, false);
            sink->Put(";\n");
        }
        sink->Put("}\n");
        break;
    case PALETTE_TEXT:
        for (uint32_t i = 0; i < count; ++i) {
            if (prefix)
                sink->Byte('#');
            sink->Hex(colors[i] & 0xFFFFFF, upperCase);
            sink->Put("\r\n");
        }
        break;
    }
}

}  // namespace

PaletteReadResult ReadPalette(PaletteFormat format, const char* data, size_t size, uint32_t* colors,
                              uint32_t room)
{
    bool (*const readers[])(const char*, size_t, Collector*) = {ReadGpl, ReadAse, ReadCss, ReadText};
    const PaletteReadResult refused = {0, 0, 0, true};
    if (format >= sizeof readers / sizeof readers[0] || (!data && size))
        return refused;
    if (!data)
        data = "";
    // A Swatch Exchange file may turn out malformed after its first colours: it is checked whole
    // before anything is stored. The text forms refuse nothing past their first line.
    if (format == PALETTE_ASE) {
        Collector check = {nullptr, room, {0, 0, 0, false}};
        if (!ReadAse(data, size, &check))
            return refused;
    }
    Collector found = {colors, colors ? room : 0, {0, 0, 0, false}};
    if (!readers[format](data, size, &found))
        return refused;
    return found.result;
}

size_t WritePalette(PaletteFormat format, const uint32_t* colors, uint32_t count, bool hexUpperCase,
                    bool hexPrefix, char* out, size_t size)
{
    if (format > PALETTE_TEXT || (!colors && count))
        return 0;
    // The longest row is 40 bytes (a Swatch Exchange entry) and the CSS header and footer 10, so
    // this many colours always fit in a size_t; beyond it the file could not be held anyway.
    if (uint64_t{count} * 48 + 64 > std::numeric_limits<size_t>::max())
        return std::numeric_limits<size_t>::max();
    Sink measure = {nullptr, 0};
    WriteFile(format, colors, count, hexUpperCase, hexPrefix, &measure);
    if (out && measure.used <= size) {
        Sink sink = {out, 0};
        WriteFile(format, colors, count, hexUpperCase, hexPrefix, &sink);
    }
    return measure.used;
}
