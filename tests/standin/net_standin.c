/* tests/standin/net_standin.c: stands in for the system's net.exe in the test prefix.
 * It records how it was started and ends the way the test asks, through the environment
 * that Mirolt.exe passes on from the test:
 *   MIROLT_NET_LOG       file to append the record to (nothing is recorded without it)
 *   MIROLT_NET_EXIT      exit code to give (default 0)
 *   MIROLT_NET_DELAY_MS  how long to run before exiting (default 0)
 *   MIROLT_NET_STDOUT    bytes to write on standard output, with \xHH, \r, \n and \\ escapes,
 *                        MIROLT_NET_REPEAT times (default once)
 *   MIROLT_NET_STDERR    bytes to write on standard error, likewise, once
 * Record, one field per line: "pid=", "module=", "show=" (the STARTUPINFO show mode, or
 * "default" when none was given), "length=" (bytes in the command line), "cmdline=" (the whole
 * command line, exactly that many bytes, since it may hold line breaks) and a closing line break,
 * so that several launches can share one file. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static void Record(const char* log)
{
    char module[MAX_PATH];
    STARTUPINFOA startup;
    FILE* file = fopen(log, "ab");
    if (!file)
        return;
    GetModuleFileNameA(NULL, module, sizeof module);
    GetStartupInfoA(&startup);
    fprintf(file, "pid=%lu\nmodule=%s\n", GetCurrentProcessId(), module);
    if (startup.dwFlags & STARTF_USESHOWWINDOW)
        fprintf(file, "show=%u\n", (unsigned)startup.wShowWindow);
    else
        fprintf(file, "show=default\n");
    fprintf(file, "length=%u\ncmdline=%s\n", (unsigned)strlen(GetCommandLineA()), GetCommandLineA());
    fclose(file);
}

/* Writes `escaped` decoded, `times` times, on `stream`, unbuffered by the C runtime's text mode. */
static void Write(HANDLE stream, const char* escaped, long times)
{
    char* bytes = malloc(strlen(escaped) + 1);
    size_t length = 0;
    DWORD written;
    const char* p;
    for (p = escaped; *p; ++p) {
        if (*p != '\\' || !p[1]) {
            bytes[length++] = *p;
        } else if (*++p == 'x' && p[1] && p[2]) {
            char hex[3] = { p[1], p[2], 0 };
            bytes[length++] = (char)strtoul(hex, NULL, 16);
            p += 2;
        } else {
            bytes[length++] = *p == 'r' ? '\r' : *p == 'n' ? '\n' : *p;
        }
    }
    while (times-- > 0)
        WriteFile(stream, bytes, (DWORD)length, &written, NULL);
    free(bytes);
}

int main(void)
{
    const char* log = getenv("MIROLT_NET_LOG");
    const char* exitCode = getenv("MIROLT_NET_EXIT");
    const char* delay = getenv("MIROLT_NET_DELAY_MS");
    const char* out = getenv("MIROLT_NET_STDOUT");
    const char* err = getenv("MIROLT_NET_STDERR");
    const char* repeat = getenv("MIROLT_NET_REPEAT");

    if (log)
        Record(log);
    if (out)
        Write(GetStdHandle(STD_OUTPUT_HANDLE), out, repeat ? strtol(repeat, NULL, 10) : 1);
    if (err)
        Write(GetStdHandle(STD_ERROR_HANDLE), err, 1);
    if (delay)
        Sleep((DWORD)strtoul(delay, NULL, 10));
    return exitCode ? (int)strtol(exitCode, NULL, 10) : 0;
}
