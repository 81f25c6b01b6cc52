// The number field limits Apply enforces.
#include <gtest/gtest.h>

#include "window/field_limits.h"

namespace {

struct Limited {
    int32_t value;
    bool changed;
};

Limited Limit(int32_t value, int32_t low, int32_t high)
{
    const bool changed = LimitFieldValue(&value, low, high);
    return {value, changed};
}

TEST(FieldLimits, ValuesInsideTheRangeStayAndAreNotRewritten)
{
    for (int32_t v : {4, 5, 31, 32}) {
        const Limited r = Limit(v, 4, 32);
        EXPECT_EQ(r.value, v);
        EXPECT_FALSE(r.changed);
    }
}

TEST(FieldLimits, ValuesOutsideAreBroughtToTheNearestBound)
{
    EXPECT_EQ(Limit(2, 4, 32).value, 4);
    EXPECT_EQ(Limit(40, 4, 32).value, 32);
    EXPECT_EQ(Limit(0, 4, 32).value, 4);
    EXPECT_EQ(Limit(INT32_MIN, 4, 32).value, 4);
    EXPECT_EQ(Limit(INT32_MAX, 4, 32).value, 32);
    EXPECT_TRUE(Limit(3, 4, 32).changed);
    EXPECT_TRUE(Limit(33, 4, 32).changed);
}

TEST(FieldLimits, OneSidedLimitsLeaveTheOtherSideOpen)
{
    EXPECT_EQ(Limit(50, 78, kNoUpperLimit).value, 78);
    EXPECT_EQ(Limit(INT32_MAX, 78, kNoUpperLimit).value, INT32_MAX);
    EXPECT_EQ(Limit(1500, kNoLowerLimit, 999).value, 999);
    EXPECT_EQ(Limit(0, kNoLowerLimit, 999).value, 0);
    // A field reading 4294967295 holds -1: no lower limit keeps it.
    EXPECT_EQ(Limit(-1, kNoLowerLimit, 999).value, -1);
    EXPECT_FALSE(Limit(-1, kNoLowerLimit, 999).changed);
    // The same text as a console width is below 78, as the game sees it.
    EXPECT_EQ(Limit(-1, 78, kNoUpperLimit).value, 78);
}

} // namespace
