// The resolution list's labels: the aspect ratio each screen is sold as.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "display/resolution_label.h"

TEST(ResolutionLabel, NamesTheRatioScreensAreSoldAs)
{
    const char *labels[] = {
        "640 x 480 - 4 : 3", "1280 x 1024 - 5 : 4", "1280 x 800 - 16 : 10", "1366 x 768 - 16 : 9",
        "1920 x 1080 - 16 : 9", "720 x 480 - 3 : 2", "1280 x 768 - 5 : 3", "3440 x 1440 - 12 : 5",
        "2560 x 1080 - 19 : 8", "1680 x 1050 - 16 : 10", "1920 x 1200 - 16 : 10", "640 x 400 - 16 : 10",
        // Equally near 4 : 3 in exact arithmetic; nearer 11 : 8 in doubles.
        "1040 x 768 - 11 : 8", "650 x 480 - 11 : 8", "1300 x 960 - 11 : 8",
        "800 x 600 - 4 : 3", "1600 x 900 - 16 : 9", "5120 x 1440 - 32 : 9", "1080 x 1920 - 5 : 9",
        "1 x 480 - 0 : 1", "65535 x 480 - 1229 : 9", "100 x 1 - 100 : 1"};
    for (const char *expected : labels) {
        int width = 0, height = 0;
        char label[kResolutionLabelSize];
        ASSERT_EQ(sscanf(expected, "%d x %d", &width, &height), 2);
        FormatResolutionLabel(label, width, height);
        EXPECT_STREQ(label, expected);
    }
}
