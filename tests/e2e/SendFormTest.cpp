// tests/e2e/SendFormTest.cpp: the form as a user meets it: typing, sending, refusals, Clear and leaving.
#include "tests/e2e/MiroltDriver.h"

#include "resources/resource.h"

#include <gtest/gtest.h>

namespace {

const char kEmptyField[] = "Please enter a machine name and message";
const char kSpaceInName[] = "The machine name cannot contain spaces, tabs or line breaks.";
const char kQuoteInName[] = "The machine name cannot contain quotation marks.";
const char kTooLong[] = "The machine name and message are too long: together they can hold at most 32000 characters.";

// Varied words, so that a lost or repeated piece shows. Spaces keep the message field's wrapping quick.
std::string Pattern(size_t length, char separator = ' ')
{
    std::string text;
    for (size_t i = 0; i < length; ++i)
        text += i % 8 == 7 ? separator : static_cast<char>('a' + (i * 7 + i / 26) % 26);
    return text;
}

// Sends what the fields hold and expects `caption`'s box: with "Done", net.exe started with exactly the
// typed text; with "Error", nothing started and the fields never greyed. Leaves the form settled again.
void SendExpecting(MiroltSession& session, const std::string& machine, const std::string& message,
                   const std::string& caption, const std::string& text)
{
    SCOPED_TRACE(caption + " for \"" + machine.substr(0, 40) + "\"");
    session.FillIn(machine, message);
    size_t before = session.Records().size();
    session.Click(IDC_SEND);
    ExpectOkBox(session.WaitForBox(), session.Form(), caption, text);
    std::vector<NetRecord> records = session.Records();
    ASSERT_EQ(before + (caption == "Done" ? 1 : 0), records.size());
    if (caption == "Done")
        EXPECT_EQ(" send " + machine + " " + message, ArgumentsOf(records.back()));
    else
        EXPECT_TRUE(session.Enabled(IDC_MACHINE_NAME) && session.Enabled(IDC_MESSAGE));
    ASSERT_TRUE(session.DismissBox());
    session.ExpectSettled(machine, message);
}

} // namespace

TEST(TypingAndSending, ClickingSendOrEnterInTheMachineFieldDeliversTheTextAndReportsDone)
{
    for (bool enter : { false, true }) {
        SCOPED_TRACE(enter ? "Enter in the machine field" : "click on Send");
        MiroltSession session(CurrentTestName());
        EXPECT_EQ(session.Item(IDC_MACHINE_NAME), session.Focus());
        if (enter) {
            session.SetText(IDC_MESSAGE, "Lunch at 12, OK?");
            session.Type("PC12");
            session.Key(VK_RETURN);
        } else {
            session.Type("PC12");
            session.Key(VK_TAB);
            session.Type("Lunch at 12, OK?");
            session.Click(IDC_SEND);
        }
        ExpectOkBox(session.WaitForBox(), session.Form(), "Done", "Message has been sent");
        EXPECT_FALSE(session.Enabled(IDC_MACHINE_NAME));
        EXPECT_FALSE(session.Enabled(IDC_MESSAGE));
        std::vector<NetRecord> records = session.Records();
        ASSERT_EQ(1u, records.size());
        EXPECT_EQ(" send PC12 Lunch at 12, OK?", ArgumentsOf(records[0]));

        ASSERT_TRUE(session.DismissBox());
        session.ExpectSettled("PC12", "Lunch at 12, OK?");
    }
}

TEST(TypingAndSending, EnterInTheMessageFieldStartsANewLineThatArrivesWhole)
{
    MiroltSession session(CurrentTestName());
    session.Type("PC12");
    session.Key(VK_TAB);
    session.Type("line one");
    session.Key(VK_RETURN);
    session.Type("line two");
    session.Flush();
    EXPECT_EQ("line one\r\nline two", session.Text(IDC_MESSAGE));
    EXPECT_EQ(nullptr, session.Box().hwnd);
    EXPECT_TRUE(session.Records().empty());

    session.Click(IDC_SEND);
    ExpectOkBox(session.WaitForBox(), session.Form(), "Done", "Message has been sent");
    ASSERT_EQ(1u, session.Records().size());
    EXPECT_EQ(" send PC12 line one\r\nline two", ArgumentsOf(session.Records()[0]));
}

TEST(Refusals, EachIsExplainedWithNothingStartedAndTheFieldsKept)
{
    const struct {
        std::string machine, message;
        const char* reason;
    } refusals[] = {   // one of each kind; which texts are refused is the unit tests' to check
        { "PC12", "", kEmptyField }, { "PC\t12", "hello", kSpaceInName }, { "\"PC12\"", "hello", kQuoteInName },
        { "PC12", Pattern(31997), kTooLong },
    };
    MiroltSession session(CurrentTestName());
    for (const auto& refusal : refusals)
        SendExpecting(session, refusal.machine, refusal.message, "Error", refusal.reason);
    EXPECT_TRUE(session.Records().empty());
}

TEST(Refusals, CharactersTheCodePageCannotCarryAreRefusedAndTheFieldsKept)
{
    const struct {
        const wchar_t* machine;
        const wchar_t* message;
        const char* refusal;
    } cases[] = {
        { L"PC12", L"\u041F\u0440\u0438\u0432\u0435\u0442", "The message contains a character that cannot be sent "
                                                             "from this computer: U+041F." },
        { L"\u0416\u0423\u041A", L"hello", "The machine name contains a character that cannot be sent from this "
                                           "computer: U+0416." },
        // Only a look-alike ("a") in the Western code pages: best fit would change it silently.
        { L"PC12", L"M\u0101ori", "The message contains a character that cannot be sent from this computer: U+0101." },
        { L"PC12", L"ok \U0001F600", "The message contains a character that cannot be sent from this computer: "
                                     "U+1F600." },
    };
    const std::string codePage = " The system's code page (" + std::to_string(::GetACP()) + ") has no such character.";
    MiroltSession session(CurrentTestName());
    for (const auto& refused : cases) {
        SCOPED_TRACE(refused.refusal);
        session.SetWideText(IDC_MACHINE_NAME, refused.machine);
        session.SetWideText(IDC_MESSAGE, refused.message);
        session.Click(IDC_SEND);
        ExpectOkBox(session.WaitForBox(), session.Form(), "Error", refused.refusal + codePage);
        ASSERT_TRUE(session.DismissBox());
        EXPECT_EQ(refused.machine, session.WideText(IDC_MACHINE_NAME));
        EXPECT_EQ(refused.message, session.WideText(IDC_MESSAGE));
        EXPECT_TRUE(session.Enabled(IDC_SEND));
    }
    EXPECT_TRUE(session.Records().empty());
}

// Targets that net send itself understands, and messages with whatever the command line might mangle.
TEST(Content, ArrivesExactlyAsTyped)
{
    const struct {
        std::string machine, message;
    } requests[] = {
        { "*", "meeting moved to 3" }, { "/DOMAIN:NAME", "hello" }, { "/USERS", "hello" },
        { "PC12", "100% sure" }, { "PC12", "%s %d %% %1" }, { "PC12", "say \"hi\" now" }, { "PC12", "\"" },
        { "PC12", "   " }, { "PC12", "tab\there" }, { "PC12", "two\r\nlines\r\n" }, { "PC12", Pattern(5000) },
        { "PC12", Pattern(31996) },   // right at the limit the whole text still goes
    };
    MiroltSession session(CurrentTestName());
    for (const auto& request : requests)
        SendExpecting(session, request.machine, request.message, "Done", "Message has been sent");
    EXPECT_EQ(sizeof requests / sizeof requests[0], session.Records().size());
}

TEST(Content, TextTheCodePageCarriesArrivesAsItsExactBytes)
{
    ASSERT_EQ(1252u, ::GetACP()) << "the expected bytes are those of Windows-1252";
    MiroltSession session(CurrentTestName());
    session.SetWideText(IDC_MACHINE_NAME, L"PC12");
    session.SetWideText(IDC_MESSAGE, L"caf\u00E9 \u20AC5 \u00DF \u00FC");
    session.Click(IDC_SEND);
    ExpectOkBox(session.WaitForBox(), session.Form(), "Done", "Message has been sent");
    ASSERT_EQ(1u, session.Records().size());
    EXPECT_EQ(" send PC12 caf\xE9 \x80"
              "5 \xDF \xFC",
              ArgumentsOf(session.Records()[0]));
}

TEST(Clear, EmptiesBothFieldsAndChangesNothingElse)
{
    MiroltSession session(CurrentTestName());
    session.Type("PC12");
    session.Key(VK_TAB);
    session.Type("hello");
    session.Flush();
    ASSERT_EQ(session.Item(IDC_MESSAGE), session.Focus());

    // The button's own notification, as when Clear is pressed from the keyboard: the focus stays put.
    session.Command(IDC_CLEAR);
    session.Flush();
    EXPECT_EQ("", session.Text(IDC_MACHINE_NAME));
    EXPECT_EQ("", session.Text(IDC_MESSAGE));
    EXPECT_EQ(session.Item(IDC_MESSAGE), session.Focus());
    for (int id : { IDC_MACHINE_NAME, IDC_MESSAGE, IDC_SEND, IDC_CLEAR, IDOK })
        EXPECT_TRUE(session.Enabled(id)) << "control " << id;

    // A click takes the focus to the button, and no further.
    session.FillIn("PC12", "again");
    session.Click(IDC_CLEAR);
    session.Flush();
    EXPECT_EQ("", session.Text(IDC_MACHINE_NAME));
    EXPECT_EQ("", session.Text(IDC_MESSAGE));
    EXPECT_EQ(session.Item(IDC_CLEAR), session.Focus());
    EXPECT_EQ(nullptr, session.Box().hwnd);
    EXPECT_TRUE(session.Records().empty());
    EXPECT_TRUE(session.Running());
}

TEST(Ending, QuitEscapeAndTheCloseBoxEndTheProgramAtOnce)
{
    for (const char* way : { "Quit", "Escape", "close box" }) {
        for (bool withText : { false, true }) {
            SCOPED_TRACE(std::string(way) + (withText ? " with text" : " when empty"));
            MiroltSession session(CurrentTestName());
            if (withText) {
                session.Type("PC12");
                session.Key(VK_TAB);
                session.Type("hello");
            }
            EXPECT_TRUE(session.EndBy(way)) << "the program is still running";
            EXPECT_TRUE(session.Records().empty());
        }
    }
}

