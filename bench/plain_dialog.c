/* bench/plain_dialog.c: the benchmark's yardstick, the leanest program that shows Mirolt's form from the same
 * resources and starts net.exe as Mirolt does: a plain dialog procedure, no class library. */
#include <windows.h>

#include "resources/resource.h"

static const int kControls[] = { IDC_MACHINE_NAME, IDC_MESSAGE, IDC_SEND, IDC_CLEAR };

static void EnableInput(HWND form, BOOL enable)
{
    int i;
    for (i = 0; i < 4; ++i)
        EnableWindow(GetDlgItem(form, kControls[i]), enable);
}

/* Starts "<system folder>\net.exe" send MACHINE MESSAGE hidden and waits for it, answering the form meanwhile. */
static void Send(HWND form)
{
    char path[MAX_PATH];
    char* command;
    char* end;
    int machineLength = GetWindowTextLengthA(GetDlgItem(form, IDC_MACHINE_NAME));
    int messageLength = GetWindowTextLengthA(GetDlgItem(form, IDC_MESSAGE));
    UINT folderLength = GetSystemDirectoryA(path, MAX_PATH - 8);
    STARTUPINFOA startup;
    PROCESS_INFORMATION process;
    DWORD start, elapsed, wait, exitCode = 1;
    MSG msg;

    if (machineLength == 0 || messageLength == 0) {
        MessageBoxA(form, "Please enter a machine name and message", "Error", MB_OK);
        return;
    }
    if (folderLength == 0 || folderLength >= MAX_PATH - 8)
        return;
    lstrcatA(path, "\\net.exe");
    command = (char*)HeapAlloc(GetProcessHeap(), 0, (SIZE_T)lstrlenA(path) + machineLength + messageLength + 12);
    if (!command)
        return;
    wsprintfA(command, "\"%s\" send ", path);
    end = command + lstrlenA(command);
    end += GetDlgItemTextA(form, IDC_MACHINE_NAME, end, machineLength + 1);
    *end++ = ' ';
    GetDlgItemTextA(form, IDC_MESSAGE, end, messageLength + 1);

    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    if (!CreateProcessA(path, command, NULL, NULL, FALSE, CREATE_NO_WINDOW, NULL, NULL, &startup, &process)) {
        HeapFree(GetProcessHeap(), 0, command);
        MessageBoxA(form, "net.exe could not be started.", "Error", MB_OK);
        return;
    }
    HeapFree(GetProcessHeap(), 0, command);
    CloseHandle(process.hThread);

    EnableInput(form, FALSE);
    start = GetTickCount();
    for (;;) {
        elapsed = GetTickCount() - start;
        wait = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, elapsed < 60000 ? 60000 - elapsed : 0,
                                         QS_ALLINPUT);
        if (wait != WAIT_OBJECT_0 + 1)
            break;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            if (!IsDialogMessageA(form, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
    }
    if (wait == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);

    if (exitCode == 0)
        MessageBoxA(form, "Message has been sent", "Done", MB_OK);
    else
        MessageBoxA(form, "net.exe failed or did not finish.", "Error", MB_OK);
    EnableInput(form, TRUE);
    SetFocus(GetDlgItem(form, IDC_MESSAGE));
}

static INT_PTR CALLBACK AboutProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(box, 0);
        return TRUE;
    }
    return FALSE;
}

static INT_PTR CALLBACK FormProc(HWND form, UINT message, WPARAM wParam, LPARAM lParam)
{
    char about[64];
    HMENU menu;
    HICON icon;
    (void)lParam;

    switch (message) {
    case WM_INITDIALOG:
        menu = GetSystemMenu(form, FALSE);
        if (menu && LoadStringA(GetModuleHandleA(NULL), IDS_ABOUTBOX, about, sizeof about) > 0) {
            AppendMenuA(menu, MF_SEPARATOR, 0, NULL);
            AppendMenuA(menu, MF_STRING, IDM_ABOUTBOX, about);
        }
        icon = LoadIconA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDI_MIROLT));
        SendMessageA(form, WM_SETICON, ICON_BIG, (LPARAM)icon);
        SendMessageA(form, WM_SETICON, ICON_SMALL, (LPARAM)icon);
        return TRUE;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != IDM_ABOUTBOX)
            return FALSE;
        DialogBoxParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_ABOUTBOX), form, AboutProc, 0);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_SEND:
            Send(form);
            return TRUE;
        case IDC_CLEAR:
            SetDlgItemTextA(form, IDC_MACHINE_NAME, "");
            SetDlgItemTextA(form, IDC_MESSAGE, "");
            return TRUE;
        case IDOK:
        case IDCANCEL:
            EndDialog(form, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)previous;
    (void)commandLine;
    (void)show;
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SEND), NULL, FormProc, 0);
    return 0;
}
