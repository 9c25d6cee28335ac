// tests/e2e/SendFormTest.cpp: the form as a user meets it: typing, sending, refusals, Clear, its system menu
// and icons, and the About box that the menu opens; and what the build could break in the resources of the built
// Mirolt.exe, read from the file as Windows loads them: the icon's exact format, and the version record as the
// system reads it. (Which resources it holds, tests/loadable.sh checks.)
#include "tests/e2e/MiroltDriver.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

namespace {

// Expects "Done", the message greyed until the box goes and net.exe last started with the fields' text (or `sent`,
// when that is not plain ASCII); or the `refusal`, with nothing greyed. Leaves the form settled again.
void ExpectAnswer(MiroltSession& session, const std::wstring& machine, const std::wstring& message,
                  const std::string& refusal = "", std::string sent = "")
{
    SCOPED_TRACE(machine.substr(0, 20) + L" " + message.substr(0, 40));
    session.ExpectOutcome(refusal);
    EXPECT_EQ(!refusal.empty(), session.Enabled(IDC_MESSAGE));
    std::vector<NetRecord> records = session.Records();
    if (refusal.empty()) {
        sent = sent.empty() ? std::string(message.begin(), message.end()) : sent;
        EXPECT_EQ("\"" + SystemNetPath() + "\" send " + std::string(machine.begin(), machine.end()) + " " + sent,
                  records.empty() ? "nothing started" : records.back().cmdline);
    }
    session.DismissAndExpectSettled(machine, message);
}

typedef std::vector<BYTE> Bytes;

// The bytes of one resource of the built Mirolt.exe in English (United States); empty when there is none.
Bytes Raw(LPCSTR type, WORD name)
{
    static HMODULE exe = LoadLibraryExA(Option("mirolt").c_str(), NULL,
                                        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    HRSRC found = FindResourceExA(exe, type, MAKEINTRESOURCEA(name), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    const BYTE* data = found ? static_cast<const BYTE*>(LockResource(LoadResource(exe, found))) : NULL;
    return data ? Bytes(data, data + SizeofResource(exe, found)) : Bytes();
}

} // namespace

// The focus starts in the machine field and Tab takes it to the message, where Enter starts a new line; Enter in
// the machine field sends, like Send. Clear empties both fields, and a click on it takes the focus there only.
TEST(TypingAndSending, EnterInTheMachineFieldOrSendDeliversTheTypedTextAndReportsDoneAndClearEmptiesTheForm)
{
    MiroltSession session;
    EXPECT_EQ(session.Item(IDC_MACHINE_NAME), session.Focus());
    session.Type("PC12\tline one\rline two");
    EXPECT_EQ(nullptr, session.Box().hwnd) << "Enter in the message field sent it";
    EXPECT_EQ(L"line one\r\nline two", session.Text(IDC_MESSAGE));
    session.Click(IDC_SEND);
    ExpectAnswer(session, L"PC12", L"line one\r\nline two");

    // The button's own notification, as when Clear is pressed from the keyboard: the focus stays put.
    session.Command(IDC_CLEAR);
    EXPECT_EQ(L"", session.Text(IDC_MACHINE_NAME) + session.Text(IDC_MESSAGE));
    EXPECT_EQ(session.Item(IDC_MESSAGE), session.Focus());

    session.Type("Lunch at 12, OK?");
    ASSERT_TRUE(session.RealClick(session.Item(IDC_MACHINE_NAME)));
    ASSERT_TRUE(WaitFor([&] { return session.Focus() == session.Item(IDC_MACHINE_NAME); }));
    session.Type("PC12\r");
    ExpectAnswer(session, L"PC12", L"Lunch at 12, OK?");

    session.Click(IDC_CLEAR);
    EXPECT_EQ(nullptr, session.Box().hwnd);
    EXPECT_EQ(L"", session.Text(IDC_MACHINE_NAME) + session.Text(IDC_MESSAGE));
    EXPECT_EQ(session.Item(IDC_CLEAR), session.Focus());
    EXPECT_EQ(2u, session.Records().size());
}

// Targets that net send understands, messages with whatever a command line might mangle, and text the code page
// carries go as typed, as its exact bytes; each kind of request that cannot go is refused, with nothing started.
TEST(Requests, EachGoesExactlyAsTypedOrIsRefusedWithItsReason)
{
    ASSERT_EQ(1252u, ::GetACP()) << "the expected bytes are those of Windows-1252";
    const std::string cannot = " contains a character that cannot be sent from this computer: U+";
    const std::string codePage = ". The system's code page (1252) has no such character.";
    const struct { std::wstring machine, message; std::string refusal, sent; } requests[] = {
        { L"*", L"meeting moved to 3", "", "" }, { L"/DOMAIN:NAME", L"hello", "", "" }, { L"/USERS", L"hello", "", "" },
        { L"PC12", L"%s %d %% %1", "", "" }, { L"PC12", L"say \"hi\" now", "", "" }, { L"PC12", L"\"", "", "" },
        { L"PC12", L"   ", "", "" }, { L"PC12", L"tab\there", "", "" }, { L"PC12", L"two\r\nlines\r\n", "", "" },
        // Right at the limit the whole text still goes; spaces keep the message field's wrapping quick.
        { L"PC12", VariedText(31996, 8, L" "), "", "" },
        { L"PC12", L"caf\u00E9 \u20AC5 \u00DF \u00FC", "", "caf\xE9 \x80" "5 \xDF \xFC" },
        { std::wstring(31997, L'm'), L"hello", "The machine name and message are too long: together they can hold at "
                                               "most 32000 characters.", "" },
        { L"PC12", L"", "Please enter a machine name and message", "" },
        { L"PC\t12", L"hello", "The machine name cannot contain spaces, tabs or line breaks.", "" },
        { L"\"PC12\"", L"hello", "The machine name cannot contain quotation marks.", "" },
        { L"PC12", L"\u041F\u0440\u0438\u0432\u0435\u0442", "The message" + cannot + "041F" + codePage, "" },
        { L"\u0416\u0423\u041A", L"hello", "The machine name" + cannot + "0416" + codePage, "" },
        // Only a look-alike ("a") in the Western code pages: best fit would change it silently.
        { L"PC12", L"M\u0101ori", "The message" + cannot + "0101" + codePage, "" },
        { L"PC12", L"ok \U0001F600", "The message" + cannot + "1F600" + codePage, "" },
    };
    MiroltSession session;
    for (const auto& request : requests) {
        session.Send(request.machine, request.message);
        ExpectAnswer(session, request.machine, request.message, request.refusal, request.sent);
    }
    EXPECT_EQ(11u, session.Records().size());
}

// Wine keeps a window's system menu and icons from other processes, so the probe DLL reports them from inside.
// Only the About entry's command opens the box, which holds the form until it is closed, any way.
TEST(Chrome, TheSystemMenuOpensAnAboutBoxThatNamesTheProgramHoldsTheFormAndClosesEveryWay)
{
    std::string report = TestPath(".probe");
    ::DeleteFileA(report.c_str());
    ::SetEnvironmentVariableA("MIROLT_PROBE_REPORT", report.c_str());
    MiroltSession session;
    session.SendProbe("MiroltProbe");
    EXPECT_EQ("menu: separator 0 \"\"\nmenu: string 16 \"&About Mirolt...\"\nicon: program program program\n",
              ReadFile(report));

    session.SetText(IDC_MACHINE_NAME, L"PC12");
    session.SetText(IDC_MESSAGE, L"hello");
    for (std::string way : { "OK", "Enter", "Escape", "close box" }) {
        SCOPED_TRACE(way);
        ::PostMessageA(session.Form(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        BoxInfo about = session.WaitForBox();
        ASSERT_NE(nullptr, about.hwnd);
        EXPECT_EQ(session.Form(), about.owner);
        EXPECT_EQ("About Mirolt", about.caption);
        EXPECT_EQ("Mirolt v1.0\nMade by the Mirolt developers.\nReach us through the Mirolt project.", about.text);
        EXPECT_EQ(std::vector<std::string>{ "OK" }, about.buttons);
        EXPECT_TRUE(about.icon) << "the About box shows no icon";
        EXPECT_FALSE(::IsWindowEnabled(session.Form())) << "the form takes input while the About box is open";

        if (way == "OK")
            ASSERT_TRUE(session.DismissBox());
        else if (way == "close box")
            ASSERT_TRUE(session.CloseBoxClick(about.hwnd));
        else
            session.Type(way == "Enter" ? "\r" : "\x1b");
        EXPECT_TRUE(WaitFor([&] { return !::IsWindow(about.hwnd) && ::IsWindowEnabled(session.Form()); }))
            << "the About box is still open, or the form still disabled";
        EXPECT_EQ(L"PC12 hello", session.Text(IDC_MACHINE_NAME) + L" " + session.Text(IDC_MESSAGE));
    }
    ::PostMessageA(session.Form(), WM_SYSCOMMAND, IDM_ABOUTBOX + 16, 0);
    EXPECT_EQ(nullptr, session.Box().hwnd) << "the next system command opened a box";
    EXPECT_TRUE(session.Records().empty());
}

TEST(ExeResources, IconIsOne32By32ImageAt8BitsWithAMask)
{
    // The group: reserved, type 1 (icon), one entry of 32 x 32, 0 colours, 1 plane, 8 bits, 2,216 bytes, image 1.
    const BYTE group[] = { 0, 0, 1, 0, 1, 0, 32, 32, 0, 0, 1, 0, 8, 0, 0xA8, 0x08, 0, 0, 1, 0 };
    EXPECT_EQ(Bytes(group, group + sizeof group), Raw(RT_GROUP_ICON, 128));

    Bytes image = Raw(RT_ICON, 1);
    ASSERT_EQ(2216u, image.size()) << "header 40 + palette of 256 colours 1024 + pixels 1024 + mask 128";
    // Header: its size 40, 32 x 64 (the pixels and the mask), 1 plane, 8 bits, no compression; 0 or 256 colours used.
    const BYTE header[] = { 40, 0, 0, 0, 32, 0, 0, 0, 64, 0, 0, 0, 1, 0, 8, 0, 0, 0, 0, 0 };
    EXPECT_EQ(Bytes(header, header + sizeof header), Bytes(image.begin(), image.begin() + sizeof header));
    DWORD used = reinterpret_cast<const BITMAPINFOHEADER*>(image.data())->biClrUsed;
    EXPECT_TRUE(used == 0 || used == 256) << used << " colours used";
    const DWORD* palette = reinterpret_cast<const DWORD*>(&image[40]);   // blue, green, red, unused
    // A drawing, not a blank: some pixels shown, some transparent, in more than a few colours.
    const BYTE *pixels = &image[40 + 4 * 256], *mask = pixels + 1024;
    std::set<DWORD> colours;
    int transparent = 0;
    for (int i = 0; i < 32 * 32; ++i) {
        if (mask[i / 8] & (0x80 >> (i % 8)))
            ++transparent;
        else
            colours.insert(palette[pixels[i]] & 0xFFFFFF);
    }
    EXPECT_TRUE(transparent > 0 && transparent < 32 * 32) << transparent << " pixels are transparent";
    EXPECT_GE(colours.size(), 8u);
}

// The version record as the system's own reader sees it: 1.0.0.1 in the fixed part and the strings.
TEST(ExeResources, VersionRecordReadsAsTheSystemShowsIt)
{
    DWORD handle = 0;
    std::vector<char> info(GetFileVersionInfoSizeA(Option("mirolt").c_str(), &handle) + 1);
    ASSERT_TRUE(GetFileVersionInfoA(Option("mirolt").c_str(), 0, DWORD(info.size()), info.data()));
    void* value = NULL;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", &value, &length));
    const DWORD* fixed = static_cast<const DWORD*>(value);   // VS_FIXEDFILEINFO: 13 numbers
    const DWORD expected[] = { 0xFEEF04BD, 0x00010000, 0x00010000, 0x00000001, 0x00010000, 0x00000001, 0x3F, 0,
                               VOS__WINDOWS32, VFT_APP, 0, 0, 0 };
    EXPECT_EQ(std::vector<DWORD>(expected, expected + 13), std::vector<DWORD>(fixed, fixed + 13));

    ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", &value, &length) && length == 4) << length;
    EXPECT_EQ(0x04B00409u, *static_cast<const DWORD*>(value));   // language 0409, code page 04B0

    const char* const strings[][2] = {
        { "CompanyName", "" }, { "FileDescription", "Mirolt MFC Application" }, { "FileVersion", "1, 0, 0, 1" },
        { "InternalName", "Mirolt" }, { "LegalTrademarks", "" }, { "OriginalFilename", "Mirolt.EXE" },
        { "ProductName", "Mirolt Application" }, { "ProductVersion", "1, 0, 0, 1" },
    };
    for (const auto& entry : strings) {
        std::string key = std::string("\\StringFileInfo\\040904B0\\") + entry[0];
        ASSERT_TRUE(VerQueryValueA(info.data(), key.c_str(), &value, &length)) << entry[0];
        EXPECT_STREQ(entry[1], length ? static_cast<const char*>(value) : "") << entry[0];
    }
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\StringFileInfo\\040904B0\\LegalCopyright", &value, &length));
    EXPECT_EQ(0, std::strncmp("Copyright", static_cast<const char*>(value), 9));   // any notice will do
}
