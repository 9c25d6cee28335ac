/* tests/e2e/probe/mirolt_probe.c: a hook DLL that works from inside Mirolt.exe. The test installs it as
 * a hook on the form's thread and sends the form a registered message:
 * "MiroltProbe": Wine keeps a window's system menu and icons from other processes, so the hook writes
 *   what it sees to the file named by MIROLT_PROBE_REPORT:
 *     menu: <type> <id> "<text>" for each of the system menu's last two items
 *     icon: <big> <small> <drag>, each "program" when it is the program's icon 128, else its handle
 * "MiroltRules": Wine takes flags and wake bits that the older Windows refuse, so the hook points the
 *   program's own imports at wrappers that refuse them as the system named by MIROLT_RULES would ("xp":
 *   XP to 7, "nt4": NT 4.0), and hands the rest to the real function. It marks the form with the
 *   property "MiroltRules", the number of imports it took over. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static void DescribeItem(FILE* report, HMENU menu, int position)
{
    char text[64] = "";
    MENUITEMINFOA item;
    ZeroMemory(&item, sizeof item);
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
    item.dwTypeData = text;
    item.cch = sizeof text;
    GetMenuItemInfoA(menu, (UINT)position, TRUE, &item);
    fprintf(report, "menu: %s %u \"%s\"\n", (item.fType & MFT_SEPARATOR) ? "separator" : "string", item.wID, text);
}

static const char* DescribeIcon(HICON icon, char* text)
{
    if (icon && icon == LoadIconA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(128)))
        return "program";
    sprintf(text, "%p", (void*)icon);
    return text;
}

/* What each older system knows, from its documentation. */
static DWORD g_knownWakeBits;   /* QS_KEY to QS_HOTKEY, QS_ALLPOSTMESSAGE; XP adds QS_RAWINPUT (0x400) */
static DWORD g_knownWaitFlags;  /* MWMO_WAITALL, MWMO_ALERTABLE; 2000 adds MWMO_INPUTAVAILABLE */
static DWORD g_knownToMultiByte; /* WC_COMPOSITECHECK, WC_DISCARDNS, WC_SEPCHARS, WC_DEFAULTCHAR; 2000 adds
                                    WC_NO_BEST_FIT_CHARS */
static DWORD g_knownPipeModes;  /* XP adds FILE_FLAG_FIRST_PIPE_INSTANCE */

static DWORD(WINAPI* RealMsgWait)(DWORD, const HANDLE*, DWORD, DWORD, DWORD);
static int(WINAPI* RealToMultiByte)(UINT, DWORD, LPCWCH, int, LPSTR, int, LPCCH, LPBOOL);
static HANDLE(WINAPI* RealCreateNamedPipeA)(LPCSTR, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, LPSECURITY_ATTRIBUTES);

static DWORD WINAPI OldMsgWait(DWORD count, const HANDLE* handles, DWORD ms, DWORD wake, DWORD flags)
{
    if ((wake & ~g_knownWakeBits) || (flags & ~g_knownWaitFlags)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    return RealMsgWait(count, handles, ms, wake, flags);
}

static int WINAPI OldToMultiByte(UINT codePage, DWORD flags, LPCWCH text, int length, LPSTR out, int size,
                                 LPCCH defaultChar, LPBOOL usedDefault)
{
    if (flags & ~g_knownToMultiByte) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    return RealToMultiByte(codePage, flags, text, length, out, size, defaultChar, usedDefault);
}

static HANDLE WINAPI OldCreateNamedPipeA(LPCSTR name, DWORD openMode, DWORD pipeMode, DWORD instances, DWORD outSize,
                                         DWORD inSize, DWORD timeout, LPSECURITY_ATTRIBUTES security)
{
    if (openMode & FILE_FLAG_FIRST_PIPE_INSTANCE & ~g_knownPipeModes) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    return RealCreateNamedPipeA(name, openMode, pipeMode, instances, outSize, inSize, timeout, security);
}

/* Points the program's import of dll!name at `wrapper`, keeping the real function in `real`. */
static int TakeOver(const char* dll, const char* name, void* wrapper, void** real)
{
    BYTE* base = (BYTE*)GetModuleHandleA(NULL);
    const IMAGE_NT_HEADERS* nt = (const IMAGE_NT_HEADERS*)(base + ((const IMAGE_DOS_HEADER*)base)->e_lfanew);
    const IMAGE_IMPORT_DESCRIPTOR* imports = (const IMAGE_IMPORT_DESCRIPTOR*)(
        base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
    for (; imports->Name; ++imports) {
        const IMAGE_THUNK_DATA* names = (const IMAGE_THUNK_DATA*)(base + imports->OriginalFirstThunk);
        IMAGE_THUNK_DATA* slots = (IMAGE_THUNK_DATA*)(base + imports->FirstThunk);
        if (lstrcmpiA((const char*)base + imports->Name, dll) != 0)
            continue;
        for (; names->u1.AddressOfData; ++names, ++slots) {
            DWORD protection;
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal) ||
                strcmp((const char*)((const IMAGE_IMPORT_BY_NAME*)(base + names->u1.AddressOfData))->Name, name) != 0)
                continue;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
            *real = (void*)slots->u1.Function;
            slots->u1.Function = (ULONG_PTR)wrapper;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
            return 1;
        }
    }
    return 0;
}

static void ApplyRules(HWND form)
{
    const char* rules = getenv("MIROLT_RULES");
    int nt4 = rules && strcmp(rules, "nt4") == 0, taken = 0;
    HMODULE self;
    if (!rules || (!nt4 && strcmp(rules, "xp") != 0) || GetPropA(form, "MiroltRules"))
        return;
    g_knownWakeBits = nt4 ? 0x1FF : 0x5FF;
    g_knownWaitFlags = nt4 ? MWMO_WAITALL | MWMO_ALERTABLE : MWMO_WAITALL | MWMO_ALERTABLE | MWMO_INPUTAVAILABLE;
    g_knownToMultiByte = WC_COMPOSITECHECK | WC_DISCARDNS | WC_SEPCHARS | WC_DEFAULTCHAR | (nt4 ? 0 : WC_NO_BEST_FIT_CHARS);
    g_knownPipeModes = nt4 ? 0 : FILE_FLAG_FIRST_PIPE_INSTANCE;
    /* The wrappers must outlive the hook that brought them. */
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN, (LPCSTR)ApplyRules, &self);
    taken += TakeOver("USER32.dll", "MsgWaitForMultipleObjectsEx", (void*)OldMsgWait, (void**)&RealMsgWait);
    taken += TakeOver("KERNEL32.dll", "WideCharToMultiByte", (void*)OldToMultiByte, (void**)&RealToMultiByte);
    taken += TakeOver("KERNEL32.dll", "CreateNamedPipeA", (void*)OldCreateNamedPipeA, (void**)&RealCreateNamedPipeA);
    SetPropA(form, "MiroltRules", (HANDLE)(INT_PTR)taken);
}

__declspec(dllexport) LRESULT CALLBACK ProbeHook(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* call = (const CWPSTRUCT*)lParam;
    const char* path = getenv("MIROLT_PROBE_REPORT");
    if (code == HC_ACTION && call->message == RegisterWindowMessageA("MiroltRules"))
        ApplyRules(call->hwnd);
    if (code == HC_ACTION && path && call->message == RegisterWindowMessageA("MiroltProbe")) {
        FILE* report = fopen(path, "wb");
        if (report) {
            HMENU menu = GetSystemMenu(call->hwnd, FALSE);
            int count = menu ? GetMenuItemCount(menu) : 0;
            char big[20], small[20], drag[20];
            if (count >= 2) {
                DescribeItem(report, menu, count - 2);
                DescribeItem(report, menu, count - 1);
            }
            fprintf(report, "icon: %s %s %s\n",
                    DescribeIcon((HICON)SendMessageA(call->hwnd, WM_GETICON, ICON_BIG, 0), big),
                    DescribeIcon((HICON)SendMessageA(call->hwnd, WM_GETICON, ICON_SMALL, 0), small),
                    DescribeIcon((HICON)SendMessageA(call->hwnd, WM_QUERYDRAGICON, 0, 0), drag));
            fclose(report);
        }
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}
