// tests/e2e/MiroltDriver.h: starts the real Mirolt.exe and drives its form from outside, as a user would.
#pragma once

#include "resources/resource.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// A --NAME=VALUE argument that CMake hands the test program; paths come with backslashes.
std::string Option(const char* name);
// The paths every test needs: the built Mirolt.exe, the recording stand-in net.exe, a folder of its own.
struct E2ePaths {
    std::string mirolt = Option("mirolt"), standin = Option("standin"), work = Option("work");
};
const E2ePaths& Paths();

// Polls `condition` until it holds or `timeoutMs` has passed; true when it held.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 10000);
std::string ReadFile(const std::string& path);
bool IsProcessRunning(DWORD pid);
std::string ClassName(HWND window);
// The visible top-level windows of a process (0: of any), or the visible children of `parent`.
std::vector<HWND> VisibleWindows(DWORD pid, HWND parent = nullptr);
inline std::vector<HWND> ChildrenOf(HWND parent) { return VisibleWindows(0, parent); }
std::string CurrentTestName();
std::string SystemNetPath();   // as the program sees it: C:\windows\system32\net.exe

// A copy of the built Mirolt.exe in `folder` (made when missing), with `client` beside it as netsend.exe
// unless that is empty; the copy's path.
std::string CopyOfMirolt(const std::string& folder, const std::string& client = "");

// Puts `replacement` in place of the system's net.exe (or nothing, when it is empty) for as long as it
// lives, and then puts the system's copy back; `done` tells whether the swap worked.
struct SystemNetReplaced {
    explicit SystemNetReplaced(const std::string& replacement);
    ~SystemNetReplaced();
    SystemNetReplaced(const SystemNetReplaced&) = delete;
    SystemNetReplaced& operator=(const SystemNetReplaced&) = delete;
    bool done = false;
};

// One launch of net.exe as the recording stand-in saw it.
struct NetRecord {
    DWORD pid = 0;
    std::string module, show, cmdline;
};
std::string ArgumentsOf(const NetRecord& record);   // what follows the quoted path

struct BoxInfo {
    HWND hwnd = nullptr, owner = nullptr;
    std::string caption, text;
    std::vector<std::string> buttons;   // texts of the visible buttons
    bool icon = false;                  // a visible icon is shown
};
// An OK-only box without icon, owned by the form; with `textIsPrefix`, its text only begins with `text`.
void ExpectOkBox(const BoxInfo& box, HWND form, const std::string& caption, const std::string& text,
                 bool textIsPrefix = false);

// How the program is started, and how the stand-in net.exe behaves (see tests/standin/net_standin.c).
struct LaunchOptions {
    std::string exe;          // empty: the built Mirolt.exe
    std::string currentDir;   // empty: the test's own
    int netExit = 0;
    int netDelayMs = 0;
    std::string netStdout, netStderr;   // escaped: \\xHH, \\r, \\n
    int netRepeat = 1;                  // times netStdout is written
};

class MiroltSession {
public:
    // Starts the program with a fresh stand-in log named after `name` and waits for its form.
    explicit MiroltSession(const std::string& name, const LaunchOptions& options = LaunchOptions());
    ~MiroltSession();
    MiroltSession(const MiroltSession&) = delete;
    MiroltSession& operator=(const MiroltSession&) = delete;

    HWND Form() const { return m_form; }
    HWND Item(int id) const { return ::GetDlgItem(m_form, id); }
    HWND Focus() const;
    std::string Text(int id) const { return WindowText(Item(id)); }
    std::wstring WideText(int id) const;
    bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != FALSE; }

    // Input, posted so that nothing here waits on a modal box.
    void Type(const std::string& text);
    void Key(UINT vk);
    void Click(int id) { ::PostMessageA(Item(id), BM_CLICK, 0, 0); }
    void Command(int id) { ::PostMessageA(m_form, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(Item(id))); }
    void SetText(int id, const std::string& text);
    void SetWideText(int id, const std::wstring& text);   // as typed with a keyboard of any language
    void FillIn(const std::string& machine, const std::string& message)
    {
        SetText(IDC_MACHINE_NAME, machine);
        SetText(IDC_MESSAGE, message);
    }
    void Flush();   // waits until the form has handled everything posted so far

    // After a box: both fields enabled with their texts kept, and the focus in the message field.
    void ExpectSettled(const std::string& machine, const std::string& message);

    // The program's message box, whoever owns it.
    BoxInfo Box() const;   // hwnd is null when none is open
    BoxInfo WaitForBox(DWORD timeoutMs = 10000);
    bool DismissBox();     // presses the box's OK button and waits for it to go
    bool CloseBoxClick(HWND window = nullptr);   // a real mouse click on the close box of the form or `window`
    bool RealClick(HWND control);                // a real mouse click in the middle of a control

    bool WaitForExit(DWORD timeoutMs = 10000) { return ::WaitForSingleObject(m_process.hProcess, timeoutMs) == WAIT_OBJECT_0; }
    // Ends the program as a user would, by "Quit", "Escape" or "close box"; true once it has ended.
    bool EndBy(const std::string& way);
    bool Running() const { return ::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT; }
    std::vector<NetRecord> Records() const;

    // Has the probe DLL (probe/mirolt_probe.c) handle the registered message `name` inside the program.
    bool SendProbe(const char* name) const;

    static std::string WindowText(HWND window);

private:
    bool OwnsForeground() const;   // one of the program's windows is the active one

    PROCESS_INFORMATION m_process;
    HWND m_form = nullptr;
    std::string m_log;
    DWORD m_marker = 0;
};
