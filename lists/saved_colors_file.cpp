// The saved colours' INI file. The section is read once and written once: the profile
// functions open, parse and (when writing) rewrite the whole file on every call, so a key at a
// time costs minutes for a list of tens of thousands of rows.
#include "lists/saved_colors_file.h"

#include <cstring>

#include "color/color_value.h"
#include "color/hex_text.h"

namespace {

const char kSection[] = "SavedColors";
const char kCountKey[] = "nColors";
const char kColorKeyPrefix[] = "Color";
const char kMissingValue[] = "000000";
// A section larger than this is damaged beyond use; what fits is still read.
const DWORD kMaxSectionSize = 16 * 1024 * 1024;

// Characters [begin, end) of the section's text.
struct Span {
    const char* begin;
    const char* end;

    size_t Size() const { return static_cast<size_t>(end - begin); }
    bool Empty() const { return begin == end; }
    // Equal to `text` regardless of case, as the profile functions compare names.
    bool Is(const char* text) const
    {
        const size_t n = Size();
        return n == static_cast<size_t>(lstrlenA(text)) &&
               CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, begin, static_cast<int>(n), text,
                              static_cast<int>(n)) == CSTR_EQUAL;
    }
};

struct Entry {
    Span key;
    Span value;
    bool hasValue;
};

Span Trimmed(const char* begin, const char* end)
{
    while (begin < end && (*begin == ' ' || *begin == '\t'))
        ++begin;
    while (end > begin && (end[-1] == ' ' || end[-1] == '\t'))
        --end;
    return Span{begin, end};
}

// The section's lines as the profile functions hand them out, "key=value" each; its entries
// point into its text.
class Section {
public:
    explicit Section(const char* iniFile)
    {
        DWORD length = 0;
        bool truncated = false;
        for (DWORD size = 64 * 1024;; size *= 4) {
            if (!text_.Allocate(size))
                return;
            length = GetPrivateProfileSectionA(kSection, text_.Data(), size, iniFile);
            // A full buffer reads as size - 2.
            truncated = length >= size - 2;
            if (!truncated || size >= kMaxSectionSize)
                break;
        }
        const char* const first = text_.Data();
        const char* const end = first + length;
        size_t lines = 0;
        for (const char* p = first; p < end && *p; p += strnlen(p, end - p) + 1)
            ++lines;
        if (!entries_.Allocate(lines))
            return;
        const char* p = first;
        while (p < end && *p) {
            const char* line = p;
            const char* lineEnd = line + strnlen(line, end - line);
            p = lineEnd + 1;
            // The last line of a cut-off section may itself be cut.
            if (truncated && p >= end)
                break;
            const char* equals = static_cast<const char*>(memchr(line, '=', lineEnd - line));
            Entry& entry = entries_[count_++];
            entry.hasValue = equals != nullptr;
            entry.key = entry.hasValue ? Trimmed(line, equals) : Span{line, lineEnd};
            if (entry.hasValue)
                entry.value = Trimmed(equals + 1, lineEnd);
        }
    }

    size_t Count() const { return count_; }
    const Entry& operator[](size_t i) const { return entries_[i]; }

private:
    HeapBlock<char> text_;
    HeapBlock<Entry> entries_;
    size_t count_ = 0;
};

// As GetPrivateProfileString gives a value: one pair of enclosing quotes dropped.
Span Unquoted(Span value)
{
    const size_t n = value.Size();
    if (n >= 2 && (value.begin[0] == '"' || value.begin[0] == '\'') && value.end[-1] == value.begin[0])
        return Span{value.begin + 1, value.end - 1};
    return value;
}

// The row index of a key "Color" + decimal without leading zeros (any case), or -1.
long ColorKeyIndex(Span key)
{
    const size_t prefix = sizeof(kColorKeyPrefix) - 1;
    if (key.Size() <= prefix || key.Size() > prefix + 5 ||
        !Span{key.begin, key.begin + prefix}.Is(kColorKeyPrefix))
        return -1;
    const Span digits = {key.begin + prefix, key.end};
    uint32_t index = 0;
    if ((digits.Size() > 1 && digits.begin[0] == '0') || !ParseDecimal(digits.begin, digits.end, &index))
        return -1;
    return static_cast<long>(index);
}

// How many rows to load. A count of 0 to SAVED_COLORS_MAX is taken as written: keys missing
// below it read as black. A count that is negative, not a plain number, or larger is damage, and
// taking it (capped) would load tens of thousands of black rows and write them all back, making
// the damage permanent: it is replaced by the highest "ColorN" key present + 1, capped likewise.
// Without a count (no key, or a key without "=") nothing is loaded.
UINT SavedColorCount(const Section& section)
{
    const Entry* count = nullptr;
    long highest = -1;
    for (size_t i = 0; i < section.Count(); ++i) {
        const Entry& entry = section[i];
        if (!count && entry.key.Is(kCountKey))
            count = &entry;
        const long row = ColorKeyIndex(entry.key);
        if (row > highest)
            highest = row;
    }
    if (!count || !count->hasValue)
        return 0;

    const Span text = Unquoted(count->value);
    uint32_t written = 0;
    const long most = SAVED_COLORS_MAX;
    if (!text.Empty() && ParseDecimal(text.begin, text.end, &written) &&
        written <= static_cast<uint32_t>(most))
        return written;
    return static_cast<UINT>(highest + 1 < most ? highest + 1 : most);
}

// Appends characters to a block sized for everything written into it.
class Writer {
public:
    explicit Writer(size_t capacity) : capacity_(text_.Allocate(capacity) ? capacity : 0) {}
    bool Ok() const { return capacity_ > 0 && used_ <= capacity_; }
    void Put(const char* begin, size_t n)
    {
        if (used_ + n <= capacity_)
            memcpy(text_.Data() + used_, begin, n);
        used_ += n;
    }
    void Put(Span span) { Put(span.begin, span.Size()); }
    void Put(const char* text) { Put(text, lstrlenA(text)); }
    void End() { Put("", 1); }
    const char* Text() { return text_.Data(); }

private:
    HeapBlock<char> text_;
    size_t capacity_;
    size_t used_ = 0;
};

}  // namespace

size_t ReadSavedColorsFile(const char* iniFile, HeapBlock<uint32_t>* colors)
{
    colors->Free();
    // The first key of a name wins, as it does for the profile functions.
    const Section section(iniFile);
    const UINT count = SavedColorCount(section);
    HeapBlock<const Entry*> byRow;
    if (count == 0 || !byRow.Allocate(count) || !colors->Allocate(count))
        return 0;
    for (size_t i = 0; i < section.Count(); ++i) {
        const long row = ColorKeyIndex(section[i].key);
        if (row >= 0 && static_cast<UINT>(row) < count && !byRow[row])
            byRow[row] = &section[i];
    }

    size_t read = 0;
    for (UINT i = 0; i < count; ++i) {
        // A key without "=" has no value, which reads as the default, as a missing key does.
        char value[16] = "";
        if (byRow[i] && byRow[i]->hasValue) {
            // More than fits is no colour either: ParseHex refuses it.
            const Span text = Unquoted(byRow[i]->value);
            lstrcpynA(value, text.begin,
                      static_cast<int>(text.Size() < sizeof(value) ? text.Size() + 1 : sizeof(value)));
        } else {
            lstrcpyA(value, kMissingValue);
        }
        ColorValue color;
        color.Reset();
        if (ParseHex(color, value))
            (*colors)[read++] = color.GetRgb();
    }
    return read;
}

void WriteSavedColorsFile(const char* iniFile, const uint32_t* colors, size_t count)
{
    HeapBlock<char> values;  // six digits a row
    HeapBlock<bool> written;
    if (!values.Allocate(count * 6 + 1) || !written.Allocate(count + 1))
        return;
    for (size_t i = 0; i < count; ++i) {
        ColorValue color;
        color.Reset();
        color.SetRgb(colors[i]);
        char hex[HEX_TEXT_SIZE];
        memcpy(&values[i * 6], FormatHex(color, hex, true), 6);
    }
    char countText[16];
    wsprintfA(countText, "%lu", static_cast<unsigned long>(count));

    // Keys already there keep their place and other keys stay; new keys follow in order. The
    // section goes out in one write.
    const Section section(iniFile);
    size_t capacity = 64 + count * 20;
    for (size_t i = 0; i < section.Count(); ++i)
        capacity += section[i].key.Size() + section[i].value.Size() + 2 + sizeof(countText);
    Writer out(capacity);
    if (!out.Ok())
        return;
    bool countWritten = false;
    for (size_t i = 0; i < section.Count(); ++i) {
        const Entry& entry = section[i];
        out.Put(entry.key);
        if (entry.hasValue) {
            out.Put("=");
            const long row = ColorKeyIndex(entry.key);
            if (entry.key.Is(kCountKey) && !countWritten) {
                out.Put(countText);
                countWritten = true;
            } else if (row >= 0 && static_cast<size_t>(row) < count && !written[row]) {
                out.Put(&values[row * 6], 6);
                written[row] = true;
            } else {
                out.Put(entry.value);
            }
        }
        out.End();
    }
    if (!countWritten) {
        out.Put(kCountKey);
        out.Put("=");
        out.Put(countText);
        out.End();
    }
    for (size_t i = 0; i < count; ++i) {
        if (written[i])
            continue;
        char key[16];
        wsprintfA(key, "%s%lu=", kColorKeyPrefix, static_cast<unsigned long>(i));
        out.Put(key);
        out.Put(&values[i * 6], 6);
        out.End();
    }
    out.End();
    if (out.Ok())
        WritePrivateProfileSectionA(kSection, out.Text(), iniFile);
}
