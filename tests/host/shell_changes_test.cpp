// The command a double-clicked demo runs: the game in its directory, or
// nothing at all for a directory too long to name whole.
#include <gtest/gtest.h>

#include <string>

#include "shell/shell_changes.h"

TEST(OpenCommand, StartsTheGameInItsDirectoryOrIsNotBuilt)
{
    const std::wstring longest = L"C:\\" + std::wstring(257, L'g');
    wchar_t command[kOpenCommandRoom];
    ASSERT_TRUE(BuildOpenCommand(longest.c_str(), command));
    EXPECT_EQ(std::wstring(command), L"\"" + longest + L"\\gravlok.exe\" +map \"%1\"");
    EXPECT_FALSE(BuildOpenCommand((longest + L"g").c_str(), command));
}
