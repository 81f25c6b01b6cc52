// Which sizes the resolution list offers, in which order, from mode lists
// like those real displays report.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "display/resolution_order.h"

// Beside Resolution, where the comparisons of gtest and std find them.
static bool operator==(Resolution a, Resolution b)
{
    return a.width == b.width && a.height == b.height;
}

static void PrintTo(Resolution size, std::ostream *out)
{
    *out << size.width << "x" << size.height;
}

namespace {

using Sizes = std::vector<Resolution>;

Sizes OfferedResolutions(Resolution configured, const Sizes &modes)
{
    Sizes offered(modes.size() + 1);
    offered.resize(::OfferedResolutions(configured, modes.data(), modes.size(), offered.data()));
    return offered;
}

// Each size at 32, 16 and 8 bits per pixel, in the order Wine's virtual
// desktop reports its 60 modes.
Sizes WineDesktopModes()
{
    const Sizes sizes = {{320, 200}, {320, 240}, {400, 300}, {512, 384}, {640, 400},
                         {640, 480}, {768, 576}, {800, 600}, {1024, 768}, {1152, 864},
                         {1280, 720}, {1280, 800}, {1280, 960}, {1280, 1024}, {1366, 768},
                         {1400, 1050}, {1440, 900}, {1600, 900}, {1680, 1050}, {1920, 1080}};
    Sizes modes;
    for (int depth = 0; depth < 3; ++depth)
        modes.insert(modes.end(), sizes.begin(), sizes.end());
    return modes;
}

const Sizes kWineDesktopOffers = {{640, 480}, {768, 576}, {800, 600}, {1024, 768}, {1152, 864},
                                  {1280, 720}, {1280, 800}, {1280, 960}, {1280, 1024}, {1366, 768},
                                  {1400, 1050}, {1440, 900}, {1600, 900}, {1680, 1050}, {1920, 1080}};

Sizes InsertedInOrder(Sizes sizes, Resolution extra)
{
    const auto place = std::find_if(sizes.begin(), sizes.end(), [extra](Resolution s) {
        return s.width > extra.width || (s.width == extra.width && s.height > extra.height);
    });
    sizes.insert(place, extra);
    return sizes;
}

TEST(ResolutionOrder, EachSizeOnceAscendingAndNoneBelow480High)
{
    EXPECT_EQ(OfferedResolutions({1024, 768}, WineDesktopModes()), kWineDesktopOffers);
}

TEST(ResolutionOrder, ConfiguredSizeIsListedEvenWhenTheDisplayLacksIt)
{
    EXPECT_EQ(OfferedResolutions({1000, 700}, WineDesktopModes()), InsertedInOrder(kWineDesktopOffers, {1000, 700}));
    // Too low to be offered from the display, but it is the player's choice.
    EXPECT_EQ(OfferedResolutions({640, 400}, WineDesktopModes()), InsertedInOrder(kWineDesktopOffers, {640, 400}));
    // Same width: ordered by height.
    EXPECT_EQ(OfferedResolutions({1280, 768}, WineDesktopModes()), InsertedInOrder(kWineDesktopOffers, {1280, 768}));
    // Taller than any mode of its width, narrower than the next width.
    const Sizes withOdd = InsertedInOrder(kWineDesktopOffers, {1281, 400});
    EXPECT_EQ(OfferedResolutions({1281, 400}, WineDesktopModes()), withOdd);
    EXPECT_EQ(withOdd[9], (Resolution{1281, 400}));
}

TEST(ResolutionOrder, WhenTheDisplayReportsNothingOnlyTheConfiguredSizeIsListed)
{
    EXPECT_EQ(OfferedResolutions({1024, 768}, {}), (Sizes{{1024, 768}}));
    EXPECT_EQ(OfferedResolutions({1024, 768}, {{640, 400}, {320, 200}}), (Sizes{{1024, 768}}));
}

// A display of today: hundreds of modes, every size at several refresh
// rates and depths, listed by the driver in no particular order.
TEST(ResolutionOrder, HundredsOfShuffledModesListEachSizeOnce)
{
    std::mt19937 random(20240611);
    Sizes distinct;
    for (int32_t width : {320, 640, 720, 800, 1024, 1152, 1280, 1360, 1366, 1440, 1600, 1680, 1920, 2560, 3440, 3840})
        for (int32_t height : {200, 240, 400, 479, 480, 600, 720, 768, 900, 1024, 1080, 1200, 1440, 1600, 2160})
            distinct.push_back({width, height});
    Sizes modes;
    for (int rate = 0; rate < 4; ++rate)
        for (int depth = 0; depth < 2; ++depth)
            modes.insert(modes.end(), distinct.begin(), distinct.end());
    std::shuffle(modes.begin(), modes.end(), random);

    Sizes expected;
    for (Resolution size : distinct)
        if (size.height >= 480)
            expected.push_back(size);
    // 1024 x 768 is among them already: still once.
    EXPECT_EQ(OfferedResolutions({1024, 768}, modes), expected);
    EXPECT_EQ(OfferedResolutions({1000, 700}, modes), InsertedInOrder(expected, {1000, 700}));
}

} // namespace
