// patch.cfg on disk: text mode both ways, and a save that fails never
// touches the old file.
#include "dialog_fixture.h"

#include "settings/config_file.h"
#include "settings/patch_settings.h"

namespace {

using ConfigFile = DialogTest;
using Lines = std::vector<std::string>;

const char kOld[] = "maxfps 120\r\ndlrate 7\r\n";

TEST_F(ConfigFile, NoFileKeepsDefaultsAndSaysNothing)
{
    OpenWindow();
    EXPECT_EQ(StatusLines(), LogWithoutGameFiles());
    EXPECT_EQ(patchSettings.maxfps, 90);
}

TEST_F(ConfigFile, EmptyFileIsReportedAndKeepsDefaults)
{
    WriteFileBytes("patch.cfg", "");
    OpenWindow();
    EXPECT_EQ(StatusLines(), LogWithoutGameFiles({"Config read from PATCH.CFG"}));
    EXPECT_EQ(patchSettings.consolewidth, 126);
}

TEST_F(ConfigFile, CtrlZEndsTheFile)
{
    WriteFileBytes("patch.cfg", "maxfps 120\r\n\x1a" "dlrate 5\r\n");
    OpenWindow();
    EXPECT_EQ(patchSettings.maxfps, 120);
    EXPECT_EQ(patchSettings.dlrate, 0);
}

TEST_F(ConfigFile, LinesEndingInCrLfCrOrLfAllLoad)
{
    WriteFileBytes("patch.cfg", "maxfps 120\r\nchatlines 9\rdlrate 3\nshowgun 1");
    OpenWindow();
    EXPECT_EQ(patchSettings.maxfps, 120);
    EXPECT_EQ(patchSettings.chatlines, 9);
    EXPECT_EQ(patchSettings.dlrate, 3);
    EXPECT_EQ(patchSettings.showgun, 1);
}

TEST_F(ConfigFile, SavedFileHasCrLfLineEndsAndNoLeftovers)
{
    OpenWindow();
    patchSettings.width = 1280;
    patchSettings.height = 800;
    ASSERT_TRUE(WritePatchConfig());
    EXPECT_EQ(ReadFileBytes("patch.cfg"),
              CrLf("enable 1\nwidth 1280\nheight 800\nnativefs 1\nconsolenoback 0\nconsoleoverlay 4\n"
                   "consolewidth 126\nchatlines 8\nmenudarken 1\nshowgun 0\nmaxfps 90\nautofov 1\n"
                   "dlmain 1\ndlrate 0\n"));
    EXPECT_EQ(StatusLines(), LogWithoutGameFiles({"Config written to PATCH.CFG"}));
    EXPECT_EQ(DirectoryNames(), Lines{"patch.cfg"});
}

TEST_F(ConfigFile, ReplacingKeepsTheFileAttributes)
{
    WriteFileBytes("patch.cfg", kOld);
    SetFileAttributesA("patch.cfg", FILE_ATTRIBUTE_HIDDEN);
    OpenWindow();
    ASSERT_TRUE(WritePatchConfig());
    EXPECT_NE(GetFileAttributesA("patch.cfg") & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_NE(ReadFileBytes("patch.cfg").find("maxfps 120\r\n"), std::string::npos);
}

TEST_F(ConfigFile, ReadOnlyFileIsAccessDeniedAndUntouched)
{
    WriteFileBytes("patch.cfg", kOld);
    SetFileAttributesA("patch.cfg", FILE_ATTRIBUTE_READONLY);
    OpenWindow();
    patchSettings.maxfps = 300;
    EXPECT_FALSE(WritePatchConfig());
    EXPECT_EQ(StatusLines().back(), "Access denied to PATCH.CFG, try re-running as administrator");
    EXPECT_EQ(ReadFileBytes("patch.cfg"), kOld);
    EXPECT_EQ(DirectoryNames(), Lines{"patch.cfg"});

    // Once the player clears the flag, the same save goes through.
    SetFileAttributesA("patch.cfg", FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(WritePatchConfig());
    EXPECT_NE(ReadFileBytes("patch.cfg").find("maxfps 300\r\n"), std::string::npos);
}

TEST_F(ConfigFile, DirectoryInTheWayFailsCleanly)
{
    CreateDirectoryA("patch.cfg", nullptr);
    OpenWindow();
    EXPECT_FALSE(WritePatchConfig());
    EXPECT_EQ(StatusLines().back(), "Failed to write PATCH.CFG");
    EXPECT_NE(GetFileAttributesA("patch.cfg") & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(DirectoryNames(), Lines{"patch.cfg"});
}

TEST_F(ConfigFile, FileHeldOpenByAnotherProgramIsLeftAsItWas)
{
    WriteFileBytes("patch.cfg", kOld);
    OpenWindow();
    HANDLE held = CreateFileA("patch.cfg", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    patchSettings.maxfps = 300;
    EXPECT_FALSE(WritePatchConfig());
    CloseHandle(held);
    EXPECT_EQ(StatusLines().back(), "Failed to write PATCH.CFG");
    EXPECT_EQ(ReadFileBytes("patch.cfg"), kOld);
    EXPECT_EQ(DirectoryNames(), Lines{"patch.cfg"});
}

TEST_F(ConfigFile, DuplicatesAndUnknownKeysInARealFile)
{
    WriteFileBytes("patch.cfg", "maxfps 60\r\nfov 110\r\n\r\n\t\r\nmaxfps 144\r\nMaxfps 1\r\n");
    OpenWindow();
    EXPECT_EQ(patchSettings.maxfps, 144);
    ASSERT_TRUE(WritePatchConfig());
    const std::string saved = ReadFileBytes("patch.cfg");
    EXPECT_NE(saved.find("maxfps 144\r\n"), std::string::npos);
    EXPECT_EQ(saved.find("fov 110"), std::string::npos);
}

} // namespace
