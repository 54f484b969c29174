// Whole files read and written byte for byte, for the unit tests and the end-to-end driver alike.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

inline bool ReadWholeFile(const std::string& path, std::string* contents)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    contents->clear();
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read)
        contents->append(buffer, read);
    CloseHandle(file);
    return true;
}

// Replaces the file's contents with the text; false when it could not be written whole.
inline bool WriteWholeFile(const std::string& path, const std::string& text)
{
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return written == text.size();
}

// The text's lines without their line ends, empty lines dropped.
inline std::vector<std::string> NonEmptyLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (char c : text + "\n") {
        if (c == '\r')
            continue;
        if (c != '\n') {
            line += c;
            continue;
        }
        if (!line.empty())
            lines.push_back(line);
        line.clear();
    }
    return lines;
}
