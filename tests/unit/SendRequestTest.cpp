// tests/unit/SendRequestTest.cpp: which requests can be sent, and why the others cannot.
#include "form/SendRequest.h"

#include <gtest/gtest.h>

#include <string>

TEST(SendRequest, RefusesWhatTheCommandLineCouldNotCarryAsTyped)
{
    const std::string longest(CSendRequest::MaxTextLength - 4, 'm');   // with "PC12", right at the limit
    const struct {
        std::string machine, message;
        CSendRequest::Verdict verdict;
    } cases[] = {
        { "PC12", "", CSendRequest::EmptyField }, { "", "hello", CSendRequest::EmptyField },
        { "", "", CSendRequest::EmptyField }, { "PC 12", "hello", CSendRequest::SpaceInMachineName },
        { "   ", "hello", CSendRequest::SpaceInMachineName }, { "PC\t12", "hello", CSendRequest::SpaceInMachineName },
        { "PC\r\n12", "hello", CSendRequest::SpaceInMachineName }, { "PC12\n", "x", CSendRequest::SpaceInMachineName },
        { "PC\v12", "x", CSendRequest::SpaceInMachineName }, { "PC\f12", "x", CSendRequest::SpaceInMachineName },
        { "PC\"12", "hello", CSendRequest::QuoteInMachineName }, { "\"PC12\"", "x", CSendRequest::QuoteInMachineName },
        { "PC12", longest + "m", CSendRequest::TooLong }, { "PC12", longest, CSendRequest::Ready },
        // Targets net send understands, and messages with anything in them, go as they are.
        { "*", "x", CSendRequest::Ready }, { "/DOMAIN:NAME", "x", CSendRequest::Ready },
        { "PC12", " say \"hi\"\r\n\t100% ", CSendRequest::Ready },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.verdict, CSendRequest(c.machine.c_str(), c.message.c_str()).Check())
            << '[' << c.machine << "] [" << c.message.substr(0, 40) << ']';
}
