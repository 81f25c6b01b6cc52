// patch.cfg as the game and players leave it: a hand-edited file reads as
// the game itself reads it, and what the tool saves reads back the same.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "settings/config_text.h"

static PatchSettings Read(const std::string &bytes)
{
    PatchSettings settings;
    ParsePatchConfig(bytes.data(), bytes.size(), settings);
    return settings;
}

TEST(ReadingPatchCfg, LinesReadAsTheGameReadsThem)
{
    // "maxfps" and 88 blanks: a value after them ends at the line's 99th byte.
    const std::string longLine = "maxfps" + std::string(88, ' ');
    const struct { std::string bytes; int32_t maxfps; } cases[] = { // 90: the line is not taken
        {"maxfps 120\n", 120}, {"maxfps 120", 120}, {"maxfps 120\r\ndlrate 5", 120}, {"dlrate 5\rmaxfps 121\r", 121},
        {"\n\n\t\x01\x1f  \nmaxfps 122\n\n", 122}, {"maxfps\t123", 123}, {"maxfps\xff" "124", 124},
        {"maxfps \xff\x80 125", 125}, {"maxfps 120fps", 120}, {"maxfps abc", 0}, {"maxfps", 0}, {"maxfps ", 0},
        {"maxfps -5", -5}, {"maxfps +7", 7}, {"maxfps 99999999999", INT32_MAX}, {"maxfps -99999999999", INT32_MIN},
        {"maxfps 1\nmaxfps 2\nmaxfps 3", 3}, {"  maxfps 120", 90}, {" maxfps 120", 90}, {"Maxfps 120", 90},
        {"maxfps2 120", 90}, {"x\xff" "maxfps 5\n", 90}, {std::string("maxfps \0 7", 10), 0},
        {std::string("maxfps\0 7", 9), 0}, {longLine + "12345", 12345},
        // Only 99 bytes of a line count; the rest is dropped, not read as a line.
        {longLine + "12345maxfps 9", 12345}, {"maxfps 8\n" + std::string(99, 'x') + "maxfps 7", 8},
        // Ctrl-Z ends the text, even within a line: what a save rewrote in place ends there.
        {"maxfps 121\r\n\x1a" "maxfps 5\r\n", 121}, {"maxfps 12\x1a" "3\n", 12}};
    for (const auto &c : cases)
        EXPECT_EQ(Read(c.bytes).maxfps, c.maxfps) << c.bytes;
    const PatchSettings s = Read("width 800\ndlrate -1\nconsolenoback 1\nenable 2\nunknown 5\n");
    EXPECT_EQ((std::vector<int32_t>{s.width, s.height, s.dlrate, s.consolenoback, s.enable, s.maxfps}),
              (std::vector<int32_t>{800, 0, -1, 1, 2, 90}));
}

// The window's saves are checked byte for byte under Wine; here, the edges:
// half a resolution is none, and the lowest value reads back.
TEST(SavingPatchCfg, HalfAResolutionIsNoneAndTheLowestValueReadsBack)
{
    PatchSettings s;
    s.width = 800;
    s.dlrate = INT32_MIN;
    char saved[kPatchConfigTextSize];
    const std::string text(saved, FormatPatchConfig(s, saved));
    EXPECT_EQ(text.find("\nwidth"), std::string::npos) << text;
    EXPECT_EQ(Read(text).dlrate, INT32_MIN) << text;
}
