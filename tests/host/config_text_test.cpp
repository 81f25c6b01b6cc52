// Reading and writing the text of patch.cfg, as players write it by hand.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "settings/config_text.h"

static std::string FormatPatchConfig(const PatchSettings &settings)
{
    char text[kPatchConfigTextSize];
    return std::string(text, FormatPatchConfig(settings, text));
}

namespace {

PatchSettings Parse(const std::string &text, PatchSettings start = PatchSettings())
{
    ParsePatchConfig(text.data(), text.size(), start);
    return start;
}

bool SameSettings(const PatchSettings &a, const PatchSettings &b)
{
    for (const PatchSettingKey &k : patchSettingKeys) {
        if (a.*k.field != b.*k.field)
            return false;
    }
    return true;
}

const char kDefaultFile[] =
    "enable 1\nnativefs 1\nconsolenoback 0\nconsoleoverlay 4\nconsolewidth 126\n"
    "chatlines 8\nmenudarken 1\nshowgun 0\nmaxfps 90\nautofov 1\ndlmain 1\ndlrate 0\n";

TEST(ConfigWriting, DefaultsGiveTwelveLinesWithoutResolution)
{
    EXPECT_EQ(FormatPatchConfig(PatchSettings()), kDefaultFile);
}

TEST(ConfigWriting, ResolutionAddsWidthAndHeightAfterEnable)
{
    PatchSettings s;
    s.width = 1920;
    s.height = 1080;
    EXPECT_EQ(FormatPatchConfig(s),
              "enable 1\nwidth 1920\nheight 1080\nnativefs 1\nconsolenoback 0\nconsoleoverlay 4\n"
              "consolewidth 126\nchatlines 8\nmenudarken 1\nshowgun 0\nmaxfps 90\nautofov 1\n"
              "dlmain 1\ndlrate 0\n");
}

TEST(ConfigWriting, HalfAResolutionIsNoResolution)
{
    PatchSettings s;
    s.width = 800;
    EXPECT_EQ(FormatPatchConfig(s), kDefaultFile);
    s.width = 0;
    s.height = 600;
    EXPECT_EQ(FormatPatchConfig(s), kDefaultFile);
}

TEST(ConfigWriting, ExtremeValuesAreWrittenSigned)
{
    PatchSettings s;
    s.dlrate = INT32_MIN;
    s.maxfps = INT32_MAX;
    s.enable = -1;
    const std::string text = FormatPatchConfig(s);
    EXPECT_NE(text.find("dlrate -2147483648\n"), std::string::npos);
    EXPECT_NE(text.find("maxfps 2147483647\n"), std::string::npos);
    EXPECT_EQ(text.rfind("enable -1\n", 0), 0u);
}

TEST(ConfigReading, EmptyTextKeepsEveryValue)
{
    EXPECT_TRUE(SameSettings(Parse(""), PatchSettings()));
    EXPECT_TRUE(SameSettings(Parse("\n\r\n\t\x01\x1f"), PatchSettings()));
}

TEST(ConfigReading, UnmentionedKeysKeepTheirValues)
{
    PatchSettings start;
    start.chatlines = 17;
    const PatchSettings s = Parse("maxfps 120\n", start);
    EXPECT_EQ(s.maxfps, 120);
    EXPECT_EQ(s.chatlines, 17);
    EXPECT_EQ(s.consolewidth, 126);
}

TEST(ConfigReading, ValuesAreReadLikeAtoi)
{
    EXPECT_EQ(Parse("maxfps 120fps\n").maxfps, 120);
    EXPECT_EQ(Parse("maxfps abc\n").maxfps, 0);
    EXPECT_EQ(Parse("maxfps\n").maxfps, 0);
    EXPECT_EQ(Parse("maxfps -7\n").maxfps, -7);
    EXPECT_EQ(Parse("maxfps +7\n").maxfps, 7);
    EXPECT_EQ(Parse("maxfps - 7\n").maxfps, 0);
}

TEST(ConfigReading, KeyMustStartTheLineAndMatchCase)
{
    EXPECT_EQ(Parse("  maxfps 120\n").maxfps, 90);
    EXPECT_EQ(Parse("Maxfps 120\n").maxfps, 90);
    EXPECT_EQ(Parse("maxfpsx 120\n").maxfps, 90);
    EXPECT_EQ(Parse("maxfps\t120\n").maxfps, 120);
    EXPECT_EQ(Parse("\tmaxfps 120\n").maxfps, 120); // leading control bytes are skipped
}

TEST(ConfigReading, BlanksIncludeHighBytesAndSeveralSeparateKeyFromValue)
{
    EXPECT_EQ(Parse("maxfps \t \xa0 120\n").maxfps, 120);
    EXPECT_EQ(Parse("maxfps\xff" "120\n").maxfps, 120);
    // 255 is data, not the end of the file.
    EXPECT_EQ(Parse("maxfps 1\xff\ndlrate 5\n").dlrate, 5);
}

TEST(ConfigReading, ZeroByteEndsTheLine)
{
    EXPECT_EQ(Parse(std::string("maxfps \0 120\n", 13)).maxfps, 0);
    EXPECT_EQ(Parse(std::string("maxfps 12\0" "3\n", 13)).maxfps, 12);
    EXPECT_EQ(Parse(std::string("max\0fps 5\n", 10)).maxfps, 90);
}

TEST(ConfigReading, AnyLineEndWorks)
{
    const PatchSettings lf = Parse("maxfps 120\nchatlines 9\n");
    const PatchSettings cr = Parse("maxfps 120\rchatlines 9\r");
    const PatchSettings crlf = Parse("maxfps 120\r\nchatlines 9\r\n");
    const PatchSettings unterminated = Parse("maxfps 120\nchatlines 9");
    for (const PatchSettings &s : {lf, cr, crlf, unterminated}) {
        EXPECT_EQ(s.maxfps, 120);
        EXPECT_EQ(s.chatlines, 9);
    }
}

TEST(ConfigReading, LastOccurrenceWins)
{
    EXPECT_EQ(Parse("maxfps 60\nmaxfps 125\n").maxfps, 125);
    EXPECT_EQ(Parse("maxfps 125\nmaxfps junk\n").maxfps, 0);
}

TEST(ConfigReading, OnlyTheFirst99BytesOfALineCount)
{
    // A 100-byte line ending in "12": the 99th byte is the 1.
    std::string line = "maxfps" + std::string(92, ' ') + "12";
    EXPECT_EQ(Parse(line + "\n").maxfps, 1);

    // A 150-byte line: its tail (which looks like a setting) is dropped.
    std::string longLine = "dlrate 7" + std::string(92, ' ') + "chatlines 30" + std::string(38, 'x');
    const PatchSettings s = Parse(longLine + "\nmaxfps 33\n");
    EXPECT_EQ(s.dlrate, 7);
    EXPECT_EQ(s.chatlines, 8);
    EXPECT_EQ(s.maxfps, 33);
}

TEST(ConfigNumbers, SaturateBeyondThirtyTwoBits)
{
    EXPECT_EQ(ParseConfigNumber("2147483647"), INT32_MAX);
    EXPECT_EQ(ParseConfigNumber("2147483648"), INT32_MAX);
    EXPECT_EQ(ParseConfigNumber("-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseConfigNumber("-2147483649"), INT32_MIN);
    EXPECT_EQ(ParseConfigNumber("99999999999999999999999999"), INT32_MAX);
}

TEST(ConfigNumbers, WhiteSpaceSignAndTrailingText)
{
    EXPECT_EQ(ParseConfigNumber(" \t\v\f\r\n42"), 42);
    EXPECT_EQ(ParseConfigNumber("-0"), 0);
    EXPECT_EQ(ParseConfigNumber("007x"), 7);
    EXPECT_EQ(ParseConfigNumber("+-1"), 0);
    EXPECT_EQ(ParseConfigNumber(""), 0);
}

// What the writer writes, the reader gives back, for any record.
TEST(ConfigRoundTrip, WrittenTextReadsBackToTheSameRecord)
{
    std::mt19937 random(20261206);
    std::uniform_int_distribution<int32_t> any(INT32_MIN, INT32_MAX);
    for (int round = 0; round < 2000; ++round) {
        PatchSettings written;
        for (const PatchSettingKey &k : patchSettingKeys)
            written.*k.field = round % 3 == 0 ? any(random) % 1000 : any(random);
        if (round % 4 == 0)
            written.height = 0;
        PatchSettings read;
        read.width = written.width; // an unwritten resolution keeps what was there
        read.height = written.height;
        read = Parse(FormatPatchConfig(written), read);
        ASSERT_TRUE(SameSettings(read, written)) << FormatPatchConfig(written);
    }
}

// A file read in small chunks gives what the whole text gives, wherever
// the chunk boundaries fall.
TEST(ConfigReading, ChunkBoundariesDoNotMatter)
{
    const std::string text = "\r\n  x\r\nmaxfps 121\rdlrate\t-3\n\n" + std::string(120, 'k') +
                             "\nchatlines 12 13\r\nenable 0";
    const PatchSettings whole = Parse(text);
    for (size_t split = 0; split <= text.size(); ++split) {
        PatchSettings s;
        ConfigReader reader;
        StartPatchConfig(reader);
        FeedPatchConfig(reader, text.data(), split, s);
        FeedPatchConfig(reader, text.data() + split, text.size() - split, s);
        FinishPatchConfig(reader, s);
        ASSERT_TRUE(SameSettings(s, whole)) << "split at " << split;
    }
    EXPECT_EQ(whole.maxfps, 121);
    EXPECT_EQ(whole.dlrate, -3);
    EXPECT_EQ(whole.chatlines, 12);
    EXPECT_EQ(whole.enable, 0);
}

} // namespace
