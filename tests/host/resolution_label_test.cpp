// The aspect labels players read in the resolution list. The same cases
// run on the host and, built by the program's own compiler, under Wine.
#include <gtest/gtest.h>

#include <string>

#include "display/resolution_label.h"

namespace {

std::string Label(int32_t width, int32_t height)
{
    char label[kResolutionLabelSize];
    FormatResolutionLabel(label, width, height);
    return label;
}

TEST(AspectLabel, CommonModesReadAsTheirUsualRatios)
{
    EXPECT_EQ(Label(640, 480), "640 x 480 - 4 : 3");
    EXPECT_EQ(Label(1280, 1024), "1280 x 1024 - 5 : 4");
    EXPECT_EQ(Label(1280, 800), "1280 x 800 - 16 : 10");
    EXPECT_EQ(Label(1366, 768), "1366 x 768 - 16 : 9");
    EXPECT_EQ(Label(1920, 1080), "1920 x 1080 - 16 : 9");
    EXPECT_EQ(Label(720, 480), "720 x 480 - 3 : 2");
    EXPECT_EQ(Label(1280, 768), "1280 x 768 - 5 : 3");
    EXPECT_EQ(Label(3440, 1440), "3440 x 1440 - 12 : 5");
    EXPECT_EQ(Label(2560, 1080), "2560 x 1080 - 19 : 8");
}

TEST(AspectLabel, NumeratorIsTheExactRatioTimesTheDenominator)
{
    // Not the whole number of the fraction: 1366 / 768 * 9 and 2560 / 1080 * 8.
    const AspectRatio wide = NearestAspectRatio(1366, 768);
    EXPECT_EQ(wide.denominator, 9);
    EXPECT_DOUBLE_EQ(wide.numerator, 16.0078125);
    const AspectRatio ultraWide = NearestAspectRatio(2560, 1080);
    EXPECT_EQ(ultraWide.denominator, 8);
    EXPECT_NEAR(ultraWide.numerator, 18.963, 0.001);
    // Portrait: 5.0625 : 9, printed as 5 : 9.
    EXPECT_EQ(Label(1080, 1920), "1080 x 1920 - 5 : 9");
}

TEST(AspectLabel, SixteenByTenIsNotReducedButNearMissesAre)
{
    EXPECT_EQ(Label(1680, 1050), "1680 x 1050 - 16 : 10");
    EXPECT_EQ(Label(1920, 1200), "1920 x 1200 - 16 : 10");
    EXPECT_EQ(Label(1440, 900), "1440 x 900 - 16 : 10");
    // Only an exact 8 : 5 becomes 16 : 10.
    EXPECT_EQ(Label(1281, 800), "1281 x 800 - 8 : 5");
    // Other fractions stay in lowest terms.
    EXPECT_EQ(Label(1600, 1200), "1600 x 1200 - 4 : 3");
    EXPECT_EQ(Label(1024, 1024), "1024 x 1024 - 1 : 1");
}

TEST(AspectLabel, ExactTiesAreSettledByDoubleRounding)
{
    // 4 : 3 and 11 : 8 are equally near in exact arithmetic; the rounded
    // errors make 11 : 8 the nearer. x87 extended precision would not.
    EXPECT_EQ(Label(1040, 768), "1040 x 768 - 11 : 8");
    EXPECT_EQ(Label(650, 480), "650 x 480 - 11 : 8");
    EXPECT_EQ(Label(1300, 960), "1300 x 960 - 11 : 8");
    // Beyond a denominator of 10 the nearest small fraction stands in.
    EXPECT_EQ(Label(1024, 600), "1024 x 600 - 17 : 10");
}

} // namespace
