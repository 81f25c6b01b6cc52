// Recognising the supported release from the bytes read at its offsets.
#include <gtest/gtest.h>

#include <string>

#include "checks/release_fingerprint.h"

namespace {

const std::string kExeWord("\xF5\x3D\xD3\x37", 4); // 0x37D33DF5, little-endian
const std::string kImport("WSOCK32.dll\0", 12);
const std::string kRendererWord("\x7A\xB5\x02\x00", 4); // 177530

bool IsSupportedExecutable(const std::string &word, const std::string &import)
{
    return ::IsSupportedExecutable(word.data(), word.size(), import.data(), import.size());
}

bool IsSupportedRenderer(const std::string &word)
{
    return ::IsSupportedRenderer(word.data(), word.size());
}

TEST(ReleaseFingerprint, SupportedExecutableNeedsTheWordAndTheExactImportName)
{
    EXPECT_TRUE(IsSupportedExecutable(kExeWord, kImport));
    EXPECT_FALSE(IsSupportedExecutable(std::string("\x37\xD3\x3D\xF5", 4), kImport)) << "big-endian word";
    EXPECT_FALSE(IsSupportedExecutable(std::string("\xF5\x3D\xD3\x38", 4), kImport));
    EXPECT_FALSE(IsSupportedExecutable(kExeWord, std::string("WSOCK32.DLL\0", 12))) << "letter case differs";
    EXPECT_FALSE(IsSupportedExecutable(kExeWord, std::string("wsock32.dll\0", 12))) << "letter case differs";
    EXPECT_FALSE(IsSupportedExecutable(kExeWord, std::string("WSOCK32.dllx", 12))) << "no terminator";
}

TEST(ReleaseFingerprint, BytesCutShortByTheFileEndNeverMatch)
{
    EXPECT_FALSE(IsSupportedExecutable(kExeWord, kImport.substr(0, 11)));
    EXPECT_FALSE(IsSupportedExecutable(kExeWord, ""));
    EXPECT_FALSE(IsSupportedExecutable(kExeWord.substr(0, 3), kImport));
    EXPECT_FALSE(IsSupportedRenderer(kRendererWord.substr(0, 3)));
    EXPECT_FALSE(IsSupportedRenderer(""));
}

TEST(ReleaseFingerprint, SupportedRendererWord)
{
    EXPECT_TRUE(IsSupportedRenderer(kRendererWord));
    EXPECT_FALSE(IsSupportedRenderer(std::string("\x7B\xB5\x02\x00", 4)));
    EXPECT_FALSE(IsSupportedRenderer(std::string("\x00\x02\xB5\x7A", 4))) << "big-endian word";
    EXPECT_FALSE(IsSupportedRenderer(kExeWord)) << "the executable's word";
}

} // namespace
