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
    EXPECT_EQ('\0', parameters.back()) << "the text must end exactly at its reported length";
    parameters.pop_back();
    return parameters;
}

CSendRequest::Verdict Check(const std::string& machineName, const std::string& message)
{
    return CSendRequest(machineName.c_str(), message.c_str()).Check();
}

} // namespace

TEST(SendRequest, ComposesBothTextsExactlyAsTyped)
{
    EXPECT_EQ(" send PC12 hello", Compose("PC12", "hello"));
    EXPECT_EQ(" send * 100% %s %d %%", Compose("*", "100% %s %d %%"));
    EXPECT_EQ(" send PC12 say \"hi\"\r\nline two", Compose("PC12", "say \"hi\"\r\nline two"));
    EXPECT_EQ(" send PC12    ", Compose("PC12", "   "));
    // Far beyond the 1,024 bytes at which a wsprintf-style formatter stops.
    std::string message(5000, 'x');
    message.back() = 'Z';
    EXPECT_EQ(" send PC12 " + message, Compose("PC12", message));
}

TEST(SendRequest, RefusesEmptyFieldsFirst)
{
    EXPECT_EQ(CSendRequest::EmptyField, Check("", "hello"));
    EXPECT_EQ(CSendRequest::EmptyField, Check("PC12", ""));
    EXPECT_EQ(CSendRequest::EmptyField, Check("PC 12", ""));
}

TEST(SendRequest, RefusesMachineNamesThatWouldSplitTheCommandLine)
{
    for (const char* name : { "PC 12", "   ", " PC12", "PC\t12", "PC12\r\n", "PC\n12", "PC\v12" })
        EXPECT_EQ(CSendRequest::SpaceInMachineName, Check(name, "hello")) << '[' << name << ']';
    for (const char* name : { "\"PC12\"", "PC\"12" })
        EXPECT_EQ(CSendRequest::QuoteInMachineName, Check(name, "hello")) << '[' << name << ']';
}

TEST(SendRequest, AcceptsNetSendTargetsAndAnyMessage)
{
    for (const char* name : { "PC12", "*", "/DOMAIN:NAME", "/USERS", "pc-12.example", "\xC4\xD6" })
        EXPECT_EQ(CSendRequest::Ready, Check(name, "hello")) << '[' << name << ']';
    for (const char* message : { " ", "\t", "\r\n", "\"", "100%" })
        EXPECT_EQ(CSendRequest::Ready, Check("PC12", message)) << '[' << message << ']';
}

TEST(SendRequest, LimitsBothTextsTogetherTo32000Bytes)
{
    ASSERT_EQ(32000u, CSendRequest::MaxTextLength);
    EXPECT_EQ(CSendRequest::Ready, Check("PC12", std::string(31996, 'm')));
    EXPECT_EQ(CSendRequest::TooLong, Check("PC12", std::string(31997, 'm')));
    EXPECT_EQ(CSendRequest::TooLong, Check(std::string(32000, 'n'), "m"));
    // At the limit the parameters still come out whole.
    std::string message(31996, 'm');
    EXPECT_EQ(" send PC12 " + message, Compose("PC12", message));
}
