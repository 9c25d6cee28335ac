// tests/e2e/MiroltDriver.cpp: MiroltSession and the helpers around it.
#include "tests/e2e/MiroltDriver.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string.h>

namespace {

// A window that does not answer within the time counts as hung. With `wide`, text goes as UTF-16.
LRESULT Query(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0, UINT timeoutMs = 5000, bool wide = false)
{
    DWORD_PTR result = 0;
    if (!(wide ? ::SendMessageTimeoutW : ::SendMessageTimeoutA)(window, message, wParam, lParam, SMTO_NORMAL,
                                                                 timeoutMs, &result))
        throw std::runtime_error("the window did not answer message " + std::to_string(message));
    return static_cast<LRESULT>(result);
}

// A window's text; with wchar_t, as UTF-16.
template <typename Char = char>
std::basic_string<Char> WindowText(HWND window)
{
    std::basic_string<Char> text(static_cast<size_t>(Query(window, WM_GETTEXTLENGTH)) + 1, Char());
    text.resize(static_cast<size_t>(Query(window, WM_GETTEXT, text.size(), LPARAM(&text[0]), 5000, sizeof(Char) > 1)));
    return text;
}

} // namespace

std::string Option(const char* name)
{
    std::string prefix = std::string("--") + name + "=";
    for (int i = 1; i < __argc; ++i)
        if (strncmp(__argv[i], prefix.c_str(), prefix.size()) == 0)
            return __argv[i] + prefix.size();
    throw std::runtime_error("mirolt_e2e needs " + prefix + "PATH");
}

std::string TestPath(const std::string& suffix)
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    ::CreateDirectoryA(Option("work").c_str(), nullptr);
    return Option("work") + "\\" + test->test_suite_name() + "." + test->name() + suffix;
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs)
{
    for (DWORD start = ::GetTickCount(); !condition(); ::Sleep(20))
        if (::GetTickCount() - start > timeoutMs)
            return false;
    return true;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::wstring VariedText(size_t length, size_t every, const std::wstring& separator)
{
    std::wstring text;
    for (size_t i = 0; i < length; ++i)
        text += i % every == every - 1 ? separator : std::wstring(1, static_cast<wchar_t>('a' + (i * 7 + i / 26) % 26));
    return text;
}

std::string SystemNetPath()
{
    char folder[MAX_PATH] = "";
    ::GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\net.exe";
}

std::string SystemWords(DWORD error)
{
    char words[256] = "";
    ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, words, sizeof words,
                     nullptr);
    std::string text = words;
    return text.erase(text.find_last_not_of("\r\n ") + 1);
}

std::string CopyOfMirolt(const std::string& folder, const std::string& client)
{
    std::string exe = folder + "\\Mirolt.exe", beside = folder + "\\netsend.exe";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    ::DeleteFileA(beside.c_str());
    if (!::CopyFileA(Option("mirolt").c_str(), exe.c_str(), FALSE) ||
        (!client.empty() && !::CopyFileA(client.c_str(), beside.c_str(), FALSE)))
        throw std::runtime_error("could not make a copy of Mirolt.exe in " + folder);
    return exe;
}

SystemNetReplaced::SystemNetReplaced(const std::string& replacement)
{
    std::string path = SystemNetPath();
    if (::GetFileAttributesA(away.c_str()) != INVALID_FILE_ATTRIBUTES)
        ::MoveFileExA(away.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);   // left by an aborted run
    done = ::MoveFileA(path.c_str(), away.c_str()) &&
           (replacement.empty() || ::CopyFileA(replacement.c_str(), path.c_str(), FALSE));
}

MiroltSession::MiroltSession(const std::string& exe, const std::string& currentDir)
{
    // The program passes its environment on to net.exe, which is how the stand-in finds its log and plan.
    m_log = TestPath(".log");
    ::DeleteFileA(m_log.c_str());
    ::SetEnvironmentVariableA("MIROLT_NET_LOG", m_log.c_str());
    SetNet(0, "");

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string program = exe.empty() ? Option("mirolt") : exe, commandLine = "\"" + program + "\"";
    if (!::CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          currentDir.empty() ? nullptr : currentDir.c_str(), &startup, &m_process))
        throw std::runtime_error("could not start " + program + ": error " + std::to_string(::GetLastError()));
    if (!WaitFor([this] { return (m_form = VisibleDialog(true)) != nullptr; }))
        throw std::runtime_error("the form of " + program + " did not appear");
    // Under an older system's rules (MIROLT_RULES, which the program inherits) from the first input on.
    char rules[8] = "";
    if (::GetEnvironmentVariableA("MIROLT_RULES", rules, sizeof rules))
        SendProbe("MiroltRules");
    if (*rules && !::GetPropA(m_form, "MiroltRules"))
        throw std::runtime_error(std::string("the rules of ") + rules + " could not be applied");
}

MiroltSession::~MiroltSession()
{
    ::TerminateProcess(m_process.hProcess, 99);   // when it is still running
    ::WaitForSingleObject(m_process.hProcess, 5000);
    EndNet(99);   // so that the next test starts clean
    ::CloseHandle(m_process.hThread);
    ::CloseHandle(m_process.hProcess);
}

void MiroltSession::SetNet(int exitCode, const std::string& out, const std::string& err, int repeat, int delayMs)
{
    std::ofstream(m_log + ".plan", std::ios::binary | std::ios::trunc)
        << exitCode << " " << delayMs << " " << repeat << " " << out.size() << "\n" << out << err;
}

size_t MiroltSession::EndNet(UINT exitCode)
{
    size_t ended = 0;
    for (const NetRecord& record : Records()) {
        HANDLE net = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, record.pid);
        if (net && ::WaitForSingleObject(net, 0) == WAIT_TIMEOUT && ::TerminateProcess(net, exitCode))
            ended += ::WaitForSingleObject(net, 5000) == WAIT_OBJECT_0;
        ::CloseHandle(net);
    }
    return ended;
}

void MiroltSession::SendProbe(const char* name) const
{
    HMODULE probe = ::LoadLibraryA("mirolt_probe.dll");
    HOOKPROC hook = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(::GetProcAddress(probe, "ProbeHook")));
    HHOOK installed = ::SetWindowsHookExA(WH_CALLWNDPROC, hook, probe, ::GetWindowThreadProcessId(m_form, nullptr));
    Query(m_form, ::RegisterWindowMessageA(name));
    ::UnhookWindowsHookEx(installed);
}

HWND MiroltSession::Focus() const
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(m_form, nullptr), &info) ? info.hwndFocus : nullptr;
}

void MiroltSession::Type(const std::string& keys)
{
    HWND target = nullptr;
    for (char c : keys) {
        if (!target) {
            Flush();   // the key before may have moved the focus
            target = Focus() ? Focus() : m_form;   // with every control disabled, the form itself
        }
        UINT vk = c == '\t' ? VK_TAB : c == '\r' ? VK_RETURN : c == '\x1b' ? VK_ESCAPE : 0;
        if (!vk) {
            ::PostMessageA(target, WM_CHAR, static_cast<unsigned char>(c), 1);
            continue;
        }
        LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyA(vk, 0)) << 16 | 1;
        ::PostMessageA(target, WM_KEYDOWN, vk, scan);
        ::PostMessageA(target, WM_KEYUP, vk, scan | 0xC0000000);
        target = nullptr;
    }
}

void MiroltSession::SetText(int id, const std::wstring& text)
{
    Flush();
    // Wrapping tens of thousands of characters takes the message field a few seconds.
    Query(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), 60000, true);
}

void MiroltSession::Send(const std::wstring& machine, const std::wstring& message)
{
    SetText(IDC_MACHINE_NAME, machine);
    SetText(IDC_MESSAGE, message);
    Click(IDC_SEND);
}

std::wstring MiroltSession::Text(int id)
{
    Flush();
    return WindowText<wchar_t>(Item(id));
}

void MiroltSession::Flush()
{
    // Posted messages are handled in order, so once a posted marker shows, all before it were handled.
    // The marker is a typing limit on the message field, far above anything these tests type.
    if (Ended())
        return;
    LRESULT marker = 60000 + static_cast<LRESULT>(++m_marker % 2);
    ::PostMessageA(Item(IDC_MESSAGE), EM_SETLIMITTEXT, static_cast<WPARAM>(marker), 0);
    if (!WaitFor([&] { return Ended() || Query(Item(IDC_MESSAGE), EM_GETLIMITTEXT) == marker; }))
        throw std::runtime_error("the form did not handle its input");
}

void MiroltSession::DismissAndExpectSettled(const std::wstring& machine, const std::wstring& message)
{
    EXPECT_TRUE(DismissBox());
    Flush();   // the form has done all it does once a box is gone
    for (int id : { IDC_MACHINE_NAME, IDC_MESSAGE, IDC_SEND, IDC_CLEAR, IDOK })
        EXPECT_TRUE(Enabled(id)) << "control " << id << " is still disabled";
    EXPECT_EQ(machine, Text(IDC_MACHINE_NAME));
    EXPECT_EQ(message, Text(IDC_MESSAGE));
    // With no window manager, X sometimes leaves the keyboard with no window at all when a box closes,
    // so the desktop ends up active. A user would click the form again; it then restores its focus.
    auto focused = [this] { return Focus() == Item(IDC_MESSAGE); };
    auto settled = [&] {   // or left without the keyboard
        DWORD pid = 0;
        ::GetWindowThreadProcessId(::GetForegroundWindow(), &pid);
        return focused() || pid != m_process.dwProcessId;
    };
    if (WaitFor(settled) && !focused())
        ::SetForegroundWindow(m_form);
    EXPECT_TRUE(WaitFor(focused)) << "the focus is not in the message field but in control "
                                  << ::GetDlgCtrlID(Focus()) << " of " << Focus();
}

HWND MiroltSession::VisibleDialog(bool form) const
{
    for (HWND window = nullptr; (window = ::FindWindowExA(nullptr, window, "#32770", nullptr)) != nullptr;) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner == Pid() && ::IsWindowVisible(window) && (form ? WindowText(window) == "Mirolt" : window != m_form))
            return window;
    }
    return nullptr;
}

BoxInfo MiroltSession::WaitForBox(DWORD timeoutMs)
{
    Flush();
    BoxInfo box;
    if (!WaitFor([&] { return (box.hwnd = VisibleDialog(false)) != nullptr; }, timeoutMs))
        return box;
    box.owner = ::GetWindow(box.hwnd, GW_OWNER);
    box.caption = WindowText(box.hwnd);
    for (HWND child = ::GetWindow(box.hwnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        char kind[16] = "";
        if (::IsWindowVisible(child))
            ::GetClassNameA(child, kind, sizeof kind);
        if (strcmp(kind, "Button") == 0)
            box.buttons.push_back(WindowText(child));
        else if (strcmp(kind, "Static") == 0 && (::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            box.icon = box.icon || Query(child, STM_GETICON) != 0;
        else if (strcmp(kind, "Static") == 0)
            box.text += (box.text.empty() ? "" : "\n") + WindowText(child);
    }
    return box;
}

BoxInfo MiroltSession::ExpectOutcome(const std::string& error, bool errorIsPrefix, DWORD timeoutMs)
{
    BoxInfo box = WaitForBox(timeoutMs);
    RECT frame = {};
    EXPECT_TRUE(::GetWindowRect(box.hwnd, &frame)) << "no message box appeared";
    EXPECT_EQ(m_form, box.owner) << "the box is not owned by the form";
    std::string text = error.empty() ? "Message has been sent" : error;
    EXPECT_EQ(error.empty() ? "Done" : "Error", box.caption);
    EXPECT_EQ(text, errorIsPrefix && !error.empty() ? box.text.substr(0, text.size()) : box.text);
    EXPECT_EQ(std::vector<std::string>{ "OK" }, box.buttons);
    EXPECT_FALSE(box.icon) << "the box shows an icon";
    EXPECT_TRUE(frame.bottom - frame.top <= ::GetSystemMetrics(SM_CYSCREEN) &&
                frame.right - frame.left <= ::GetSystemMetrics(SM_CXSCREEN)) << "the box is larger than the screen";
    return box;
}

bool MiroltSession::DismissBox()
{
    HWND box = Box().hwnd;
    if (!box || !::GetDlgItem(box, IDOK))
        return false;
    ::PostMessageA(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    return WaitFor([box] { return !::IsWindow(box); });
}

bool MiroltSession::RealClick(HWND window, int x, int y)
{
    RECT rect;
    ::GetWindowRect(window, &rect);
    ::SetCursorPos(x ? x : (rect.left + rect.right) / 2, y ? y : (rect.top + rect.bottom) / 2);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return ::SendInput(2, clicks, sizeof clicks[0]) == 2;
}

bool MiroltSession::CloseBoxClick(HWND window)
{
    // Asks the window what lies where along its caption, right to left, until it finds the close box.
    window = window ? window : m_form;
    RECT frame;
    ::GetWindowRect(window, &frame);
    for (int y = frame.top + 2; y < frame.top + 40; y += 2)
        for (int x = frame.right - 2; x > frame.right - 80; x -= 2)
            if (Query(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE)
                return RealClick(window, x - 4, y + 4);
    return false;
}

std::vector<NetRecord> MiroltSession::Records() const
{
    std::vector<NetRecord> records;   // the last record may still be being written, its last field without a NUL
    std::string log = ReadFile(m_log), field[4];
    for (size_t p = 0, end, i = 0; (end = log.find('\0', p)) != std::string::npos; p = end + 1, ++i) {
        field[i % 4] = log.substr(p, end - p);
        if (i % 4 == 3)
            records.push_back({ static_cast<DWORD>(std::stoul(field[0])), field[1], field[2], field[3] });
    }
    return records;
}
