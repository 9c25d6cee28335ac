// tests/unit/SendRequestTest.cpp: which requests can be sent, and why the others cannot.
#include "form/SendRequest.h"

#include <gtest/gtest.h>

#include <string>

TEST(SendRequest, RefusesWhatTheCommandLineCouldNotCarryAsTyped)
{
    using R = CSendRequest;
    const std::string longest(R::MaxTextLength - 4, 'm');   // with "PC12", right at the limit
    const struct { std::string machine, message; R::Verdict verdict; } cases[] = {
        { "PC12", "", R::EmptyField }, { "", "hello", R::EmptyField }, { "   ", "hello", R::SpaceInMachineName },
        { "PC\t12", "x", R::SpaceInMachineName }, { "PC\r12", "x", R::SpaceInMachineName },
        { "PC12\n", "x", R::SpaceInMachineName }, { "PC\v12", "x", R::SpaceInMachineName },
        { "PC\f12", "x", R::SpaceInMachineName }, { "PC\"12", "hello", R::QuoteInMachineName },
        { "PC12", longest + "m", R::TooLong }, { "PC12", longest, R::Ready },
        // Targets net send understands, and messages with anything in them, go as they are.
        { "*", "x", R::Ready }, { "/DOMAIN:NAME", "x", R::Ready }, { "PC12", " say \"hi\"\r\n\t100% ", R::Ready },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.verdict, R(c.machine.c_str(), c.message.c_str()).Check())
            << '[' << c.machine << "] [" << c.message.substr(0, 40) << ']';
}
