// A tool the platform could not start in its game directory runs in the
// Windows or the system directory instead (Wine does so for a directory
// longer than MAX_PATH). A patch.cfg there is never the game's: it is not
// loaded, and Apply neither writes it nor claims to have saved.
#include "dialog_fixture.h"

#include "resources/resource.h"
#include "settings/config_file.h"

namespace {

class SystemDirectory : public DialogTest {
protected:
    void TearDown() override
    {
        DialogTest::TearDown();
        if (!planted_.empty())
            DeleteFileA(planted_.c_str());
    }

    // A patch.cfg that a tool run there earlier could have left.
    void PlantConfigIn(const std::string &directory)
    {
        planted_ = directory + "\\patch.cfg";
        ASSERT_EQ(GetFileAttributesA(planted_.c_str()), INVALID_FILE_ATTRIBUTES) << planted_ << " is there already";
        WriteFileBytes(planted_.c_str(), kPlanted);
    }

    void Check(const std::string &directory)
    {
        PlantConfigIn(directory);
        ASSERT_TRUE(SetCurrentDirectoryA(directory.c_str()));
        OpenWindow();
        EXPECT_EQ(FieldText(IDC_MAX_FPS), "90");
        SetFieldText(IDC_MAX_FPS, "300");
        PressApply();
        EXPECT_EQ(StatusLines().back(), "Failed to write PATCH.CFG");
        EXPECT_EQ(ReadFileBytes(planted_.c_str()), kPlanted);
    }

    const char *const kPlanted = "maxfps 120\r\n";
    std::string planted_;
};

TEST_F(SystemDirectory, WindowsDirectory)
{
    char windows[MAX_PATH];
    ASSERT_NE(GetWindowsDirectoryA(windows, MAX_PATH), 0u);
    Check(windows);
}

TEST_F(SystemDirectory, SystemDirectoryNamedInAnotherCase)
{
    char system[MAX_PATH];
    ASSERT_NE(GetSystemDirectoryA(system, MAX_PATH), 0u);
    CharUpperA(system);
    Check(system);
}

} // namespace
