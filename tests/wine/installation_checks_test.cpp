// What the status log tells a player about the game directory when the
// window opens: the release, the hook module, an old hook module removed.
// The hook modules are real DLLs built beside this test.
#include "dialog_fixture.h"

#include <algorithm>

#include "checks/installation_checks.h"
#include "hook_modules.h"
#include "resources/resource.h"
#include "wine_overrides.h"

namespace {

using Lines = std::vector<std::string>;

const char kSupported[] = "Supported GRAVLOK.EXE found";
const char kUnrecognisedExe[] = "Unrecognised GRAVLOK.EXE found (v1.21 is needed)";
const char kUnrecognisedRenderer[] = "Unrecognised REF_GL.DLL found (v1.21 is needed)";

const std::string kExeWord("\xF5\x3D\xD3\x37", 4);
const std::string kImport("WSOCK32.dll\0", 12);
const std::string kRendererWord("\x7A\xB5\x02\x00", 4);

// A file of the given size, zero-filled but for the bytes placed at offsets.
std::string FileWith(size_t size, std::initializer_list<std::pair<size_t, std::string>> placed)
{
    std::string bytes(size, '\0');
    for (const auto &p : placed)
        bytes.replace(p.first, p.second.size(), p.second);
    return bytes.substr(0, size);
}

std::string Executable(const std::string &word, const std::string &import)
{
    return FileWith(315030 + import.size() + 100, {{224, word}, {315030, import}});
}

std::string Renderer(const std::string &word)
{
    return FileWith(4096, {{480, word}});
}

bool Exists(const char *name)
{
    return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES;
}

class InstallationChecks : public DialogTest {
protected:
    // Under Wine, as after the first Apply there: Wine loads the patch into
    // the game, so these checks say nothing about it (wine_load_order_test).
    void SetUp() override { overrides.SetForGame("native,builtin"); }

    void InstallSupportedRelease()
    {
        WriteFileBytes("gravlok.exe", Executable(kExeWord, kImport));
        WriteFileBytes("ref_gl.dll", Renderer(kRendererWord));
        InstallModule("marked", "wsock32");
    }

    // The checks again on the open window, reported in an emptied log.
    Lines RunChecksAgain()
    {
        SendDlgItemMessageA(dialog, IDC_STATUS_LOG, LB_RESETCONTENT, 0, 0);
        RunInstallationChecks();
        return StatusLines();
    }

    // Probing maps modules without running any of their code.
    void TearDown() override
    {
        EXPECT_FALSE(Exists("module_code_ran"));
        DialogTest::TearDown();
    }

    WineOverrides overrides;
};

TEST_F(InstallationChecks, EmptyDirectoryReportsThreeMissingFilesBeforeTheConfig)
{
    WriteFileBytes("patch.cfg", "maxfps 120\r\n");
    OpenWindow();
    EXPECT_EQ(StatusLines(), (Lines{"Failed to open GRAVLOK.EXE", "Failed to open REF_GL.DLL",
                                    "Patched WSOCK32.DLL is missing", "Config read from PATCH.CFG"}));
    // The window works whatever the checks found.
    EXPECT_EQ(FieldText(IDC_MAX_FPS), "120");
    PressApply();
    EXPECT_EQ(StatusLines().back(), "Config written to PATCH.CFG");
}

TEST_F(InstallationChecks, SupportedReleaseWithThePatchIsOneLine)
{
    InstallSupportedRelease();
    OpenWindow();
    EXPECT_EQ(StatusLines(), Lines{kSupported});
    EXPECT_TRUE(Exists("wsock32.dll"));
    // Released again: nothing of the game directory stays mapped.
    EXPECT_EQ(GetModuleHandleA((game.Path() + "\\wsock32.dll").c_str()), nullptr);
}

TEST_F(InstallationChecks, ExecutableOfAnotherReleaseIsUnrecognised)
{
    InstallSupportedRelease();
    OpenWindow();
    const struct {
        const char *what;
        std::string bytes;
    } executables[] = {
        {"word differs", Executable("\xF5\x3D\xD3\x38", kImport)},
        {"import name in capitals", Executable(kExeWord, std::string("WSOCK32.DLL\0", 12))},
        {"ends inside the import name", Executable(kExeWord, kImport).substr(0, 315030 + 11)},
        {"ends before the import name", FileWith(1000, {{224, kExeWord}})},
        {"empty", ""},
    };
    for (const auto &exe : executables) {
        WriteFileBytes("gravlok.exe", exe.bytes);
        EXPECT_EQ(RunChecksAgain(), Lines{kUnrecognisedExe}) << exe.what;
    }
    WriteFileBytes("gravlok.exe", Executable(kExeWord, kImport));
    EXPECT_EQ(RunChecksAgain(), Lines{kSupported});
}

TEST_F(InstallationChecks, RendererOfAnotherReleaseIsUnrecognised)
{
    InstallSupportedRelease();
    OpenWindow();
    WriteFileBytes("ref_gl.dll", Renderer(std::string("\x7B\xB5\x02\x00", 4)));
    EXPECT_EQ(RunChecksAgain(), (Lines{kSupported, kUnrecognisedRenderer}));
    WriteFileBytes("ref_gl.dll", Renderer(kRendererWord).substr(0, 483));
    EXPECT_EQ(RunChecksAgain(), (Lines{kSupported, kUnrecognisedRenderer})) << "too short";
    DeleteFileA("ref_gl.dll");
    EXPECT_EQ(RunChecksAgain(), (Lines{kSupported, "Failed to open REF_GL.DLL"}));
}

TEST_F(InstallationChecks, HookModuleWithoutTheMarkerOrNotAModule)
{
    InstallSupportedRelease();
    InstallModule("unmarked", "wsock32");
    OpenWindow();
    EXPECT_EQ(StatusLines(), (Lines{kSupported, "Unknown WSOCK32.DLL found"}));
    // A damaged download cannot be loaded: to the game it is not there.
    WriteFileBytes("wsock32.dll", "MZ not really a module");
    EXPECT_EQ(RunChecksAgain(), (Lines{kSupported, "Patched WSOCK32.DLL is missing"}));
}

TEST_F(InstallationChecks, OldHookModuleIsDeleted)
{
    InstallSupportedRelease();
    InstallModule("marked", "winmm");
    OpenWindow();
    EXPECT_EQ(StatusLines(), (Lines{kSupported, "Old WINMM.DLL found and deleted"}));
    EXPECT_FALSE(Exists("winmm.dll"));
    EXPECT_TRUE(Exists("wsock32.dll"));
}

TEST_F(InstallationChecks, WinmmWithoutTheMarkerIsLeftAloneAndNotMentioned)
{
    InstallSupportedRelease();
    InstallModule("unmarked", "winmm");
    const std::string before = ReadFileBytes("winmm.dll");
    OpenWindow();
    EXPECT_EQ(StatusLines(), Lines{kSupported});
    EXPECT_EQ(ReadFileBytes("winmm.dll"), before);
}

TEST_F(InstallationChecks, ReadOnlyOldHookModuleStaysUntilThePlayerClearsTheFlag)
{
    InstallSupportedRelease();
    InstallModule("marked", "winmm");
    const std::string before = ReadFileBytes("winmm.dll");
    SetFileAttributesA("winmm.dll", FILE_ATTRIBUTE_READONLY);
    OpenWindow();
    EXPECT_EQ(StatusLines(), (Lines{kSupported, "Failed to delete old WINMM.DLL"}));
    EXPECT_EQ(ReadFileBytes("winmm.dll"), before);

    SetFileAttributesA("winmm.dll", FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(RunChecksAgain(), (Lines{kSupported, "Old WINMM.DLL found and deleted"}));
    EXPECT_FALSE(Exists("winmm.dll"));
}

// A game directory nested below the scratch directory to an exact length,
// made current. Wide \\?\ paths, since 8-bit calls stop at MAX_PATH.
class NestedGameDir {
public:
    NestedGameDir(const std::string &base, size_t length) : base_(base)
    {
        std::wstring path(base.begin(), base.end());
        while (path.size() < length) {
            const size_t room = length - path.size() - 1;
            size_t part = std::min<size_t>(room, 200);
            if (room - part == 1)
                --part; // a last part of one character would not fit a backslash
            path += L"\\" + std::wstring(part, L'd');
            CreateDirectoryW((L"\\\\?\\" + path).c_str(), nullptr);
            levels_.push_back(L"\\\\?\\" + path);
        }
        ok_ = path.size() == length && SetCurrentDirectoryW(path.c_str());
    }

    ~NestedGameDir()
    {
        SetCurrentDirectoryA(base_.c_str());
        for (auto level = levels_.rbegin(); level != levels_.rend(); ++level) {
            WIN32_FIND_DATAW found;
            HANDLE search = FindFirstFileW((*level + L"\\*").c_str(), &found);
            if (search != INVALID_HANDLE_VALUE) {
                do {
                    const std::wstring file = *level + L"\\" + found.cFileName;
                    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
                    DeleteFileW(file.c_str());
                } while (FindNextFileW(search, &found));
                FindClose(search);
            }
            RemoveDirectoryW(level->c_str());
        }
    }

    bool Entered() const { return ok_; }

private:
    std::string base_;
    std::vector<std::wstring> levels_;
    bool ok_ = false;
};

TEST_F(InstallationChecks, LongestGameDirectoryProvidedForWorks)
{
    NestedGameDir nested(game.Path(), 248);
    ASSERT_TRUE(nested.Entered());
    InstallSupportedRelease();
    InstallModule("marked", "winmm");
    OpenWindow();
    EXPECT_EQ(StatusLines(), (Lines{kSupported, "Old WINMM.DLL found and deleted"}));
    EXPECT_FALSE(Exists("winmm.dll"));
}

// Past 248 characters the modules cannot be named in full: they count as
// absent, nothing is deleted, and the rest of the window works as usual.
TEST_F(InstallationChecks, LongerGameDirectoryCountsAsNoModules)
{
    for (size_t length : {249, 300}) {
        SCOPED_TRACE(length);
        NestedGameDir nested(game.Path(), length);
        ASSERT_TRUE(nested.Entered());
        InstallSupportedRelease();
        InstallModule("marked", "winmm");
        WriteFileBytes("patch.cfg", "maxfps 120\r\n");
        OpenWindow();
        EXPECT_EQ(StatusLines(), (Lines{kSupported, "Patched WSOCK32.DLL is missing", "Config read from PATCH.CFG"}));
        EXPECT_TRUE(Exists("winmm.dll"));
        PressApply();
        EXPECT_EQ(StatusLines().back(), "Config written to PATCH.CFG");
        DestroyWindow(dialog);
        dialog = nullptr;
    }
}

} // namespace
