// tests/e2e/MiroltDriver.cpp: MiroltSession and the helpers around it.
#include "tests/e2e/MiroltDriver.h"

#include "resources/resource.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <stdio.h>
#include <string.h>

namespace {

// How long a query to the form may take before the form counts as not answering.
const UINT kQueryTimeoutMs = 5000;

LRESULT Query(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0, UINT timeoutMs = kQueryTimeoutMs)
{
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, timeoutMs, &result))
        throw std::runtime_error("the window did not answer message " + std::to_string(message));
    return static_cast<LRESULT>(result);
}

struct WindowSearch {
    DWORD pid;   // 0: any
    std::vector<HWND> found;
};

BOOL CALLBACK CollectVisible(HWND window, LPARAM param)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if ((search->pid == 0 || owner == search->pid) && ::IsWindowVisible(window))
        search->found.push_back(window);
    return TRUE;
}

} // namespace

std::vector<HWND> VisibleWindows(DWORD pid, HWND parent)
{
    WindowSearch search = { pid, {} };
    if (parent)
        ::EnumChildWindows(parent, CollectVisible, reinterpret_cast<LPARAM>(&search));
    else
        ::EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string Option(const char* name)
{
    std::string prefix = std::string("--") + name + "=";
    for (int i = 1; i < __argc; ++i)
        if (strncmp(__argv[i], prefix.c_str(), prefix.size()) == 0)
            return __argv[i] + prefix.size();
    throw std::runtime_error("mirolt_e2e needs " + prefix + "PATH");
}

const E2ePaths& Paths()
{
    static E2ePaths paths;
    ::CreateDirectoryA(paths.work.c_str(), nullptr);
    return paths;
}

std::string ClassName(HWND window)
{
    char name[64] = "";
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

bool IsProcessRunning(DWORD pid)
{
    HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, pid);
    bool running = process && ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    if (process)
        ::CloseHandle(process);
    return running;
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs)
{
    DWORD start = ::GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (::GetTickCount() - start > timeoutMs)
            return false;
        ::Sleep(20);
    }
}

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string CurrentTestName()
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string(info->test_suite_name()) + "." + info->name();
}

std::string SystemNetPath()
{
    char folder[MAX_PATH] = "";
    ::GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\net.exe";
}

std::string CopyOfMirolt(const std::string& folder, const std::string& client)
{
    std::string exe = folder + "\\Mirolt.exe", beside = folder + "\\netsend.exe";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    ::DeleteFileA(beside.c_str());
    if (!::CopyFileA(Paths().mirolt.c_str(), exe.c_str(), FALSE) ||
        (!client.empty() && !::CopyFileA(client.c_str(), beside.c_str(), FALSE)))
        throw std::runtime_error("could not make a copy of Mirolt.exe in " + folder);
    return exe;
}

SystemNetReplaced::SystemNetReplaced(const std::string& replacement)
{
    std::string path = SystemNetPath(), away = path + ".away";
    if (::GetFileAttributesA(away.c_str()) != INVALID_FILE_ATTRIBUTES)
        ::MoveFileExA(away.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);   // left by an aborted run
    done = ::MoveFileA(path.c_str(), away.c_str()) &&
           (replacement.empty() || ::CopyFileA(replacement.c_str(), path.c_str(), FALSE));
}

SystemNetReplaced::~SystemNetReplaced()
{
    std::string path = SystemNetPath();
    ::MoveFileExA((path + ".away").c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

std::string ArgumentsOf(const NetRecord& record)
{
    size_t close = record.cmdline.find('"', 1);
    if (record.cmdline.empty() || record.cmdline[0] != '"' || close == std::string::npos)
        return "<unexpected command line: " + record.cmdline + ">";
    return record.cmdline.substr(close + 1);
}

void ExpectOkBox(const BoxInfo& box, HWND form, const std::string& caption, const std::string& text,
                 bool textIsPrefix)
{
    ASSERT_NE(nullptr, box.hwnd) << "no message box appeared";
    EXPECT_EQ(form, box.owner) << "the box is not owned by the form";
    EXPECT_EQ(caption, box.caption);
    EXPECT_EQ(text, textIsPrefix ? box.text.substr(0, text.size()) : box.text);
    EXPECT_EQ(std::vector<std::string>{ "OK" }, box.buttons);
    EXPECT_FALSE(box.icon) << "the box shows an icon";
}

MiroltSession::MiroltSession(const std::string& name, const LaunchOptions& options)
{
    ZeroMemory(&m_process, sizeof m_process);
    m_log = Paths().work + "\\" + name + ".log";
    ::DeleteFileA(m_log.c_str());

    // The program passes its environment on to net.exe, which is how the stand-in learns its part.
    const std::pair<const char*, std::string> standin[] = {
        { "MIROLT_NET_LOG", m_log }, { "MIROLT_NET_EXIT", std::to_string(options.netExit) },
        { "MIROLT_NET_DELAY_MS", std::to_string(options.netDelayMs) }, { "MIROLT_NET_STDOUT", options.netStdout },
        { "MIROLT_NET_STDERR", options.netStderr }, { "MIROLT_NET_REPEAT", std::to_string(options.netRepeat) } };
    for (const auto& variable : standin)
        ::SetEnvironmentVariableA(variable.first, variable.second.empty() ? nullptr : variable.second.c_str());

    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    std::string exe = options.exe.empty() ? Paths().mirolt : options.exe;
    std::string commandLine = "\"" + exe + "\"";
    BOOL started = ::CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                    options.currentDir.empty() ? nullptr : options.currentDir.c_str(), &startup,
                                    &m_process);
    if (!started)
        throw std::runtime_error("could not start " + exe);

    ::WaitForInputIdle(m_process.hProcess, 10000);
    WaitFor([this] {
        for (HWND window : VisibleWindows(m_process.dwProcessId))
            if (ClassName(window) == "#32770" && WindowText(window) == "Mirolt")
                m_form = window;
        return m_form != nullptr;
    });
    if (!m_form)
        throw std::runtime_error("the form of " + exe + " did not appear");
    // Under an older system's rules (MIROLT_RULES, which the program inherits) from the first input on.
    char rules[8] = "";
    if (::GetEnvironmentVariableA("MIROLT_RULES", rules, sizeof rules) &&
        (!SendProbe("MiroltRules") || ::GetPropA(m_form, "MiroltRules") == nullptr))
        throw std::runtime_error(std::string("the rules of ") + rules + " could not be applied");
}

bool MiroltSession::SendProbe(const char* name) const
{
    HMODULE probe = ::LoadLibraryA("mirolt_probe.dll");
    HOOKPROC hook = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(::GetProcAddress(probe, "ProbeHook")));
    if (!hook)
        return false;
    HHOOK installed = ::SetWindowsHookExA(WH_CALLWNDPROC, hook, probe, ::GetWindowThreadProcessId(m_form, nullptr));
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(m_form, ::RegisterWindowMessageA(name), 0, 0, SMTO_NORMAL, 10000, &result);
    ::UnhookWindowsHookEx(installed);
    return true;
}

MiroltSession::~MiroltSession()
{
    if (Running()) {
        ::TerminateProcess(m_process.hProcess, 99);
        ::WaitForSingleObject(m_process.hProcess, 5000);
    }
    // A stand-in told to hang is still running; end it so that the next test starts clean.
    for (const NetRecord& record : Records()) {
        if (HANDLE net = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, record.pid)) {
            if (::WaitForSingleObject(net, 0) == WAIT_TIMEOUT) {
                ::TerminateProcess(net, 99);
                ::WaitForSingleObject(net, 5000);
            }
            ::CloseHandle(net);
        }
    }
    ::CloseHandle(m_process.hThread);
    ::CloseHandle(m_process.hProcess);
}

HWND MiroltSession::Focus() const
{
    GUITHREADINFO info;
    ZeroMemory(&info, sizeof info);
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(m_form, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

void MiroltSession::Type(const std::string& text)
{
    Flush();   // earlier keys may still move the focus
    HWND target = Focus();
    if (!target)
        throw std::runtime_error("no control has the focus to type \"" + text + "\" into");
    for (char c : text)
        ::PostMessageA(target, WM_CHAR, static_cast<unsigned char>(c), 1);
}

void MiroltSession::Key(UINT vk)
{
    Flush();
    // With no control focused (all disabled) a key goes to the form itself.
    HWND target = Focus() ? Focus() : m_form;
    LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyA(vk, 0)) << 16;
    ::PostMessageA(target, WM_KEYDOWN, vk, scan | 1);
    ::PostMessageA(target, WM_KEYUP, vk, scan | 1 | 0xC0000000);
}

void MiroltSession::SetText(int id, const std::string& text)
{
    Flush();
    // Wrapping tens of thousands of characters takes the message field a few seconds.
    Query(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), 60000);
}

void MiroltSession::Flush()
{
    // Posted messages are handled in order, so once a posted marker shows, all before it were handled.
    // The marker is a typing limit on the message field, far above anything these tests type.
    if (!Running())
        return;
    LRESULT marker = 60000 + static_cast<LRESULT>(++m_marker % 2);
    ::PostMessageA(Item(IDC_MESSAGE), EM_SETLIMITTEXT, static_cast<WPARAM>(marker), 0);
    if (!WaitFor([&] { return !Running() || Query(Item(IDC_MESSAGE), EM_GETLIMITTEXT) == marker; }))
        throw std::runtime_error("the form did not handle its input");
}

void MiroltSession::SetWideText(int id, const std::wstring& text)
{
    Flush();
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL,
                               kQueryTimeoutMs, &result))
        throw std::runtime_error("the field did not take its text");
}

std::wstring MiroltSession::WideText(int id) const
{
    wchar_t text[256] = L"";
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(Item(id), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, kQueryTimeoutMs,
                          &result);
    return text;
}

void MiroltSession::ExpectSettled(const std::string& machine, const std::string& message)
{
    Flush();   // the form has done all it does once a box is gone
    for (int id : { IDC_MACHINE_NAME, IDC_MESSAGE, IDC_SEND, IDC_CLEAR })
        EXPECT_TRUE(Enabled(id)) << "control " << id << " is still disabled";
    EXPECT_EQ(machine, Text(IDC_MACHINE_NAME));
    EXPECT_EQ(message, Text(IDC_MESSAGE));
    if (!Enabled(IDC_MESSAGE))
        return;   // no focus to wait for
    // With no window manager, X sometimes leaves the keyboard with no window at all when a box closes,
    // so the desktop ends up active. A user would click the form again; it then restores its focus.
    auto focused = [this] { return Focus() == Item(IDC_MESSAGE); };
    WaitFor([&] { return focused() || !OwnsForeground(); });
    if (!focused() && !OwnsForeground())
        ::SetForegroundWindow(m_form);
    EXPECT_TRUE(WaitFor(focused)) << "the focus is not in the message field but in control "
                                  << ::GetDlgCtrlID(Focus()) << " of " << Focus();
}

bool MiroltSession::OwnsForeground() const
{
    DWORD pid = 0;
    ::GetWindowThreadProcessId(::GetForegroundWindow(), &pid);
    return pid == m_process.dwProcessId;
}

std::string MiroltSession::WindowText(HWND window)
{
    LRESULT length = Query(window, WM_GETTEXTLENGTH);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    LRESULT got = Query(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(got));
    return text;
}

BoxInfo MiroltSession::Box() const
{
    BoxInfo box;
    for (HWND window : VisibleWindows(m_process.dwProcessId))
        if (window != m_form && ClassName(window) == "#32770")
            box.hwnd = window;
    if (!box.hwnd)
        return box;
    box.owner = ::GetWindow(box.hwnd, GW_OWNER);
    box.caption = WindowText(box.hwnd);
    box.text = WindowText(::GetDlgItem(box.hwnd, 0xFFFF));   // the text's control ID in every message box
    for (HWND child : ChildrenOf(box.hwnd)) {
        LONG style = ::GetWindowLongA(child, GWL_STYLE);
        if (ClassName(child) == "Button")
            box.buttons.push_back(WindowText(child));
        else if (ClassName(child) == "Static" && (style & SS_TYPEMASK) == SS_ICON) {
            box.icon = box.icon || Query(child, STM_GETICON) != 0;
        }
    }
    return box;
}

BoxInfo MiroltSession::WaitForBox(DWORD timeoutMs)
{
    Flush();
    WaitFor([this] { return Box().hwnd != nullptr; }, timeoutMs);
    return Box();
}

bool MiroltSession::DismissBox()
{
    HWND box = Box().hwnd;
    if (!box || !::GetDlgItem(box, IDOK))
        return false;
    ::PostMessageA(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    return WaitFor([box] { return !::IsWindow(box); });
}

// Moves the mouse to a point of the screen and clicks there, as a user would.
static bool ClickAt(int x, int y)
{
    ::SetCursorPos(x, y);
    INPUT clicks[2];
    ZeroMemory(clicks, sizeof clicks);
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return ::SendInput(2, clicks, sizeof clicks[0]) == 2;
}

bool MiroltSession::CloseBoxClick(HWND window)
{
    // Find the close box by asking the window what lies where along its caption, right to left.
    window = window ? window : m_form;
    RECT frame;
    ::GetWindowRect(window, &frame);
    for (int y = frame.top + 2; y < frame.top + 40; y += 2)
        for (int x = frame.right - 2; x > frame.right - 80; x -= 2)
            if (Query(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE)
                return ClickAt(x - 4, y + 4);
    return false;
}

bool MiroltSession::RealClick(HWND control)
{
    RECT rect;
    ::GetWindowRect(control, &rect);
    return ClickAt((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

bool MiroltSession::EndBy(const std::string& way)
{
    if (way == "Quit")
        Click(IDOK);
    else if (way == "Escape")
        Key(VK_ESCAPE);
    else if (way != "close box" || !CloseBoxClick())
        return false;
    return WaitForExit();
}

std::vector<NetRecord> MiroltSession::Records() const
{
    std::vector<NetRecord> records;
    std::string log = ReadFile(m_log);
    for (size_t p = 0; p < log.size();) {
        NetRecord record;
        char module[MAX_PATH] = "", show[16] = "";
        unsigned length = 0;
        int header = 0;
        if (sscanf(log.c_str() + p, "pid=%lu\nmodule=%259[^\n]\nshow=%15[^\n]\nlength=%u\ncmdline=%n", &record.pid,
                   module, show, &length, &header) < 4 || header == 0 || log.size() < p + header + length + 1)
            break;   // still being written
        record.module = module;
        record.show = show;
        record.cmdline = log.substr(p + header, length);
        p += header + length + 1;
        records.push_back(record);
    }
    return records;
}
