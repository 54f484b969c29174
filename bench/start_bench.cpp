// start_bench [--runs N] [--saved-colors N] TINTORA_EXE [REFERENCE_EXE [TEMPLATE_EXE]]
// Starts Tintora and the reference dialog (and Tintora's bare template) in turn, N times each,
// and prints the median time from CreateProcess to a shown top-level window of the process with
// the program's title, the memory it holds once shown, and the time from WM_CLOSE to its end.
// Every Tintora run is a first start; with --saved-colors its saved-colours file holds that many
// colours.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench_paths.h"
#include "core/product.h"
#include "lists/saved_colors_place.h"
#include "settings/registry_store.h"

namespace {

const char kTintoraTitle[] = PRODUCT_TITLE;
const char kReferenceTitle[] = "Reference Dialog";
const DWORD kHangGuardMs = 60000;

double g_tickMs = 0.0;

double NowMs()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * g_tickMs;
}

struct Sample {
    double startMs = 0;
    double closeMs = 0;
    double workingSetKb = 0;
    double privateKb = 0;
};

struct Search {
    DWORD pid;
    const char* title;
    HWND found;
};

BOOL CALLBACK FindShown(HWND window, LPARAM lparam)
{
    auto* search = reinterpret_cast<Search*>(lparam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->pid || !IsWindowVisible(window))
        return TRUE;
    char title[64] = "";
    GetWindowTextA(window, title, sizeof(title));
    if (strcmp(title, search->title) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

// A first start: no stored settings, and a saved-colours file only when asked for.
void PrepareTintora(int savedColors)
{
    RegDeleteKeyA(HKEY_CURRENT_USER, SETTINGS_KEY);
    SavedColorsPlace place;
    FindSavedColorsPlace(&place);
    DeleteFileA(place.file);
    DeleteFileA(place.readFrom);  // an earlier version's, if one is there
    PrepareSavedColorsFile(place);
    const std::string ini = place.file;
    if (savedColors <= 0)
        return;
    std::string text = "[SavedColors]\r\nnColors=" + std::to_string(savedColors) + "\r\n";
    for (int i = 0; i < savedColors; ++i) {
        char line[32];
        snprintf(line, sizeof(line), "Color%d=%06X\r\n", i, (i * 2654435761u) & 0xFFFFFF);
        text += line;
    }
    HANDLE file = CreateFileA(ini.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    if (file != INVALID_HANDLE_VALUE) {
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(file);
    }
}

bool RunOnce(const std::string& program, const char* title, Sample* sample)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::string command = "\"" + program + "\"";
    const std::string folder = FolderOf(program);
    const double started = NowMs();
    if (!CreateProcessA(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &process)) {
        fprintf(stderr, "start_bench: cannot start %s\n", program.c_str());
        return false;
    }
    Search search = {process.dwProcessId, title, nullptr};
    while (!search.found) {
        EnumWindows(FindShown, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            break;
        if (NowMs() - started > kHangGuardMs || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
            fprintf(stderr, "start_bench: no window \"%s\" from %s\n", title, program.c_str());
            TerminateProcess(process.hProcess, 1);
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
            return false;
        }
        Sleep(1);
    }
    sample->startMs = NowMs() - started;

    // Settled: what the shown window holds, not what its start briefly took.
    Sleep(300);
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof(memory);
    if (GetProcessMemoryInfo(process.hProcess, &memory, sizeof(memory))) {
        sample->workingSetKb = memory.WorkingSetSize / 1024.0;
        sample->privateKb = memory.PagefileUsage / 1024.0;
    }

    const double closing = NowMs();
    PostMessageA(search.found, WM_CLOSE, 0, 0);
    const bool ended = WaitForSingleObject(process.hProcess, kHangGuardMs) == WAIT_OBJECT_0;
    sample->closeMs = NowMs() - closing;
    if (!ended)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return ended;
}

double Median(std::vector<Sample>& samples, double Sample::*field)
{
    std::vector<double> values;
    for (const Sample& s : samples)
        values.push_back(s.*field);
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

void Print(const char* name, std::vector<Sample>& samples)
{
    printf("%-18s start %7.1f ms   close %7.1f ms   working set %7.0f KB   private %7.0f KB\n", name,
           Median(samples, &Sample::startMs), Median(samples, &Sample::closeMs),
           Median(samples, &Sample::workingSetKb), Median(samples, &Sample::privateKb));
}

}  // namespace

int main(int argc, char** argv)
{
    int runs = 15;
    int savedColors = 0;
    std::vector<std::string> programs;
    for (int i = 1; i < argc; ++i) {
        if (!strcmp(argv[i], "--runs") && i + 1 < argc)
            runs = atoi(argv[++i]);
        else if (!strcmp(argv[i], "--saved-colors") && i + 1 < argc)
            savedColors = atoi(argv[++i]);
        else
            programs.push_back(argv[i]);
    }
    if (programs.empty() || programs.size() > 3 || runs < 1) {
        fprintf(
            stderr,
            "usage: start_bench [--runs N] [--saved-colors N] TINTORA_EXE [REFERENCE_EXE [TEMPLATE_EXE]]\n");
        return 2;
    }
    for (std::string& program : programs)
        program = DosPath(program);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    g_tickMs = 1000.0 / static_cast<double>(frequency.QuadPart);
    // Tintora, the reference dialog, the bare template, with their window titles.
    const char* const titles[3] = {kTintoraTitle, kReferenceTitle, kTintoraTitle};
    const char* const names[3] = {"tintora", "reference dialog", "bare template"};

    // One start of each first: what the system loads once for any program is not counted.
    Sample discard;
    for (size_t p = 0; p < programs.size(); ++p) {
        PrepareTintora(savedColors);
        if (!RunOnce(programs[p], titles[p], &discard))
            return 1;
    }

    std::vector<Sample> samples[3];
    for (int i = 0; i < runs; ++i) {
        for (size_t p = 0; p < programs.size(); ++p) {
            Sample sample;
            PrepareTintora(savedColors);
            if (!RunOnce(programs[p], titles[p], &sample))
                return 1;
            samples[p].push_back(sample);
        }
    }
    PrepareTintora(0);

    if (savedColors > 0)
        printf("start and close with %d saved colours (target 1000 ms or less each), median of %d runs\n",
               savedColors, runs);
    else
        printf("start and close, median of %d runs each, in turn\n", runs);
    for (size_t p = 0; p < programs.size(); ++p)
        Print(names[p], samples[p]);
    if (programs.size() < 2)
        return 0;
    const double tintoraMs = Median(samples[0], &Sample::startMs);
    const double referenceMs = Median(samples[1], &Sample::startMs);
    printf("start ratio %.2f (target 1.30 or less)\n", tintoraMs / referenceMs);
    if (programs.size() == 3) {
        const double bareMs = Median(samples[2], &Sample::startMs);
        printf("the bare template alone %.2f; Tintora's own work above it %.1f ms\n", bareMs / referenceMs,
               tintoraMs - bareMs);
    }
    return 0;
}
