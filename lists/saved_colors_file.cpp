// The saved colours' INI file. The section is read once and written once: the profile
// functions open, parse and (when writing) rewrite the whole file on every call, so a key at a
// time costs minutes for a list of tens of thousands of rows.
#include "lists/saved_colors.h"

#include <cstring>
#include <string>
#include <vector>

#include "color/color_value.h"
#include "color/hex_text.h"

namespace {

const char kSection[] = "SavedColors";
const char kCountKey[] = "nColors";
const char kColorKeyPrefix[] = "Color";
const char kMissingValue[] = "000000";
// A section larger than this is damaged beyond use; what fits is still read.
const DWORD kMaxSectionSize = 16 * 1024 * 1024;

struct Entry {
    std::string key;
    std::string value;
    bool hasValue;
};

std::string Trimmed(const char* begin, const char* end)
{
    while (begin < end && (*begin == ' ' || *begin == '\t'))
        ++begin;
    while (end > begin && (end[-1] == ' ' || end[-1] == '\t'))
        --end;
    return std::string(begin, end);
}

// The section's lines as the profile functions hand them out, "key=value" each.
std::vector<Entry> ReadSection(const char* iniFile)
{
    std::vector<char> buffer;
    DWORD length = 0;
    bool truncated = false;
    for (DWORD size = 64 * 1024;; size *= 4) {
        buffer.assign(size, '\0');
        length = GetPrivateProfileSectionA(kSection, buffer.data(), size, iniFile);
        // A full buffer reads as size - 2.
        truncated = length >= size - 2;
        if (!truncated || size >= kMaxSectionSize)
            break;
    }
    std::vector<Entry> entries;
    const char* p = buffer.data();
    const char* end = p + length;
    while (p < end && *p) {
        const char* line = p;
        const char* lineEnd = line + strnlen(line, end - line);
        p = lineEnd + 1;
        // The last line of a cut-off section may itself be cut.
        if (truncated && p >= end)
            break;
        const char* equals = static_cast<const char*>(memchr(line, '=', lineEnd - line));
        Entry entry;
        entry.hasValue = equals != nullptr;
        entry.key = entry.hasValue ? Trimmed(line, equals) : std::string(line, lineEnd);
        if (entry.hasValue)
            entry.value = Trimmed(equals + 1, lineEnd);
        entries.push_back(entry);
    }
    return entries;
}

// As GetPrivateProfileString gives a value: one pair of enclosing quotes dropped.
std::string Unquoted(const std::string& value)
{
    const size_t n = value.size();
    if (n >= 2 && (value[0] == '"' || value[0] == '\'') && value[n - 1] == value[0])
        return value.substr(1, n - 2);
    return value;
}

// The row index of a key "Color" + decimal without leading zeros (any case), or -1.
long ColorKeyIndex(const std::string& key)
{
    const size_t prefix = sizeof(kColorKeyPrefix) - 1;
    if (key.size() <= prefix || key.size() > prefix + 5 ||
        lstrcmpiA(key.substr(0, prefix).c_str(), kColorKeyPrefix) != 0)
        return -1;
    const std::string digits = key.substr(prefix);
    if (digits.size() > 1 && digits[0] == '0')
        return -1;
    long index = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return -1;
        index = index * 10 + (c - '0');
    }
    return index;
}

bool IsCountKey(const std::string& key)
{
    return lstrcmpiA(key.c_str(), kCountKey) == 0;
}

std::string ColorKey(long index)
{
    return kColorKeyPrefix + std::to_string(index);
}

// How many rows to load. A count of 0 to SAVED_COLORS_MAX is taken as written: keys missing
// below it read as black. A count that is negative, not a plain number, or larger is damage, and
// taking it (capped) would load tens of thousands of black rows and write them all back, making
// the damage permanent: it is replaced by the highest "ColorN" key present + 1, capped likewise.
// Without a count (no key, or a key without "=") nothing is loaded.
UINT SavedColorCount(const std::vector<Entry>& entries)
{
    const Entry* count = nullptr;
    long highest = -1;
    for (const Entry& entry : entries) {
        if (!count && IsCountKey(entry.key))
            count = &entry;
        const long row = ColorKeyIndex(entry.key);
        if (row > highest)
            highest = row;
    }
    if (!count || !count->hasValue)
        return 0;

    const std::string text = Unquoted(count->value);
    bool plain = !text.empty();
    UINT written = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            plain = false;
            break;
        }
        // Past the largest count the value only has to stay past it.
        if (written <= SAVED_COLORS_MAX)
            written = written * 10 + static_cast<UINT>(c - '0');
    }
    const long most = SAVED_COLORS_MAX;
    if (plain && written <= static_cast<UINT>(most))
        return written;
    return static_cast<UINT>(highest + 1 < most ? highest + 1 : most);
}

}  // namespace

void LoadSavedColorsFile(HWND list, const char* iniFile)
{
    // The first key of a name wins, as it does for the profile functions.
    const std::vector<Entry> entries = ReadSection(iniFile);
    const UINT count = SavedColorCount(entries);
    if (count == 0)
        return;

    std::vector<const Entry*> byRow(count, nullptr);
    for (const Entry& entry : entries) {
        const long row = ColorKeyIndex(entry.key);
        if (row >= 0 && static_cast<UINT>(row) < count && !byRow[row])
            byRow[row] = &entry;
    }

    // A long list would otherwise repaint and resize its scroll bar on every row.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_INITSTORAGE, count, 0);
    for (UINT i = 0; i < count; ++i) {
        // A key without "=" has no value, which reads as the default, as a missing key does.
        const std::string value =
            byRow[i] && byRow[i]->hasValue ? Unquoted(byRow[i]->value) : std::string(kMissingValue);
        ColorValue color;
        color.Reset();
        if (!ParseHex(color, value.c_str()))
            continue;
        if (SendMessageA(list, LB_ADDSTRING, 0, static_cast<LPARAM>(color.GetRgb())) < 0)
            break;
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void SaveSavedColorsFile(HWND list, const char* iniFile)
{
    LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    if (count < 0)
        count = 0;
    std::vector<std::string> values(count);
    for (LRESULT i = 0; i < count; ++i) {
        ColorValue color;
        color.Reset();
        color.SetRgb(static_cast<uint32_t>(SendMessageA(list, LB_GETITEMDATA, i, 0)));
        char hex[HEX_TEXT_SIZE];
        values[i] = FormatHex(color, hex, true);
    }

    // Keys already there keep their place and other keys stay; new keys follow in order.
    std::vector<Entry> entries = ReadSection(iniFile);
    bool countWritten = false;
    std::vector<bool> written(count, false);
    for (Entry& entry : entries) {
        if (!entry.hasValue)
            continue;
        const long row = ColorKeyIndex(entry.key);
        if (IsCountKey(entry.key) && !countWritten) {
            entry.value = std::to_string(count);
            countWritten = true;
        } else if (row >= 0 && row < count && !written[row]) {
            entry.value = values[row];
            written[row] = true;
        }
    }
    if (!countWritten)
        entries.push_back({kCountKey, std::to_string(count), true});
    for (LRESULT i = 0; i < count; ++i)
        if (!written[i])
            entries.push_back({ColorKey(static_cast<long>(i)), values[i], true});

    std::string section;
    for (const Entry& entry : entries) {
        section += entry.key;
        if (entry.hasValue)
            section += "=" + entry.value;
        section += '\0';
    }
    section += '\0';
    WritePrivateProfileSectionA(kSection, section.data(), iniFile);
}
