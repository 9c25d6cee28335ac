/* tests/e2e/probe/mirolt_probe.c: a hook DLL that looks at the form from inside Mirolt.exe.
 * Wine keeps a window's system menu and icons from other processes, so the test installs this as a
 * hook on the form's thread and sends the form the registered message "MiroltProbe"; the hook then
 * writes what it sees to the file named by MIROLT_PROBE_REPORT:
 *   menu: <type> <id> "<text>" for each of the system menu's last two items
 *   icon: <big> <small> <drag>, each "program" when it is the program's icon 128, else its handle */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

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

__declspec(dllexport) LRESULT CALLBACK ProbeHook(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* call = (const CWPSTRUCT*)lParam;
    const char* path = getenv("MIROLT_PROBE_REPORT");
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
