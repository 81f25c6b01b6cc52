// Players on Linux: the patch in the game directory works only if Wine loads
// it into the game instead of its own wsock32.dll. The window says when Wine
// would not, and Apply sets Wine's override for the game. What Wine really
// does is asked of a stand-in game, started as gravlok.exe from the game
// directory, so the messages are checked against Wine itself.
#include "dialog_fixture.h"

#include <algorithm>

#include "checks/installation_checks.h"
#include "hook_modules.h"
#include "resources/resource.h"
#include "wine_overrides.h"

namespace {

using Lines = std::vector<std::string>;

const char kWillNotLoad[] = "Wine will not load the patched WSOCK32.DLL";
const char kSetToLoad[] = "Wine set to load the patched WSOCK32.DLL";
const char kWritten[] = "Config written to PATCH.CFG";
const char kStandInExe[] = "Unrecognised GRAVLOK.EXE found (v1.21 is needed)";
const char kNoRenderer[] = "Failed to open REF_GL.DLL";

// The stand-in's exit codes (game_stand_in.c).
enum GameGot { kThePatch = 0, kAnotherModule = 1, kNoModule = 2, kDidNotRun = -1 };

bool Contains(const Lines &lines, const char *line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class WineLoadOrder : public DialogTest {
protected:
    void InstallGame()
    {
        InstallModule("marked", "wsock32");
        const std::string standIn = BuildDirectory() + "\\game_stand_in.exe";
        ASSERT_TRUE(CopyFileA(standIn.c_str(), "gravlok.exe", FALSE)) << "error " << GetLastError();
    }

    // Which wsock32.dll Wine gives the game as things are now.
    int StartGame()
    {
        const std::string exe = game.Path() + "\\gravlok.exe";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (!CreateProcessA(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, game.Path().c_str(), &startup,
                            &process))
            return kDidNotRun;
        DWORD code = static_cast<DWORD>(kDidNotRun);
        if (WaitForSingleObject(process.hProcess, 20000) == WAIT_OBJECT_0)
            GetExitCodeProcess(process.hProcess, &code);
        else
            TerminateProcess(process.hProcess, code);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        return static_cast<int>(code);
    }

    Lines RunChecksAgain()
    {
        SendDlgItemMessageA(dialog, IDC_STATUS_LOG, LB_RESETCONTENT, 0, 0);
        RunInstallationChecks();
        return StatusLines();
    }

    // Starts with neither override, as in a new Wine prefix.
    WineOverrides overrides;
};

TEST_F(WineLoadOrder, MessageSaysWhetherWineLoadsThePatchIntoTheGame)
{
    InstallGame();
    OpenWindow();
    const struct {
        const char *forGame; // nullptr: no value
        const char *global;
        bool gameGetsThePatch;
    } settings[] = {
        {nullptr, nullptr, false},
        {"native,builtin", nullptr, true},
        {"n", nullptr, true},
        {nullptr, "native", true},
        {nullptr, "n,b", true},
        {nullptr, "builtin", false},
        {"b,n", nullptr, false},
        {"", nullptr, false}, // disabled: the game gets no wsock32 at all
        // The game's own override decides whichever way the global one goes.
        {"builtin", "native", false},
        {"native", "builtin", true},
    };
    for (const auto &s : settings) {
        SCOPED_TRACE(std::string("game: ") + (s.forGame ? s.forGame : "none") + ", global: " +
                     (s.global ? s.global : "none"));
        WineOverrides setting; // each row from none, and none again after it
        if (s.forGame)
            setting.SetForGame(s.forGame);
        if (s.global)
            setting.SetGlobal(s.global);
        const int got = StartGame();
        EXPECT_EQ(got == kThePatch, s.gameGetsThePatch) << "the stand-in got " << got;
        const Lines lines = RunChecksAgain();
        EXPECT_EQ(Contains(lines, kWillNotLoad), !s.gameGetsThePatch);
    }
}

TEST_F(WineLoadOrder, ApplySetsTheGameOverrideOnceAndTheGameGetsThePatch)
{
    InstallGame();
    EXPECT_EQ(StartGame(), kAnotherModule);
    OpenWindow();
    // Said right after the hook module's own check.
    EXPECT_EQ(StatusLines(), (Lines{kStandInExe, kNoRenderer, kWillNotLoad}));
    PressApply();
    EXPECT_EQ(StatusLines(), (Lines{kStandInExe, kNoRenderer, kWillNotLoad, kWritten, kSetToLoad}));
    EXPECT_EQ(overrides.ForGame(), "native,builtin");
    EXPECT_EQ(overrides.Global(), kNoOverride) << "other programs keep Wine's own wsock32";
    EXPECT_EQ(StartGame(), kThePatch);

    // Set already: nothing more to write or say.
    PressApply();
    EXPECT_EQ(StatusLines().back(), kWritten);
    EXPECT_EQ(StatusLines().size(), 6u);
    EXPECT_EQ(RunChecksAgain(), (Lines{kStandInExe, kNoRenderer}));
}

TEST_F(WineLoadOrder, ApplyLeavesAWorkingOverrideAsThePlayerSetIt)
{
    InstallGame();
    overrides.SetForGame("n");
    OpenWindow();
    PressApply();
    EXPECT_EQ(StatusLines(), (Lines{kStandInExe, kNoRenderer, kWritten}));
    EXPECT_EQ(overrides.ForGame(), "n");

    overrides.RemoveForGame();
    overrides.SetGlobal("native,builtin");
    PressApply();
    EXPECT_EQ(StatusLines().back(), kWritten);
    EXPECT_EQ(overrides.ForGame(), kNoOverride);
    EXPECT_EQ(StartGame(), kThePatch);
}

TEST_F(WineLoadOrder, NothingIsSetWhenTheConfigCannotBeSaved)
{
    InstallGame();
    WriteFileBytes("patch.cfg", "maxfps 120\r\n");
    SetFileAttributesA("patch.cfg", FILE_ATTRIBUTE_READONLY);
    OpenWindow();
    PressApply();
    EXPECT_EQ(StatusLines().back(), "Access denied to PATCH.CFG, try re-running as administrator");
    EXPECT_EQ(overrides.ForGame(), kNoOverride);

    SetFileAttributesA("patch.cfg", FILE_ATTRIBUTE_NORMAL);
    PressApply();
    EXPECT_EQ(StatusLines().back(), kSetToLoad);
}

// An override would make Wine load whatever wsock32.dll lies there: only the
// patch earns one.
TEST_F(WineLoadOrder, NoOverrideForAModuleThatIsNotThePatch)
{
    InstallModule("unmarked", "wsock32");
    OpenWindow();
    EXPECT_EQ(StatusLines(), (Lines{"Failed to open GRAVLOK.EXE", kNoRenderer, "Unknown WSOCK32.DLL found"}));
    PressApply();
    EXPECT_EQ(StatusLines().back(), kWritten);
    EXPECT_EQ(overrides.ForGame(), kNoOverride);

    DeleteFileA("wsock32.dll");
    PressApply();
    EXPECT_EQ(StatusLines().back(), kWritten);
    EXPECT_EQ(overrides.ForGame(), kNoOverride);
}

} // namespace
