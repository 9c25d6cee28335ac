// tests/unit/SendRequestTest.cpp: what a Send request is refused for, and the exact parameters it composes.
#include "form/SendRequest.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Compose(const std::string& machineName, const std::string& message)
{
    CSendRequest request(machineName.c_str(), message.c_str());
    std::string parameters(request.ParametersLength() + 1, '#');
    request.ComposeParameters(&parameters[0]);
    EXPECT_EQ('\0', parameters.back()) << "the composed text must end exactly at its reported length";
    parameters.pop_back();
    return parameters;
}

CSendRequest::Verdict Check(const std::string& machineName, const std::string& message)
{
    return CSendRequest(machineName.c_str(), message.c_str()).Check();
}

} // namespace

TEST(SendRequestComposition, PutsOneSpaceBeforeSendAndBetweenTheTexts)
{
    EXPECT_EQ(" send PC12 hello", Compose("PC12", "hello"));
    EXPECT_EQ(std::string(" send PC12 hello").size(), CSendRequest("PC12", "hello").ParametersLength());
}

TEST(SendRequestComposition, PassesTheMessageThroughExactlyAsTyped)
{
    EXPECT_EQ(" send PC12 100% done", Compose("PC12", "100% done"));
    EXPECT_EQ(" send PC12 %s %d %%", Compose("PC12", "%s %d %%"));
    EXPECT_EQ(" send PC12 say \"hi\"", Compose("PC12", "say \"hi\""));
    EXPECT_EQ(" send PC12 line one\r\nline two", Compose("PC12", "line one\r\nline two"));
    EXPECT_EQ(" send PC12    ", Compose("PC12", "   "));
    EXPECT_EQ(" send * hello", Compose("*", "hello"));
}

TEST(SendRequestComposition, KeepsLongTextsWhole)
{
    // Far beyond the 1,024 bytes a wsprintf-style formatter would stop at.
    std::string message(5000, 'x');
    message[4999] = 'Z';
    std::string parameters = Compose("PC12", message);
    EXPECT_EQ(" send PC12 " + message, parameters);
}

TEST(SendRequestValidation, RefusesAnEmptyField)
{
    EXPECT_EQ(CSendRequest::EmptyField, Check("", "hello"));
    EXPECT_EQ(CSendRequest::EmptyField, Check("PC12", ""));
    EXPECT_EQ(CSendRequest::EmptyField, Check("", ""));
}

TEST(SendRequestValidation, RefusesWhitespaceInTheMachineName)
{
    for (const char* name : { "PC 12", " ", "   ", "PC12 ", " PC12", "PC\t12", "PC12\r\n", "PC\n12", "PC\v12" })
        EXPECT_EQ(CSendRequest::SpaceInMachineName, Check(name, "hello")) << '[' << name << ']';
}

TEST(SendRequestValidation, RefusesAQuoteInTheMachineName)
{
    for (const char* name : { "\"PC12\"", "PC\"12", "\"" })
        EXPECT_EQ(CSendRequest::QuoteInMachineName, Check(name, "hello")) << '[' << name << ']';
}

TEST(SendRequestValidation, AcceptsWhatNetSendItselfAccepts)
{
    for (const char* name : { "PC12", "*", "/DOMAIN:NAME", "/DOMAIN", "/USERS", "pc-12.example", "\xC4\xD6" })
        EXPECT_EQ(CSendRequest::Ready, Check(name, "hello")) << '[' << name << ']';
}

TEST(SendRequestValidation, NeverValidatesTheMessage)
{
    for (const char* message : { " ", "\t", "\r\n", "\"", "100%", "a \"quoted\" word" })
        EXPECT_EQ(CSendRequest::Ready, Check("PC12", message)) << '[' << message << ']';
}

TEST(SendRequestValidation, LimitsBothTextsTogether)
{
    const size_t limit = CSendRequest::MaxTextLength;
    ASSERT_EQ(32000u, limit);
    EXPECT_EQ(CSendRequest::Ready, Check("PC12", std::string(limit - 4, 'm')));
    EXPECT_EQ(CSendRequest::TooLong, Check("PC12", std::string(limit - 3, 'm')));
    EXPECT_EQ(CSendRequest::Ready, Check(std::string(limit - 1, 'n'), "m"));
    EXPECT_EQ(CSendRequest::TooLong, Check(std::string(limit, 'n'), "m"));
    // At the limit the parameters still come out whole.
    std::string message(limit - 4, 'm');
    EXPECT_EQ(limit + 7, CSendRequest("PC12", message.c_str()).ParametersLength());
    EXPECT_EQ(" send PC12 " + message, Compose("PC12", message));
}

TEST(SendRequestValidation, ReportsAnEmptyFieldBeforeAnythingElse)
{
    EXPECT_EQ(CSendRequest::EmptyField, Check("PC 12", ""));
    EXPECT_EQ(CSendRequest::SpaceInMachineName, Check("PC 12", std::string(40000, 'm')));
}
