// Faults players meet: a game directory the code page cannot spell, patch.cfg
// held open, DLLs beside the tool, a replace that Windows stops half-way.
#include "hook_modules.h"
#include "platform/dll_search.h"
#include "platform/text_file.h"
#include "registry_fixture.h"
#include "resources/resource.h"
#include "running_tool.h"
#include "wine_overrides.h"

namespace {

bool Holds300() { return ReadFileBytes("patch.cfg").find("maxfps 300\r\n") != std::string::npos; }

// The supported release, the patch and an old release's module; Apply saves
// and associates demos. The directory is left to the throw-away prefix.
class ScriptGameDir : public RegistryTest {
protected:
    void Check(const wchar_t *name)
    {
        ASSERT_TRUE(CreateDirectoryW(name, nullptr) && SetCurrentDirectoryW(name));
        std::string exe(315042, '\0'), renderer(484, '\0'), narrow(MAX_PATH, '\0');
        WriteFileBytes("gravlok.exe", exe.replace(224, 4, "\xF5\x3D\xD3\x37").replace(315030, 11, "WSOCK32.dll"));
        WriteFileBytes("ref_gl.dll", renderer.replace(480, 4, std::string("\x7A\xB5\x02\x00", 4)));
        InstallModule("marked", "wsock32");
        InstallModule("marked", "winmm");
        WriteFileBytes("patch.cfg", "maxfps 120\r\n");
        ASSERT_NE(narrow.substr(0, GetCurrentDirectoryA(MAX_PATH, &narrow[0])).find('?'), std::string::npos);
        overrides.SetForGame("native,builtin");
        OpenWindow();
        SetFieldText(IDC_MAX_FPS, "300");
        SetBoxChecked(IDC_DEMO_ASSOCIATION, true);
        PressApply();
        EXPECT_EQ(StatusLines(), (std::vector<std::string>{"Supported GRAVLOK.EXE found", "Old WINMM.DLL found and deleted",
                                                            "Config read from PATCH.CFG", "Config written to PATCH.CFG"}));
        EXPECT_TRUE(Holds300());
        wchar_t directory[MAX_PATH], command[MAX_PATH + 30] = {};
        DWORD size = sizeof command;
        SHGetValueW(HKEY_CURRENT_USER, L"software\\classes\\Gravlok\\shell\\open\\command", nullptr, nullptr, command, &size);
        const std::wstring game(directory, GetCurrentDirectoryW(MAX_PATH, directory));
        EXPECT_EQ(std::wstring(command), L"\"" + game + L"\\gravlok.exe\" +map \"%1\"");
    }
    WineOverrides overrides;
};
TEST_F(ScriptGameDir, Japanese) { Check(L"\u30B2\u30FC\u30E0"); }
TEST_F(ScriptGameDir, Greek) { Check(L"\u03A0\u03B1\u03B9\u03C7\u03BD\u03AF\u03B4\u03B9"); }

// An editor or a sync client shares reading and writing, not deletion.
TEST(HeldPatchCfg, SavedWhereAPlainWriteWouldBe)
{
    ScratchGameDir game;
    WriteFileBytes("patch.cfg", "maxfps 120\r\n");
    RunningTool tool;
    ASSERT_TRUE(tool.Start(game.Path()));
    HANDLE held = CreateFileA("patch.cfg", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    tool.SetField(IDC_MAX_FPS, "300");
    tool.Apply();
    EXPECT_EQ(tool.LastStatusLine(), "Config written to PATCH.CFG");
    EXPECT_TRUE(held != INVALID_HANDLE_VALUE && Holds300() && CloseHandle(held));
}

TEST(DllSearch, ModulesBesideTheToolAreNotLoadedByName)
{
    ScratchGameDir game;
    ASSERT_TRUE(CopyFileA((BuildDirectory() + "\\modules\\marked\\wsock32.dll").c_str(), "renderhook.dll", FALSE));
    ASSERT_TRUE(FreeLibrary(LoadLibraryA("renderhook.dll"))) << "searched before the restriction";
    RestrictDllSearchToSystem();
    EXPECT_EQ(LoadLibraryA("renderhook.dll"), nullptr);
    EXPECT_NE(LoadLibraryA("version.dll"), nullptr);
}

// Where Windows' ReplaceFile stops and Wine's never does: 1176 having
// deleted the old file, 1177 having moved it aside.
DWORD stopWith;
BOOL WINAPI StopHalfWay(LPCWSTR old, LPCWSTR, LPCWSTR, DWORD, LPVOID, LPVOID)
{
    stopWith == ERROR_UNABLE_TO_MOVE_REPLACEMENT ? DeleteFileW(old) : MoveFileW(old, L"moved.cfg");
    return SetLastError(stopWith), FALSE;
}
using HalfReplace = DialogTest;
TEST_F(HalfReplace, TheNewFileTakesThePlaceOfTheOld)
{
    replaceFileForSave = StopHalfWay;
    for (DWORD error : {ERROR_UNABLE_TO_MOVE_REPLACEMENT, ERROR_UNABLE_TO_MOVE_REPLACEMENT_2}) {
        WriteFileBytes("patch.cfg", "maxfps 120\r\n");
        OpenWindow();
        SetFieldText(IDC_MAX_FPS, "300");
        stopWith = error;
        PressApply();
        EXPECT_EQ(StatusLines().back(), "Config written to PATCH.CFG");
        EXPECT_TRUE(Holds300() && DeleteFileA("moved.cfg") == (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2));
        EXPECT_EQ(DirectoryNames(), std::vector<std::string>{"patch.cfg"});
    }
}

} // namespace
