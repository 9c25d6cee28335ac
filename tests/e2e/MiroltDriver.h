// tests/e2e/MiroltDriver.h: starts the real Mirolt.exe and drives its form from outside, as a user would.
#pragma once

#include "resources/resource.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// A --NAME=VALUE argument that CMake hands the test program, paths as Wine sees them: the built Mirolt.exe
// ("mirolt"), the recording stand-in net.exe ("standin", tests/standin/net_standin.c), our client ("net"), Wine's
// own net.exe ("wine-net"), the receivers' message folder ("messages") and a folder of the tests' own ("work").
std::string Option(const char* name);
// The current test's own file or folder in "work": the test's name followed by `suffix`.
std::string TestPath(const std::string& suffix = "");

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 10000);   // true once it holds
std::string ReadFile(const std::string& path);
// Varied letters, so that a lost, repeated or misplaced piece shows: `length` places, every `every`-th a `separator`.
std::wstring VariedText(size_t length, size_t every, const std::wstring& separator);
std::string SystemNetPath();   // as the program sees it: C:\windows\system32\net.exe
std::string SystemWords(DWORD error);   // the system's words for an error code, as the program shows them
// A copy of the built Mirolt.exe in `folder`, with `client` beside it as netsend.exe unless that is empty.
std::string CopyOfMirolt(const std::string& folder, const std::string& client = "");

// Puts `replacement` (or nothing, when it is empty) in place of the system's net.exe for as long as it lives.
struct SystemNetReplaced {
    explicit SystemNetReplaced(const std::string& replacement);
    ~SystemNetReplaced() { ::MoveFileExA(away.c_str(), SystemNetPath().c_str(), MOVEFILE_REPLACE_EXISTING); }
    const std::string away = SystemNetPath() + ".away";   // where the system's own waits meanwhile
    bool done = false;
};

// One launch of net.exe as the recording stand-in saw it.
struct NetRecord { DWORD pid; std::string module, show, cmdline; };

struct BoxInfo {
    HWND hwnd = nullptr, owner = nullptr;
    std::string caption, text;          // text: that of each static control, a line each
    std::vector<std::string> buttons;   // texts of the visible buttons
    bool icon = false;                  // a visible icon is shown
};

class MiroltSession {
public:
    // Starts the program (`exe`, or the built one) in `currentDir` (or the test program's) with a fresh stand-in
    // log of the test's own, and waits for its form.
    explicit MiroltSession(const std::string& exe = "", const std::string& currentDir = "");
    ~MiroltSession();   // ends the program, and any stand-in still running

    HWND Form() const { return m_form; }
    DWORD Pid() const { return m_process.dwProcessId; }
    bool Ended(DWORD waitMs = 0) const { return ::WaitForSingleObject(m_process.hProcess, waitMs) == WAIT_OBJECT_0; }
    HWND Item(int id) const { return ::GetDlgItem(m_form, id); }
    HWND Focus() const;
    std::wstring Text(int id);   // once the form has handled all input
    bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != FALSE; }

    // Input, posted so that nothing here waits on a modal box; \t, \r and \x1b are the keys Tab, Enter and Escape.
    void Type(const std::string& keys);
    void Click(int id) { ::PostMessageA(Item(id), BM_CLICK, 0, 0); }
    void Command(int id) { ::PostMessageA(m_form, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(Item(id))); }
    void SetText(int id, const std::wstring& text);   // as typed with a keyboard of any language
    void Send(const std::wstring& machine, const std::wstring& message);   // fills in both fields and clicks Send
    // Real mouse clicks: in `window` (its middle, unless at a point of the screen), or on the close box of a window.
    bool RealClick(HWND window, int x = 0, int y = 0);
    bool CloseBoxClick(HWND window = nullptr);

    // The program's message box, whoever owns it, once the form has handled all input; none after `timeoutMs`.
    BoxInfo WaitForBox(DWORD timeoutMs = 10000);
    BoxInfo Box() { return WaitForBox(0); }
    // The box that answers a send: OK only, without icon, owned by the form, on the screen, and "Done" with
    // "Message has been sent", or with an `error`, "Error" with that text (or one that begins with it).
    BoxInfo ExpectOutcome(const std::string& error = "", bool errorIsPrefix = false, DWORD timeoutMs = 30000);
    bool DismissBox();   // presses the box's OK button and waits for it to go
    // Dismisses the box, then expects every control enabled, the fields' texts kept and the focus in the message.
    void DismissAndExpectSettled(const std::wstring& machine, const std::wstring& message);

    std::vector<NetRecord> Records() const;
    // What the stand-in does from its next launch on: its exit code, the bytes it writes on standard output
    // (`repeat` times, in the console's OEM code page) and error, and how long it runs first.
    void SetNet(int exitCode, const std::string& out, const std::string& err = "", int repeat = 1, int delayMs = 0);
    size_t EndNet(UINT exitCode);   // ends the stand-ins still running, with `exitCode`; how many there were
    // Has the probe DLL (probe/mirolt_probe.c) handle the registered message `name` inside the program.
    void SendProbe(const char* name) const;

private:
    void Flush();   // waits until the form has handled everything posted so far
    HWND VisibleDialog(bool form) const;   // the program's form, or else one of its boxes; none when it shows none
    PROCESS_INFORMATION m_process = {};
    HWND m_form = nullptr;
    std::string m_log;
    DWORD m_marker = 0;
};
