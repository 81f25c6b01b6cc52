// Apply when patch.cfg cannot be saved, end to end: the built tool, run by
// an unprivileged player (tests/wine/run_as_player.sh), meets each fault as
// a player would. It must leave the game directory byte for byte and the
// registry exactly as they were, say so in the status log, and save as
// usual once the fault is cleared.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "registry_fixture.h"
#include "registry_tree.h"
#include "resources/resource.h"
#include "running_tool.h"
#include "scratch_dir.h"
#include "unix_side.h"

namespace {

using Contents = std::map<std::string, std::string>;

const char kOld[] = "maxfps 120\r\ndlrate 7\r\n";
const char kAccessDenied[] = "Access denied to PATCH.CFG, try re-running as administrator";
const char kFailed[] = "Failed to write PATCH.CFG";

// Every file and directory below the current directory, files with their bytes.
void ReadContents(const std::string &prefix, Contents *contents)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((prefix + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = prefix + found.cFileName;
        if (std::string(found.cFileName) == "." || std::string(found.cFileName) == "..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            (*contents)[name + "\\"] = "";
            ReadContents(name + "\\", contents);
        } else {
            (*contents)[name] = ReadFileBytes(name.c_str());
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

Contents GameDirectoryContents()
{
    Contents contents;
    ReadContents("", &contents);
    return contents;
}

// The three keys that Apply may write.
RegistryTree ShellKeys()
{
    RegistryTree keys;
    for (const char *key : {kDemoKey, kProgramKey, kServiceLocationKey}) {
        const RegistryTree tree = ReadRegistryTree(key);
        keys.insert(tree.begin(), tree.end());
    }
    return keys;
}

class SaveFault : public ::testing::Test {
protected:
    void SetUp() override
    {
        // With both boxes checked, a save would also write all three keys:
        // the association is not in place and the freeze fix not applied.
        SHDeleteKeyA(HKEY_CURRENT_USER, kDemoKey);
        SHDeleteKeyA(HKEY_CURRENT_USER, kProgramKey);
        StoreText(kServiceLocationKey, "games", kServiceUrl);
        WriteFileBytes("patch.cfg", kOld);
    }

    void TearDown() override
    {
        // Or the scratch directory could not be removed.
        for (const std::string &path : givenToRoot_)
            GiveToPlayer(path);
    }

    void GiveAway(const std::string &path)
    {
        ASSERT_TRUE(GiveToRoot(path));
        givenToRoot_.push_back(path);
    }

    void GiveBack(const std::string &path)
    {
        ASSERT_TRUE(GiveToPlayer(path));
        givenToRoot_.erase(std::find(givenToRoot_.begin(), givenToRoot_.end(), path));
    }

    // A new frame limit and both registry options, as a player would set them.
    void ChangeEverything()
    {
        tool.SetField(IDC_MAX_FPS, "300");
        tool.SetBox(IDC_DEMO_ASSOCIATION, true);
        tool.SetBox(IDC_FREEZE_FIX, true);
    }

    void StartAndChangeEverything()
    {
        ASSERT_TRUE(tool.Start(game.Path()));
        ChangeEverything();
    }

    void ExpectApplyChangesNothing(const char *statusLine)
    {
        const Contents files = GameDirectoryContents();
        const RegistryTree keys = ShellKeys();
        tool.Apply();
        EXPECT_EQ(tool.LastStatusLine(), statusLine);
        EXPECT_EQ(GameDirectoryContents(), files);
        EXPECT_EQ(ShellKeys(), keys);
    }

    void ExpectApplySaves()
    {
        tool.Apply();
        EXPECT_EQ(tool.LastStatusLine(), "Config written to PATCH.CFG");
        EXPECT_NE(ReadFileBytes("patch.cfg").find("maxfps 300\r\n"), std::string::npos);
        EXPECT_EQ(DirectoryNames(), std::vector<std::string>{"patch.cfg"});
        EXPECT_EQ(ReadStoredValue(kDemoKey, nullptr), Text("Gravlok"));
        EXPECT_EQ(ReadStoredValue(kServiceLocationKey, "games"), (StoredValue{true, REG_SZ, ""}));
    }

    ScratchGameDir game;
    SavedRegistryKey savedDemo{kDemoKey};
    SavedRegistryKey savedProgram{kProgramKey};
    SavedRegistryKey savedServiceLocation{kServiceLocationKey};
    RunningTool tool;

private:
    std::vector<std::string> givenToRoot_;
};

bool CanOpenForWriting(const char *name)
{
    HANDLE file = CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

// Wine's GetTempFileName names a file it could not create: only creating
// one tells.
bool CanCreateFileIn(const std::string &directory)
{
    const std::string name = directory + "\\probe.tmp";
    HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    DeleteFileA(name.c_str());
    return true;
}

// As on a full disk: the new file is about twice the limit, the old one a
// fifth of it, so the temporary copy fails part-way.
TEST_F(SaveFault, WriteFailingPartWay)
{
    StartAndChangeEverything();
    ASSERT_TRUE(LimitToolFileSize(100));
    ExpectApplyChangesNothing(kFailed);

    ASSERT_TRUE(LiftToolFileSizeLimit());
    ExpectApplySaves();
}

// The administrator installed the game and let the player write patch.cfg
// alone: no temporary file can be made beside it, so it is rewritten in
// place, and its old bytes put back when that fails part-way.
TEST_F(SaveFault, WriteFailingPartWayInPlace)
{
    GiveAway(game.Path());
    ASSERT_FALSE(CanCreateFileIn(game.Path()));
    StartAndChangeEverything();
    ASSERT_TRUE(LimitToolFileSize(100));
    ExpectApplyChangesNothing(kFailed);

    ASSERT_TRUE(LiftToolFileSizeLimit());
    ExpectApplySaves();
}

TEST_F(SaveFault, ReadOnlyPatchCfg)
{
    // Wine takes the attribute to the unix permission bits.
    ASSERT_TRUE(SetFileAttributesA("patch.cfg", FILE_ATTRIBUTE_READONLY));
    ASSERT_FALSE(CanOpenForWriting("patch.cfg"));
    StartAndChangeEverything();
    ExpectApplyChangesNothing(kAccessDenied);

    ASSERT_TRUE(SetFileAttributesA("patch.cfg", FILE_ATTRIBUTE_NORMAL));
    ExpectApplySaves();
}

// A game installed for all users: readable, but writable by the
// administrator alone, though patch.cfg is not marked read-only.
TEST_F(SaveFault, GameDirectoryOfTheAdministrator)
{
    GiveAway(game.Path() + "\\patch.cfg");
    GiveAway(game.Path());
    ASSERT_FALSE(CanOpenForWriting("patch.cfg"));
    ASSERT_FALSE(CanCreateFileIn(game.Path()));
    ASSERT_EQ(GetFileAttributesA("patch.cfg") & FILE_ATTRIBUTE_READONLY, 0u);
    StartAndChangeEverything();
    ExpectApplyChangesNothing(kAccessDenied);

    GiveBack(game.Path());
    GiveBack(game.Path() + "\\patch.cfg");
    ExpectApplySaves();
}

TEST_F(SaveFault, PatchCfgIsADirectory)
{
    DeleteFileA("patch.cfg");
    ASSERT_TRUE(CreateDirectoryA("patch.cfg", nullptr));
    WriteFileBytes("patch.cfg\\notes.txt", kOld);
    StartAndChangeEverything();
    ExpectApplyChangesNothing(kFailed);

    DeleteFileA("patch.cfg\\notes.txt");
    ASSERT_TRUE(RemoveDirectoryA("patch.cfg"));
    ExpectApplySaves();
}

// Another program, this test, holds patch.cfg open and shares it with nobody.
TEST_F(SaveFault, PatchCfgHeldOpenByAnotherProgram)
{
    StartAndChangeEverything();
    HANDLE held = CreateFileA("patch.cfg", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ExpectApplyChangesNothing(kFailed);

    CloseHandle(held);
    ExpectApplySaves();
}

// Too long for the platform to start a program in: Wine starts the tool in
// the Windows directory instead, where it must neither save nor touch the
// registry. Once the player moves the game higher up, the tool works there.
TEST_F(SaveFault, GameDirectoryOf300Characters)
{
    std::string deep = game.Path();
    while (deep.size() < 300) {
        const std::string part(std::min<size_t>(80, 300 - deep.size() - 1), 'd');
        ASSERT_TRUE(CreateDirectoryA(part.c_str(), nullptr)) << GetLastError();
        ASSERT_TRUE(SetCurrentDirectoryA(part.c_str())) << GetLastError();
        deep += "\\" + part;
    }
    ASSERT_EQ(deep.size(), 300u);
    WriteFileBytes("patch.cfg", kOld);
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string strayConfig = std::string(windows) + "\\patch.cfg";

    ASSERT_TRUE(StartToolFromShellIn(deep));
    ASSERT_TRUE(tool.Attach());
    ChangeEverything();
    ExpectApplyChangesNothing(kFailed);
    EXPECT_EQ(GetFileAttributesA(strayConfig.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(tool.Close());

    const std::string moved = game.Path() + "\\gravlok";
    ASSERT_TRUE(SetCurrentDirectoryA(game.Path().c_str()));
    ASSERT_TRUE(MoveFileW(std::wstring(L"\\\\?\\" + std::wstring(deep.begin(), deep.end())).c_str(),
                          std::wstring(moved.begin(), moved.end()).c_str()))
        << GetLastError();
    ASSERT_TRUE(SetCurrentDirectoryA(moved.c_str()));
    ASSERT_TRUE(tool.Start(moved));
    ChangeEverything();
    ExpectApplySaves();
}

} // namespace
