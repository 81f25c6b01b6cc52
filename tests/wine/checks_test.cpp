// What the status log tells a player about the game directory when the
// window opens, with real hook modules (built beside this test) and the
// game's files as the supported release has them.
#include <gtest/gtest.h>

#include "driver.h"

namespace {

using Lines = std::vector<std::string>;

std::string Executable(const char *word, const std::string &import)
{
    std::string bytes(315030 + 12 + 64, '\0');
    bytes.replace(224, 4, word, 4);
    bytes.replace(315030, import.size(), import);
    return bytes;
}

void InstallModule(const char *kind, const char *name)
{
    const std::string from = BuildDirectory() + "\\modules\\" + kind + "\\" + name + ".dll";
    ASSERT_TRUE(CopyFileA(from.c_str(), (std::string(name) + ".dll").c_str(), FALSE)) << from;
}

struct Row {
    const char *name;
    void (*install)();
    Lines expected;
    bool winmmStays;
};

const std::string kImport("WSOCK32.dll\0", 12);

void SupportedRelease()
{
    WriteBytes("gravlok.exe", Executable("\xF5\x3D\xD3\x37", kImport));
    std::string renderer(512, '\0');
    WriteBytes("ref_gl.dll", renderer.replace(480, 4, "\x7A\xB5\x02\x00", 4));
    InstallModule("marked", "wsock32");
}

const Row kRows[] = {
    {"empty directory", [] {}, {"Failed to open GRAVLOK.EXE", "Failed to open REF_GL.DLL",
                                "Patched WSOCK32.DLL is missing"}, false},
    {"supported release", SupportedRelease, {"Supported GRAVLOK.EXE found"}, false},
    {"import in other letter case", [] { SupportedRelease();
         WriteBytes("gravlok.exe", Executable("\xF5\x3D\xD3\x37", std::string("WSOCK32.DLL\0", 12))); },
     {"Unrecognised GRAVLOK.EXE found (v1.21 is needed)"}, false},
    {"other release", [] { SupportedRelease(); WriteBytes("gravlok.exe", Executable("\xF5\x3D\xD3\x38", kImport));
         WriteBytes("ref_gl.dll", std::string(483, '\0')); InstallModule("unmarked", "wsock32"); },
     {"Unrecognised GRAVLOK.EXE found (v1.21 is needed)", "Unrecognised REF_GL.DLL found (v1.21 is needed)",
      "Unknown WSOCK32.DLL found"}, false},
    {"executable cut short", [] { SupportedRelease(); WriteBytes("gravlok.exe", Executable("\xF5\x3D\xD3\x37",
         kImport).substr(0, 315041)); WriteBytes("wsock32.dll", "MZ"); },
     {"Unrecognised GRAVLOK.EXE found (v1.21 is needed)", "Patched WSOCK32.DLL is missing"}, false},
    {"old module of the patch", [] { SupportedRelease(); InstallModule("marked", "winmm"); },
     {"Supported GRAVLOK.EXE found", "Old WINMM.DLL found and deleted"}, false},
    {"old module that cannot be deleted", [] { SupportedRelease(); InstallModule("marked", "winmm");
         SetFileAttributesA("winmm.dll", FILE_ATTRIBUTE_READONLY); },
     {"Supported GRAVLOK.EXE found", "Failed to delete old WINMM.DLL"}, true},
    {"someone else's winmm.dll", [] { SupportedRelease(); InstallModule("unmarked", "winmm"); },
     {"Supported GRAVLOK.EXE found"}, true},
};

TEST(InstallationChecks, TellThePlayerAboutTheGameDirectory)
{
    // As after a first Apply under Wine: Wine loads the patch into the game.
    StoreText(kOverridesKey, "wsock32", "native,builtin");
    for (const Row &row : kRows) {
        ScratchGameDir game;
        row.install();
        HWND window = OpenConfigWindow();
        EXPECT_EQ(StatusLines(window), row.expected) << row.name;
        EXPECT_EQ(GetFileAttributesA("winmm.dll") != INVALID_FILE_ATTRIBUTES, row.winmmStays) << row.name;
        EXPECT_EQ(GetFileAttributesA("module_code_ran"), INVALID_FILE_ATTRIBUTES) << "a game module ran in the tool";
        DestroyWindow(window);
    }
}

// Wine takes its own wsock32.dll unless told otherwise: the tool tells the
// player, and once patch.cfg is saved, tells Wine, for the game alone. The
// stand-in game then really gets the patch.
TEST(WineLoadOrder, ApplyLetsTheGameLoadThePatch)
{
    ScratchGameDir game;
    SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\gravlok.exe");
    SupportedRelease();
    ASSERT_TRUE(CopyFileA((BuildDirectory() + "\\game_stand_in.exe").c_str(), "gravlok.exe", FALSE));
    HWND window = OpenConfigWindow();
    EXPECT_EQ(StatusLines(window).back(), "Wine will not load the patched WSOCK32.DLL");
    WriteBytes("patch.cfg", "");
    SetFileAttributesA("patch.cfg", FILE_ATTRIBUTE_READONLY);
    Apply(window);
    EXPECT_EQ(StoredText(kOverridesKey, "wsock32"), "<none>") << "set without a saved patch.cfg";
    SetFileAttributesA("patch.cfg", FILE_ATTRIBUTE_NORMAL);
    Apply(window);
    EXPECT_EQ(StatusLines(window).back(), "Wine set to load the patched WSOCK32.DLL");
    EXPECT_EQ(StoredText(kOverridesKey, "wsock32"), "native,builtin");
    Apply(window);
    EXPECT_EQ(StatusLines(window).back(), "Config written to PATCH.CFG") << "said twice";
    DestroyWindow(window);

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION game_process = {};
    char command[] = "gravlok.exe";
    ASSERT_TRUE(CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &game_process));
    DWORD got = 99;
    WaitForSingleObject(game_process.hProcess, 30000);
    GetExitCodeProcess(game_process.hProcess, &got);
    EXPECT_EQ(got, 0u) << "the game did not get the patch (1: another module, 2: none)";
    CloseHandle(game_process.hProcess);
    CloseHandle(game_process.hThread);
}

} // namespace
