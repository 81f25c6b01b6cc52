// What the status log tells a player about the game directory when the
// window opens: real hook modules (built beside this test), the game's
// files as the supported release has them or not, in a directory that the
// 8-bit current directory would name wrongly.
#include "driver.h"

static void Executable(const char *word, const char *import, size_t size = 315030 + 12)
{
    std::string bytes(315030 + 12, '\0');
    WriteBytes("gravlok.exe", bytes.replace(224, 4, word, 4).replace(315030, 12, import, 12).substr(0, size));
}

static void Install(const char *kind, const char *as)
{
    ASSERT_TRUE(CopyFileA((BuildDirectory() + "\\modules\\" + kind + ".dll").c_str(), as, FALSE)) << kind;
}

static void SupportedRelease()
{
    Executable("\xF5\x3D\xD3\x37", "WSOCK32.dll");
    WriteBytes("ref_gl.dll", std::string(480, 0) + std::string("\x7A\xB5\x02", 4));
    Install("marked", "wsock32.dll");
}

const char kSupported[] = "Supported GRAVLOK.EXE found", kUnrecognised[] = "Unrecognised GRAVLOK.EXE found (v1.21 is needed)";
const struct {
    void (*install)();
    std::vector<std::string> log;
    bool winmmStays;
} kGameDirectories[] = {
    {[] {}, {"Failed to open GRAVLOK.EXE", "Failed to open REF_GL.DLL", "Patched WSOCK32.DLL is missing"}, false},
    {SupportedRelease, {kSupported}, false},
    // Wine takes its own wsock32.dll unless told otherwise (the save-fault
    // tests see Apply tell it, once patch.cfg is saved).
    {[] { SupportedRelease(); SHDeleteKeyA(HKEY_CURRENT_USER, kOverridesKey); },
     {kSupported, "Wine will not load the patched WSOCK32.DLL"}, false},
    {[] { SupportedRelease(); Executable("\xF5\x3D\xD3\x37", "WSOCK32.DLL"); }, {kUnrecognised}, false},
    {[] { SupportedRelease(); Executable("\xF5\x3D\xD3\x38", "WSOCK32.dll"); WriteBytes("ref_gl.dll", "short");
         Install("unmarked", "wsock32.dll"); },
     {kUnrecognised, "Unrecognised REF_GL.DLL found (v1.21 is needed)", "Unknown WSOCK32.DLL found"}, false},
    {[] { SupportedRelease(); Executable("\xF5\x3D\xD3\x37", "WSOCK32.dll", 315041); WriteBytes("wsock32.dll", "MZ"); },
     {kUnrecognised, "Patched WSOCK32.DLL is missing"}, false},
    {[] { SupportedRelease(); Install("marked", "winmm.dll"); }, {kSupported, "Old WINMM.DLL found and deleted"}, false},
    {[] { SupportedRelease(); Install("marked", "winmm.dll"); SetFileAttributesA("winmm.dll", FILE_ATTRIBUTE_READONLY); },
     {kSupported, "Failed to delete old WINMM.DLL"}, true},
    {[] { SupportedRelease(); Install("unmarked", "winmm.dll"); }, {kSupported}, true},
};

TEST(InstallationChecks, TellThePlayerAboutTheGameDirectory)
{
    for (const auto &row : kGameDirectories) {
        ScratchGameDir game;
        // As after a first Apply under Wine: Wine loads the patch into the game.
        StoreText(kOverridesKey, "wsock32", "native,builtin");
        char narrow[MAX_PATH];
        ASSERT_TRUE(GetCurrentDirectoryA(MAX_PATH, narrow) && strchr(narrow, '?')) << "the code page spells it";
        row.install();
        HWND window = OpenConfigWindow();
        EXPECT_EQ(StatusLines(window), row.log) << &row - kGameDirectories;
        EXPECT_EQ(GetFileAttributesA("winmm.dll") != INVALID_FILE_ATTRIBUTES, row.winmmStays) << &row - kGameDirectories;
        DestroyWindow(window);
    }
}
