/* tests/standin/net_standin.c: stands in for the system's net.exe in the test prefix. It appends a record of how it was
 * started to the file that MIROLT_NET_LOG (which Mirolt.exe passes on) names: its pid, module, show mode (-1 when none
 * was given) and command line, each ending with a NUL, which no command line holds. Then it does what the file beside
 * the log, named as it is plus ".plan", says; a test can change that between one launch and the next. Its first line
 * holds four numbers: the exit code, how long to run in milliseconds, how many times to write standard output, and that
 * output's length; the output follows, then what to write on standard error. Without a plan, it ends at once with 0. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

int main(void)
{
    const char* log = getenv("MIROLT_NET_LOG");
    static char words[1 << 16];
    char path[MAX_PATH + 8];
    STARTUPINFOA startup;
    int exitCode = 0;
    DWORD delay = 0, repeat = 0, outLength = 0, length = 0, written;
    FILE* file = log ? fopen(log, "ab") : NULL;
    if (!file)
        return 0;
    GetModuleFileNameA(NULL, path, MAX_PATH);
    GetStartupInfoA(&startup);
    fprintf(file, "%lu%c%s%c%d%c%s%c", GetCurrentProcessId(), 0, path, 0,
            (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1, 0, GetCommandLineA(), 0);
    fclose(file);

    snprintf(path, sizeof path, "%s.plan", log);
    if ((file = fopen(path, "rb")) != NULL) {
        if (fscanf(file, "%d %lu %lu %lu", &exitCode, &delay, &repeat, &outLength) == 4 && fgetc(file) == '\n')
            length = (DWORD)fread(words, 1, sizeof words, file);
        fclose(file);
    }
    outLength = outLength < length ? outLength : length;
    while (outLength > 0 && repeat-- > 0)   /* past the C runtime's text mode */
        WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), words, outLength, &written, NULL);
    if (length > outLength)
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), words + outLength, length - outLength, &written, NULL);
    Sleep(delay);
    return exitCode;
}
