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

const char kOld[] = "maxfps 120\r\n";
bool Holds300() { return ReadFileBytes("patch.cfg").find("maxfps 300\r\n") != std::string::npos; }

// The supported release, the patch and an old release's module; Apply saves
// and associates demos with the game there.
class ScriptGameDir : public RegistryTest {
protected:
    void Check(const wchar_t *name)
    {
        ASSERT_TRUE(CreateDirectoryW(name_ = name, nullptr) && SetCurrentDirectoryW(name));
        std::string exe(315042, '\0'), renderer(484, '\0'), narrow(MAX_PATH, '\0');
        WriteFileBytes("gravlok.exe", exe.replace(224, 4, "\xF5\x3D\xD3\x37").replace(315030, 11, "WSOCK32.dll"));
        WriteFileBytes("ref_gl.dll", renderer.replace(480, 4, std::string("\x7A\xB5\x02\x00", 4)));
        InstallModule("marked", "wsock32");
        InstallModule("marked", "winmm");
        WriteFileBytes("patch.cfg", kOld);
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
        GetCurrentDirectoryW(MAX_PATH, directory);
        EXPECT_EQ(std::wstring(command), L"\"" + std::wstring(directory) + L"\\gravlok.exe\" +map \"%1\"");
    }
    void TearDown() override
    {
        RegistryTest::TearDown();
        for (const char *file : {"gravlok.exe", "ref_gl.dll", "wsock32.dll", "patch.cfg"})
            DeleteFileA(file);
        SetCurrentDirectoryA(game.Path().c_str());
        RemoveDirectoryW(name_);
    }
    const wchar_t *name_ = L"";
    WineOverrides overrides;
};
TEST_F(ScriptGameDir, Japanese) { Check(L"\u30B2\u30FC\u30E0"); }
TEST_F(ScriptGameDir, Greek) { Check(L"\u03A0\u03B1\u03B9\u03C7\u03BD\u03AF\u03B4\u03B9"); }

// An editor or a sync client shares reading and writing, not deletion.
TEST(HeldPatchCfg, SavedWhereAPlainWriteWouldBe)
{
    ScratchGameDir game;
    WriteFileBytes("patch.cfg", kOld);
    RunningTool tool;
    ASSERT_TRUE(tool.Start(game.Path()));
    HANDLE held = CreateFileA("patch.cfg", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    tool.SetField(IDC_MAX_FPS, "300");
    tool.Apply();
    EXPECT_EQ(tool.LastStatusLine(), "Config written to PATCH.CFG");
    EXPECT_TRUE(Holds300());
    CloseHandle(held);
}

TEST(DllSearch, ModulesBesideTheToolAreNotLoadedByName)
{
    ScratchGameDir game;
    ASSERT_TRUE(CopyFileA((BuildDirectory() + "\\modules\\marked\\wsock32.dll").c_str(), "renderhook.dll", FALSE));
    HMODULE found = LoadLibraryA("renderhook.dll");
    ASSERT_NE(found, nullptr) << "searched before the restriction";
    FreeLibrary(found);
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
        WriteFileBytes("patch.cfg", kOld);
        OpenWindow();
        SetFieldText(IDC_MAX_FPS, "300");
        stopWith = error;
        PressApply();
        EXPECT_EQ(StatusLines().back(), "Config written to PATCH.CFG");
        EXPECT_TRUE(Holds300());
        DeleteFileA("moved.cfg");
        EXPECT_EQ(DirectoryNames(), std::vector<std::string>{"patch.cfg"});
    }
}

} // namespace
