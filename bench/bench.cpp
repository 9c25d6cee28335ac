// bench/bench.cpp: times Mirolt.exe against the plain dialog program, alternating, and prints the medians.
// Usage: mirolt_bench MIROLT.EXE PLAIN.EXE [ROUNDS]   (net.exe in the system folder must exit 0 at once)
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

#include "resources/resource.h"

namespace {

const DWORD kSettleMs = 500;
const DWORD kIdleMs = 3000;
const DWORD kTimeoutMs = 30000;

struct Samples {
    std::vector<double> startupMs, workingSetKb, privateKb, idleCpuMs, idleButtonCpuMs, sendMs;
};

double NowMs()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart)
        ::QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Polls every millisecond, so that the figures are not rounded up to a coarse step.
void WaitFor(const std::function<bool()>& condition, const char* what)
{
    DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > kTimeoutMs)
            throw std::runtime_error(std::string("timed out waiting for ") + what);
        ::Sleep(1);
    }
}

// A visible dialog of the process with this caption, or null. The window server picks out the dialogs with the
// caption, so a poll costs only a few requests to it: polling competes with the program being measured.
HWND DialogOf(DWORD pid, const char* caption)
{
    for (HWND window = nullptr; (window = ::FindWindowExA(nullptr, window, "#32770", caption)) != nullptr;) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == pid && ::IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

// The head of an entry of the system's process list; every SDK has it, some under reserved names.
struct ProcessEntry {
    ULONG next, threads;
    LARGE_INTEGER reserved[3], created, userTime, kernelTime;
    UNICODE_STRING image;
    LONG priority;
    HANDLE pid;
};

// CPU time of a process in ms, from the system's process list: under Wine, GetProcessTimes gives 0 for
// another process, while the list carries what Linux counted for it (in steps of 10 ms).
double CpuMs(DWORD pid)
{
    std::vector<char> buffer(1 << 20);
    ULONG length = 0;
    if (NtQuerySystemInformation(SystemProcessInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                                 &length) != 0)
        throw std::runtime_error("the system's process list could not be read");
    for (size_t at = 0;;) {
        const ProcessEntry* entry = reinterpret_cast<const ProcessEntry*>(buffer.data() + at);
        if (reinterpret_cast<ULONG_PTR>(entry->pid) == pid)
            return static_cast<double>(entry->userTime.QuadPart + entry->kernelTime.QuadPart) / 10000.0;
        if (entry->next == 0)
            throw std::runtime_error("the process is not in the system's process list");
        at += entry->next;
    }
}

void SetText(HWND control, const char* text)
{
    DWORD_PTR result;
    if (!::SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, kTimeoutMs,
                               &result))
        throw std::runtime_error("a field did not take its text");
}

// One launch: start-up, memory, idle CPU, one Send until "Done", then Quit.
void MeasureOnce(const std::string& exe, Samples& samples)
{
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    std::string commandLine = "\"" + exe + "\"";

    double start = NowMs();
    if (!::CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        throw std::runtime_error("could not start " + exe);
    HWND form = nullptr;
    try {
        WaitFor([&] { return (form = DialogOf(process.dwProcessId, "Mirolt")) != nullptr; }, "the form");
        samples.startupMs.push_back(NowMs() - start);

        ::WaitForInputIdle(process.hProcess, kTimeoutMs);
        PROCESS_MEMORY_COUNTERS_EX memory;
        ZeroMemory(&memory, sizeof memory);
        memory.cb = sizeof memory;
        ::GetProcessMemoryInfo(process.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
        samples.workingSetKb.push_back(static_cast<double>(memory.WorkingSetSize) / 1024);
        // Private bytes: Windows counts them in PagefileUsage and PrivateUsage alike; Wine leaves PrivateUsage
        // at 0 and gives the process's anonymous resident memory (and swap) as PagefileUsage.
        samples.privateKb.push_back(static_cast<double>(memory.PagefileUsage) / 1024);

        ::Sleep(kSettleMs);   // what showing a window sets off (activation, painting) is not idling
        double cpu = CpuMs(process.dwProcessId);
        ::Sleep(kIdleMs);
        samples.idleCpuMs.push_back(CpuMs(process.dwProcessId) - cpu);
        // Again with the focus on a button: no caret blinks there, so what is left is the program's own.
        ::PostMessageA(form, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(form, IDOK)), TRUE);
        ::Sleep(kSettleMs);
        cpu = CpuMs(process.dwProcessId);
        ::Sleep(kIdleMs);
        samples.idleButtonCpuMs.push_back(CpuMs(process.dwProcessId) - cpu);

        SetText(::GetDlgItem(form, IDC_MACHINE_NAME), "PC12");
        SetText(::GetDlgItem(form, IDC_MESSAGE), "hello");
        HWND box = nullptr;
        start = NowMs();
        ::PostMessageA(::GetDlgItem(form, IDC_SEND), BM_CLICK, 0, 0);
        WaitFor([&] { return (box = DialogOf(process.dwProcessId, "Done")) != nullptr; }, "the \"Done\" box");
        samples.sendMs.push_back(NowMs() - start);

        ::PostMessageA(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        WaitFor([&] { return !::IsWindow(box); }, "the \"Done\" box to close");
        ::PostMessageA(::GetDlgItem(form, IDOK), BM_CLICK, 0, 0);
        if (::WaitForSingleObject(process.hProcess, kTimeoutMs) != WAIT_OBJECT_0)
            throw std::runtime_error(exe + " did not end on Quit");
    } catch (...) {
        ::TerminateProcess(process.hProcess, 1);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        throw;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
}

// The floor of Send-to-Done: the same net.exe started hidden and waited for, with nothing around it.
double BareLaunchMs()
{
    char folder[MAX_PATH];
    ::GetSystemDirectoryA(folder, MAX_PATH);
    std::string net = std::string(folder) + "\\net.exe";
    std::string commandLine = "\"" + net + "\" send PC12 hello";
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process;

    double start = NowMs();
    if (!::CreateProcessA(net.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                          &startup, &process))
        throw std::runtime_error("could not start " + net);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    double elapsed = NowMs() - start;
    DWORD exitCode = 1;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    if (exitCode != 0)
        throw std::runtime_error(net + " is not a stand-in that exits 0");
    return elapsed;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Sum(const std::vector<double>& values)
{
    double sum = 0;
    for (double value : values)
        sum += value;
    return sum;
}

double FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        throw std::runtime_error("could not read the size of " + path);
    return static_cast<double>(data.nFileSizeLow);
}

// Both programs hand their environment on to net.exe; the stand-in must neither record, print, fail nor wait.
void ClearStandInSettings()
{
    std::vector<std::string> names;
    char* block = ::GetEnvironmentStringsA();
    for (const char* entry = block; *entry; entry += strlen(entry) + 1)
        if (strncmp(entry, "MIROLT_NET_", 11) == 0)
            names.push_back(std::string(entry, strcspn(entry, "=")));
    ::FreeEnvironmentStringsA(block);
    for (const std::string& name : names)
        ::SetEnvironmentVariableA(name.c_str(), nullptr);
}

const char* Verdict(bool met)
{
    return met ? "met" : "MISSED";
}

// One line of the table: a figure of each program, their ratio, and the goal.
void Row(const char* what, double mirolt, double plain, const std::string& goal = "")
{
    printf("%-36s %10.1f %10.1f %7.2f  %s\n", what, mirolt, plain, mirolt / plain, goal.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: mirolt_bench MIROLT.EXE PLAIN.EXE [ROUNDS]\n");
        return 2;
    }
    const std::string mirolt = argv[1], plain = argv[2];
    const int rounds = argc > 3 ? std::max(1, atoi(argv[3])) : 10;
    ClearStandInSettings();

    Samples m, p, warmUp;
    std::vector<double> floorMs;
    try {
        // The first launches pay for loading Wine's libraries and its desktop; they are not counted.
        MeasureOnce(mirolt, warmUp);
        MeasureOnce(plain, warmUp);
        BareLaunchMs();
        for (int round = 0; round < rounds; ++round) {
            MeasureOnce(round % 2 ? plain : mirolt, round % 2 ? p : m);
            MeasureOnce(round % 2 ? mirolt : plain, round % 2 ? m : p);
            floorMs.push_back(BareLaunchMs());
            fprintf(stderr, "bench: round %2d, Mirolt.exe / plain C: start-up %6.1f / %6.1f ms, "
                            "Send to Done %6.1f / %6.1f ms, floor %5.1f ms\n", round + 1, m.startupMs.back(),
                    p.startupMs.back(), m.sendMs.back(), p.sendMs.back(), floorMs.back());
        }
    } catch (const std::exception& error) {
        fprintf(stderr, "bench: could not measure: %s\n", error.what());
        return 1;
    }

    const double floor = Median(floorMs), size = FileSize(mirolt);
    printf("medians of %d rounds, alternating     Mirolt.exe    plain C   ratio  goal\n", rounds);
    Row("start-up until the form shows (ms)", Median(m.startupMs), Median(p.startupMs),
        std::string("ratio at most 1.10: ") + Verdict(Median(m.startupMs) <= 1.10 * Median(p.startupMs)));
    Row("working set, form up (KB)", Median(m.workingSetKb), Median(p.workingSetKb));
    Row("private bytes, form up (KB)", Median(m.privateKb), Median(p.privateKb));
    printf("%-36s %10.1f %10.1f %7s  zero: %s\n", "CPU idle, caret in a field, all (ms)", Sum(m.idleCpuMs),
           Sum(p.idleCpuMs), "", Verdict(Sum(m.idleCpuMs) == 0));
    printf("%-36s %10.1f %10.1f %7s  zero: %s\n", "CPU idle, focus on Quit, all (ms)", Sum(m.idleButtonCpuMs),
           Sum(p.idleButtonCpuMs), "", Verdict(Sum(m.idleButtonCpuMs) == 0));
    Row("Send click until \"Done\" (ms)", Median(m.sendMs), Median(p.sendMs));
    printf("%-36s %10.1f %10s\n", "floor: bare CreateProcess + wait (ms)", floor, "");
    printf("%-36s %10.2f %10.2f %7s  at most 1.25: %s\n", "Send until \"Done\" / floor", Median(m.sendMs) / floor,
           Median(p.sendMs) / floor, "", Verdict(Median(m.sendMs) <= 1.25 * floor));
    printf("%-36s %10.0f %10.0f %7.2f  at most 32768: %s\n", "exe size (bytes)", size, FileSize(plain),
           size / FileSize(plain), Verdict(size <= 32768));
    printf("idle: %lu s in each round, each way, from %lu ms after the form showed or the focus moved (a blinking\n"
           "caret costs CPU in any program); CPU from the system's process list\n"
           "(NtQuerySystemInformation), counted in steps of 10 ms under Wine; memory from GetProcessMemoryInfo\n"
           "(WorkingSetSize, PagefileUsage) once the form is up\n", kIdleMs / 1000, kSettleMs);
    return 0;
}
