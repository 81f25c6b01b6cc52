// The game's release told from its files: the patch fits v1.21 alone, and a
// near miss (another build, the hook module's name spelt otherwise, a file
// cut short) is another release.
#include <gtest/gtest.h>

#include <string>

#include "checks/release_fingerprint.h"

TEST(Fingerprint, OnlyTheSupportedReleaseIsRecognised)
{
    const std::string word("\xF5\x3D\xD3\x37", 4), dll("WSOCK32.dll", 12), renderer("\x7A\xB5\x02\0", 4);
    const struct { std::string word, import; bool supported; } executables[] = {
        {word, dll, true}, {"\x37\xD3\x3D\xF5", dll, false}, {word, std::string("WSOCK32.DLL", 12), false},
        {word, "WSOCK32.dll!", false}, {word, dll.substr(0, 11), false}};
    for (const auto &e : executables)
        EXPECT_EQ(IsSupportedExecutable(e.word.data(), e.word.size(), e.import.data(), e.import.size()), e.supported)
            << e.import;
    EXPECT_TRUE(IsSupportedRenderer(renderer.data(), 4));
    EXPECT_FALSE(IsSupportedRenderer("\0\x02\xB5\x7A", 4));
    EXPECT_FALSE(IsSupportedRenderer(renderer.data(), 3)) << "a file cut short";
}
