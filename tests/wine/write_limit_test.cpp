// Run only under a 100-byte file size limit (see tests/CMakeLists.txt): a
// save that fails part-way, as on a full disk, must leave patch.cfg as it
// was and say so.
#include "dialog_fixture.h"

#include "settings/config_file.h"
#include "settings/patch_settings.h"

namespace {

using WriteLimit = DialogTest;

TEST_F(WriteLimit, FailedSaveLeavesTheOldFile)
{
    const std::string old = "maxfps 120\r\ndlrate 7\r\n";
    WriteFileBytes("patch.cfg", old);
    OpenWindow();
    patchSettings.width = 1920;
    patchSettings.height = 1080;
    EXPECT_FALSE(WritePatchConfig());
    EXPECT_EQ(StatusLines().back(), "Failed to write PATCH.CFG");
    EXPECT_EQ(ReadFileBytes("patch.cfg"), old);
    EXPECT_EQ(DirectoryNames(), std::vector<std::string>{"patch.cfg"});
}

} // namespace
