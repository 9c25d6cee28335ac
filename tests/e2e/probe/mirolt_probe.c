/* tests/e2e/probe/mirolt_probe.c: a hook DLL that works from inside Mirolt.exe, on a registered message sent to
 * the form once the test has hooked the form's thread with it:
 * "MiroltProbe": Wine keeps a window's system menu and icons from other processes, so it writes them to the file
 *   MIROLT_PROBE_REPORT names: menu: <type> <id> "<text>" for the menu's last two items, and icon: <big> <small>
 *   <drag>, each "program" when it is the program's icon 128, else "other".
 * "MiroltRules": Wine takes flags and wake bits that older Windows refuse, so it points the program's imports at
 *   wrappers that refuse them, and report the version, as MIROLT_RULES's system would ("xp": XP, "nt4": NT 4.0), and
 *   sets the form's property "MiroltRules" to the number of imports it took over. Wine makes no links either: with
 *   "links", every file the program opens without following links is a link (to itself), as on a system with them. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* What each older system knows, from its documentation. */
static DWORD g_knownWakeBits;    /* QS_KEY to QS_HOTKEY, QS_ALLPOSTMESSAGE; XP adds QS_RAWINPUT (0x400) */
static DWORD g_knownWaitFlags;   /* MWMO_WAITALL, MWMO_ALERTABLE; 2000 adds MWMO_INPUTAVAILABLE */
static DWORD g_knownToMultiByte; /* WC_COMPOSITECHECK to WC_DEFAULTCHAR; 2000 adds WC_NO_BEST_FIT_CHARS */
static DWORD g_knownPipeModes;   /* XP adds FILE_FLAG_FIRST_PIPE_INSTANCE */
static DWORD g_knownFileFlags;   /* 2000 adds FILE_FLAG_OPEN_REPARSE_POINT */
static DWORD g_version;          /* major, minor */
static int g_links;              /* every file opened as a link is one */
static HANDLE g_link = INVALID_HANDLE_VALUE;   /* one opened as such */

/* The wrappers call the system's functions through the probe's own imports, which are never taken over. */
static DWORD WINAPI OldMsgWait(DWORD count, const HANDLE* handles, DWORD ms, DWORD wake, DWORD flags)
{
    if ((wake & ~g_knownWakeBits) || (flags & ~g_knownWaitFlags))
        return SetLastError(ERROR_INVALID_PARAMETER), WAIT_FAILED;
    return MsgWaitForMultipleObjectsEx(count, handles, ms, wake, flags);
}

static int WINAPI OldToMultiByte(UINT codePage, DWORD flags, LPCWCH text, int length, LPSTR out, int size,
                                 LPCCH defaultChar, LPBOOL usedDefault)
{
    if (flags & ~g_knownToMultiByte)
        return SetLastError(ERROR_INVALID_FLAGS), 0;
    return WideCharToMultiByte(codePage, flags, text, length, out, size, defaultChar, usedDefault);
}

static HANDLE WINAPI OldCreateNamedPipeA(LPCSTR name, DWORD openMode, DWORD pipeMode, DWORD instances, DWORD outSize,
                                         DWORD inSize, DWORD timeout, LPSECURITY_ATTRIBUTES security)
{
    if (openMode & FILE_FLAG_FIRST_PIPE_INSTANCE & ~g_knownPipeModes)
        return SetLastError(ERROR_INVALID_PARAMETER), INVALID_HANDLE_VALUE;
    return CreateNamedPipeA(name, openMode, pipeMode, instances, outSize, inSize, timeout, security);
}

static BOOL WINAPI OldGetVersionExA(LPOSVERSIONINFOA version)
{
    BOOL ok = GetVersionExA(version);
    version->dwMajorVersion = HIWORD(g_version);
    version->dwMinorVersion = LOWORD(g_version);
    return ok;
}

static HANDLE WINAPI LinkCreateFileA(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                     DWORD disposition, DWORD flags, HANDLE model)
{
    HANDLE file;
    if (flags & FILE_FLAG_OPEN_REPARSE_POINT & ~g_knownFileFlags)
        return SetLastError(ERROR_INVALID_PARAMETER), INVALID_HANDLE_VALUE;
    file = CreateFileA(path, access, share, security, disposition, flags, model);
    if (g_links && (flags & FILE_FLAG_OPEN_REPARSE_POINT))
        g_link = file;
    return file;
}

static BOOL WINAPI LinkGetFileInformationByHandle(HANDLE file, LPBY_HANDLE_FILE_INFORMATION information)
{
    BOOL ok = GetFileInformationByHandle(file, information);
    if (ok && file == g_link)
        information->dwFileAttributes |= FILE_ATTRIBUTE_REPARSE_POINT;
    return ok;
}

/* Points the program's import of dll!name at `wrapper`. */
static int TakeOver(const char* dll, const char* name, void* wrapper)
{
    BYTE* base = (BYTE*)GetModuleHandleA(NULL);
    const IMAGE_NT_HEADERS* nt = (const IMAGE_NT_HEADERS*)(base + ((const IMAGE_DOS_HEADER*)base)->e_lfanew);
    const IMAGE_IMPORT_DESCRIPTOR* imports = (const IMAGE_IMPORT_DESCRIPTOR*)(
        base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
    for (; imports->Name; ++imports) {
        const IMAGE_THUNK_DATA* names = (const IMAGE_THUNK_DATA*)(base + imports->OriginalFirstThunk);
        IMAGE_THUNK_DATA* slots = (IMAGE_THUNK_DATA*)(base + imports->FirstThunk);
        for (; lstrcmpiA((const char*)base + imports->Name, dll) == 0 && names->u1.AddressOfData; ++names, ++slots) {
            DWORD protection;
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal) ||
                strcmp((const char*)((const IMAGE_IMPORT_BY_NAME*)(base + names->u1.AddressOfData))->Name, name) != 0)
                continue;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
            slots->u1.Function = (ULONG_PTR)wrapper;
            return 1;
        }
    }
    return 0;
}

static void ApplyRules(HWND form)
{
    const char* rules = getenv("MIROLT_RULES");
    int nt4 = rules && strcmp(rules, "nt4") == 0, links = rules && strcmp(rules, "links") == 0, taken = 0;
    HMODULE self;
    if (!rules || (!nt4 && !links && strcmp(rules, "xp") != 0) || GetPropA(form, "MiroltRules"))
        return;
    /* The wrappers must outlive the hook that brought them. */
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN, (LPCSTR)ApplyRules,
                       &self);
    taken += TakeOver("KERNEL32.dll", "CreateFileA", (void*)LinkCreateFileA);
    taken += TakeOver("KERNEL32.dll", "GetFileInformationByHandle", (void*)LinkGetFileInformationByHandle);
    g_knownFileFlags = nt4 ? 0 : FILE_FLAG_OPEN_REPARSE_POINT;
    g_links = links;
    if (!links) {
        g_version = nt4 ? MAKELONG(0, 4) : MAKELONG(1, 5);
        g_knownWakeBits = nt4 ? 0x1FF : 0x5FF;
        g_knownWaitFlags = MWMO_WAITALL | MWMO_ALERTABLE | (nt4 ? 0 : MWMO_INPUTAVAILABLE);
        g_knownToMultiByte = WC_COMPOSITECHECK | WC_DISCARDNS | WC_SEPCHARS | WC_DEFAULTCHAR |
                             (nt4 ? 0 : WC_NO_BEST_FIT_CHARS);
        g_knownPipeModes = nt4 ? 0 : FILE_FLAG_FIRST_PIPE_INSTANCE;
        taken += TakeOver("USER32.dll", "MsgWaitForMultipleObjectsEx", (void*)OldMsgWait);
        taken += TakeOver("KERNEL32.dll", "WideCharToMultiByte", (void*)OldToMultiByte);
        taken += TakeOver("KERNEL32.dll", "CreateNamedPipeA", (void*)OldCreateNamedPipeA);
        taken += TakeOver("KERNEL32.dll", "GetVersionExA", (void*)OldGetVersionExA);
    }
    SetPropA(form, "MiroltRules", (HANDLE)(INT_PTR)taken);
}

static void Report(HWND form, const char* path)
{
    FILE* report = path ? fopen(path, "wb") : NULL;
    HMENU menu = GetSystemMenu(form, FALSE);
    LRESULT program = (LRESULT)LoadIconA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(128));
    LRESULT icons[3] = { SendMessageA(form, WM_GETICON, ICON_BIG, 0), SendMessageA(form, WM_GETICON, ICON_SMALL, 0),
                         SendMessageA(form, WM_QUERYDRAGICON, 0, 0) };
    int count = menu ? GetMenuItemCount(menu) : 0, item;
    if (!report)
        return;
    for (item = count >= 2 ? count - 2 : count; item < count; ++item) {
        char text[64] = "";
        GetMenuStringA(menu, (UINT)item, text, sizeof text, MF_BYPOSITION);
        fprintf(report, "menu: %s %u \"%s\"\n",
                (GetMenuState(menu, (UINT)item, MF_BYPOSITION) & MF_SEPARATOR) ? "separator" : "string",
                GetMenuItemID(menu, item), text);
    }
    fprintf(report, "icon: %s %s %s\n", program && icons[0] == program ? "program" : "other",
            program && icons[1] == program ? "program" : "other", program && icons[2] == program ? "program" : "other");
    fclose(report);
}

__declspec(dllexport) LRESULT CALLBACK ProbeHook(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* call = (const CWPSTRUCT*)lParam;
    if (code == HC_ACTION && call->message == RegisterWindowMessageA("MiroltRules"))
        ApplyRules(call->hwnd);
    if (code == HC_ACTION && call->message == RegisterWindowMessageA("MiroltProbe"))
        Report(call->hwnd, getenv("MIROLT_PROBE_REPORT"));
    return CallNextHookEx(NULL, code, wParam, lParam);
}
