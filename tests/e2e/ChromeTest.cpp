// tests/e2e/ChromeTest.cpp: the form's system menu and icons, and the About box that the menu opens.
#include "tests/e2e/MiroltDriver.h"

#include "resources/resource.h"

#include <gtest/gtest.h>

namespace {

// What the probe DLL reports of the form, seen from inside the program (see probe/mirolt_probe.c).
std::string ProbeFromInside(const MiroltSession& session, const std::string& report)
{
    return session.SendProbe("MiroltProbe") ? ReadFile(report) : "no probe DLL";
}

// The texts of a window's static controls, leaving out its icons.
std::vector<std::string> StaticTexts(HWND window)
{
    std::vector<std::string> texts;
    for (HWND child : ChildrenOf(window))
        if (::lstrcmpiA(ClassName(child).c_str(), "Static") == 0 &&
            (::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
            texts.push_back(MiroltSession::WindowText(child));
    return texts;
}

} // namespace

TEST(Chrome, SystemMenuEndsWithTheAboutEntryAndEveryIconIsTheProgramIcon)
{
    std::string report = Paths().work + "\\" + CurrentTestName() + ".probe";
    ::DeleteFileA(report.c_str());
    ::SetEnvironmentVariableA("MIROLT_PROBE_REPORT", report.c_str());
    MiroltSession session(CurrentTestName());
    EXPECT_EQ("menu: separator 0 \"\"\n"
              "menu: string 16 \"&About Mirolt...\"\n"
              "icon: program program program\n",
              ProbeFromInside(session, report));
}

// Only the About entry's command opens it; the system's own, such as close, do what they always do.
TEST(Chrome, AboutBoxNamesTheProgramHoldsTheFormAndClosesEveryWay)
{
    MiroltSession session(CurrentTestName());
    session.FillIn("PC12", "hello");
    for (const char* way : { "OK", "Enter", "Escape", "close box" }) {
        SCOPED_TRACE(way);
        ::PostMessageA(session.Form(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        BoxInfo about = session.WaitForBox();
        ASSERT_NE(nullptr, about.hwnd);
        EXPECT_EQ(session.Form(), about.owner);
        EXPECT_EQ("About Mirolt", about.caption);
        EXPECT_EQ(std::vector<std::string>({ "Mirolt v1.0", "Made by the Mirolt developers.",
                                             "Reach us through the Mirolt project." }),
                  StaticTexts(about.hwnd));
        EXPECT_EQ(std::vector<std::string>{ "OK" }, about.buttons);
        EXPECT_TRUE(about.icon) << "the About box shows no icon";

        // The form takes no input meanwhile: a click on its Send button would start net.exe.
        EXPECT_FALSE(::IsWindowEnabled(session.Form()));
        ASSERT_TRUE(session.RealClick(session.Item(IDC_SEND)));
        session.Flush();
        EXPECT_TRUE(::IsWindow(about.hwnd));

        if (std::string(way) == "OK")
            ASSERT_TRUE(session.DismissBox());
        else if (std::string(way) == "Enter")
            session.Key(VK_RETURN);
        else if (std::string(way) == "Escape")
            session.Key(VK_ESCAPE);
        else
            ASSERT_TRUE(session.CloseBoxClick(about.hwnd));
        EXPECT_TRUE(WaitFor([&] { return !::IsWindow(about.hwnd); })) << "the About box is still open";
        EXPECT_TRUE(WaitFor([&] { return ::IsWindowEnabled(session.Form()) != FALSE; }));
        EXPECT_EQ("PC12", session.Text(IDC_MACHINE_NAME));
        EXPECT_EQ("hello", session.Text(IDC_MESSAGE));
        EXPECT_TRUE(session.Running());
    }
    ::PostMessageA(session.Form(), WM_SYSCOMMAND, IDM_ABOUTBOX + 16, 0);
    session.Flush();
    EXPECT_EQ(nullptr, session.Box().hwnd) << "the next system command opened a box";
    ::PostMessageA(session.Form(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(session.WaitForExit()) << "SC_CLOSE did not end the program";
    EXPECT_TRUE(session.Records().empty());
}
