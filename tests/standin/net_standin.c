/* tests/standin/net_standin.c: stands in for the system's net.exe in the test prefix.
 * It records how it was started and ends the way the test asks, through the environment
 * that Mirolt.exe passes on from the test:
 *   MIROLT_NET_LOG       file to append the record to (nothing is recorded without it)
 *   MIROLT_NET_EXIT      exit code to give (default 0)
 *   MIROLT_NET_DELAY_MS  how long to run before exiting (default 0)
 * Record, one field per line: "pid=", "module=", "show=" (the STARTUPINFO show mode, or
 * "default" when none was given), "length=" (bytes in the command line), "cmdline=" (the whole
 * command line, exactly that many bytes, since it may hold line breaks) and a closing line break,
 * so that several launches can share one file. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(void)
{
    const char* log = getenv("MIROLT_NET_LOG");
    const char* exitCode = getenv("MIROLT_NET_EXIT");
    const char* delay = getenv("MIROLT_NET_DELAY_MS");

    if (log) {
        char module[MAX_PATH];
        STARTUPINFOA startup;
        FILE* file = fopen(log, "ab");
        GetModuleFileNameA(NULL, module, sizeof module);
        GetStartupInfoA(&startup);
        if (file) {
            fprintf(file, "pid=%lu\nmodule=%s\n", GetCurrentProcessId(), module);
            if (startup.dwFlags & STARTF_USESHOWWINDOW)
                fprintf(file, "show=%u\n", (unsigned)startup.wShowWindow);
            else
                fprintf(file, "show=default\n");
            fprintf(file, "length=%u\ncmdline=", (unsigned)strlen(GetCommandLineA()));
            fputs(GetCommandLineA(), file);
            fputs("\n", file);
            fclose(file);
        }
    }
    if (delay)
        Sleep((DWORD)strtoul(delay, NULL, 10));
    return exitCode ? (int)strtol(exitCode, NULL, 10) : 0;
}
