// tests/unit/MessageMapTest.cpp: lookup in chained command tables.
#include "platform/MessageMap.h"

#include <gtest/gtest.h>

namespace {

class CProbe : public CWnd
{
public:
    void First() {}
    void Second() {}
    void Base() {}
    void OnSysCommand(UINT, LPARAM) {}
    HICON OnQueryIcon() { return nullptr; }
};

const CMessageEntry baseEntries[] = {
    { WM_COMMAND, BN_CLICKED, IDOK,    IDOK,    handler(&CProbe::Base) },
    { WM_COMMAND, BN_CLICKED, 2000,    2000,    handler(&CProbe::Base) },
    { WM_PAINT,   0,          0,       0,       handler(&CProbe::Base) },
};
const CMessageMap baseMap = { nullptr, baseEntries, 3 };

const CMessageEntry derivedEntries[] = {
    { WM_SYSCOMMAND,    0,          0,    0,    handler(&CProbe::OnSysCommand) },
    { WM_QUERYDRAGICON, 0,          0,    0,    handler(&CProbe::OnQueryIcon) },
    { WM_COMMAND,       BN_CLICKED, 1000, 1009, handler(&CProbe::First) },
    { WM_COMMAND,       BN_CLICKED, 1005, 1005, handler(&CProbe::Second) },
    { WM_COMMAND,       EN_CHANGE,  2000, 2000, handler(&CProbe::Second) },
    { WM_PAINT,         0,          0,    0,    handler(&CProbe::First) },
};
const CMessageMap derivedMap = { &baseMap, derivedEntries, 6 };

} // namespace

TEST(MessageMap, FindsTheFirstMatchingRowOfTheClassItself)
{
    EXPECT_EQ(&derivedEntries[2], FindMessageEntry(&derivedMap, WM_COMMAND, BN_CLICKED, 1000));
    EXPECT_EQ(&derivedEntries[2], FindMessageEntry(&derivedMap, WM_COMMAND, BN_CLICKED, 1005));
    EXPECT_EQ(&derivedEntries[2], FindMessageEntry(&derivedMap, WM_COMMAND, BN_CLICKED, 1009));
    EXPECT_EQ(&derivedEntries[5], FindMessageEntry(&derivedMap, WM_PAINT, 0, 0));
}

TEST(MessageMap, FallsBackToTheBaseClassTable)
{
    EXPECT_EQ(&baseEntries[0], FindMessageEntry(&derivedMap, WM_COMMAND, BN_CLICKED, IDOK));
    EXPECT_EQ(&baseEntries[1], FindMessageEntry(&derivedMap, WM_COMMAND, BN_CLICKED, 2000));
    EXPECT_EQ(&baseEntries[2], FindMessageEntry(&baseMap, WM_PAINT, 0, 0));
}

TEST(MessageMap, MatchesTheNotificationCodeAndTheWholeIdRange)
{
    EXPECT_EQ(&derivedEntries[4], FindMessageEntry(&derivedMap, WM_COMMAND, EN_CHANGE, 2000));
    EXPECT_EQ(nullptr, FindMessageEntry(&derivedMap, WM_COMMAND, EN_CHANGE, 1000));
    EXPECT_EQ(nullptr, FindMessageEntry(&derivedMap, WM_COMMAND, BN_CLICKED, 999));
    EXPECT_EQ(nullptr, FindMessageEntry(&derivedMap, WM_COMMAND, BN_CLICKED, 1010));
    EXPECT_EQ(nullptr, FindMessageEntry(&derivedMap, WM_CLOSE, 0, 0));
    EXPECT_EQ(nullptr, FindMessageEntry(nullptr, WM_PAINT, 0, 0));
}

TEST(MessageMap, RecordsTheShapeOfEachHandler)
{
    EXPECT_EQ(CMessageHandler::SysCommand, FindMessageEntry(&derivedMap, WM_SYSCOMMAND, 0, 0)->handler.shape);
    EXPECT_EQ(CMessageHandler::QueryIcon, FindMessageEntry(&derivedMap, WM_QUERYDRAGICON, 0, 0)->handler.shape);
    EXPECT_EQ(CMessageHandler::Plain, FindMessageEntry(&derivedMap, WM_PAINT, 0, 0)->handler.shape);
}
