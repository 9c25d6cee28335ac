// tests/unit/IconLayoutTest.cpp: centring the icon of the minimised form.
#include "form/IconLayout.h"

#include <gtest/gtest.h>

TEST(IconLayout, CentresTheIconInALargerClientArea)
{
    EXPECT_EQ(2, CenteredIconOffset(36, 32));
    EXPECT_EQ(0, CenteredIconOffset(32, 32));
    EXPECT_EQ(3, CenteredIconOffset(37, 32));   // an odd spare pixel goes before the icon
    EXPECT_EQ(80, CenteredIconOffset(192, 32));
}

TEST(IconLayout, GoesNegativeWhenTheClientAreaIsSmallerThanTheIcon)
{
    EXPECT_EQ(-5, CenteredIconOffset(20, 32));   // truncates toward zero: -11 / 2 is -5, not -6
    EXPECT_EQ(-15, CenteredIconOffset(0, 32));
    EXPECT_EQ(0, CenteredIconOffset(31, 32));
}
