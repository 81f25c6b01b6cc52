// What the status log tells a player about the game directory, with real
// hook modules, in a directory the 8-bit current directory names wrongly.
#include "../crafted_module.h"
#include "driver.h"
#include "checks/module_image.h"
#include "platform/dll_search.h"

static void Executable(const char *word, const char *import, size_t size = 315030 + 12)
{
    std::string bytes(315030 + 12, '\0');
    WriteBytes("gravlok.exe", bytes.replace(224, 4, word, 4).replace(315030, 12, import, 12).substr(0, size));
}

// 65,535 sections and a name table over them: each opens the window in a
// few milliseconds, and gets the loader's verdict (a forwarded marker is
// another module's, and the loader's search of names out of order misses it).
static void Craft(CraftedMarker marker, const char *as)
{
    WriteBytes(as, CraftedModule(sizeof(void *) == 8 ? kMachineAmd64 : kMachineI386, marker));
}

static void Install(const char *kind, const char *as)
{
    ASSERT_TRUE(CopyFileA((BuildDirectory() + "\\modules\\" + kind + ".dll").c_str(), as, FALSE)) << kind;
}

const char kSupported[] = "Supported GRAVLOK.EXE found";
const char kUnrecognised[] = "Unrecognised GRAVLOK.EXE found (v1.21 is needed)";
// Each row changes a directory of the supported release with the patch
// installed, but the first, which is empty.
const struct { void (*change)(); std::vector<std::string> log; bool winmmStays; } kGameDirectories[] = {
    {nullptr, {"Failed to open GRAVLOK.EXE", "Failed to open REF_GL.DLL", "Patched WSOCK32.DLL is missing"}, false},
    {[] {}, {kSupported}, false},
    // Wine takes its own wsock32.dll unless told otherwise (the save-fault
    // tests see Apply tell it, once patch.cfg is saved).
    {[] { SHDeleteKeyA(HKEY_CURRENT_USER, kOverridesKey); },
     {kSupported, "Wine will not load the patched WSOCK32.DLL"}, false},
    {[] { Executable("\xF5\x3D\xD3\x37", "WSOCK32.DLL"); }, {kUnrecognised}, false},
    {[] { Executable("\xF5\x3D\xD3\x38", "WSOCK32.dll"), WriteBytes("ref_gl.dll", "short");
          Install("unmarked", "wsock32.dll"); },
     {kUnrecognised, "Unrecognised REF_GL.DLL found (v1.21 is needed)", "Unknown WSOCK32.DLL found"}, false},
    {[] { Executable("\xF5\x3D\xD3\x37", "WSOCK32.dll", 315041), WriteBytes("wsock32.dll", "MZ"); },
     {kUnrecognised, "Patched WSOCK32.DLL is missing"}, false},
    {[] { Install("marked", "winmm.dll"); }, {kSupported, "Old WINMM.DLL found and deleted"}, false},
    {[] { Install("marked", "winmm.dll"), SetFileAttributesA("winmm.dll", FILE_ATTRIBUTE_READONLY); },
     {kSupported, "Failed to delete old WINMM.DLL"}, true},
    {[] { Install("unmarked", "winmm.dll"); }, {kSupported}, true},
    {[] { Craft(CraftedMarker::Forwarded, "wsock32.dll"), Craft(CraftedMarker::Exported, "winmm.dll"); },
     {kSupported, "Unknown WSOCK32.DLL found", "Old WINMM.DLL found and deleted"}, false},
    {[] { Craft(CraftedMarker::NamedOutOfOrder, "wsock32.dll"); }, {kSupported, "Unknown WSOCK32.DLL found"}, false},
};

TEST(InstallationChecks, TellThePlayerAboutTheGameDirectoryAndLoadNothingFromIt)
{
    for (const auto &row : kGameDirectories) {
        SCOPED_TRACE(&row - kGameDirectories);
        ScratchGameDir game;
        // As after a first Apply under Wine: Wine loads the patch into the game.
        StoreText(kOverridesKey, "wsock32", "native,builtin");
        char narrow[MAX_PATH];
        ASSERT_TRUE(GetCurrentDirectoryA(MAX_PATH, narrow) && strchr(narrow, '?')) << "the code page spells it";
        if (row.change) {
            Executable("\xF5\x3D\xD3\x37", "WSOCK32.dll");
            WriteBytes("ref_gl.dll", std::string(480, 0) + std::string("\x7A\xB5\x02", 4));
            Install("marked", "wsock32.dll");
            row.change();
        }
        HWND window = OpenConfigWindow();
        EXPECT_EQ(StatusLines(window), row.log);
        EXPECT_EQ(GetFileAttributesA("winmm.dll") != INVALID_FILE_ATTRIBUTES, row.winmmStays);
        DestroyWindow(window);
    }
    // Renderer wrappers and hook modules beside the tool never load into it by name.
    ScratchGameDir game;
    Install("marked", "renderhook.dll");
    ASSERT_TRUE(FreeLibrary(LoadLibraryA("renderhook.dll"))) << "not even loaded before";
    RestrictDllSearchToSystem();
    EXPECT_EQ(LoadLibraryA("renderhook.dll"), nullptr);
}
