// What the status log tells a player about the game directory, with real
// hook modules, in a directory the 8-bit current directory names wrongly;
// and that the tool loads no module from its own directory.
#include "../crafted_module.h"
#include "driver.h"

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
    WriteBytes(as, CraftedModule(marker));
}
// A marked module of two sections with one field changed, as both hook modules.
static void Change(uint32_t at, uint32_t value, int bytes = 4)
{
    const std::string module = CraftedModule(CraftedMarker::Exported, 2, at, value, bytes);
    WriteBytes("wsock32.dll", module), WriteBytes("winmm.dll", module);
}

static void Install(const char *kind, const char *as)
{
    ASSERT_TRUE(CopyFileA((BuildDirectory() + "\\modules\\" + kind + ".dll").c_str(), as, FALSE)) << kind;
}

const char kSupported[] = "Supported GRAVLOK.EXE found";
const char kUnrecognised[] = "Unrecognised GRAVLOK.EXE found (v1.21 is needed)";
const char kGlobalOverrides[] = "Software\\Wine\\DllOverrides";
// A module the loader refuses: the patch is missing, and an old one stays.
const std::vector<std::string> kRefused = {kSupported, "Patched WSOCK32.DLL is missing"};
// Each row changes a directory of the supported release with the patch
// installed, but the first, which is empty.
const struct { void (*change)(); std::vector<std::string> log; bool winmmStays; } kGameDirectories[] = {
    {nullptr, {"Failed to open GRAVLOK.EXE", "Failed to open REF_GL.DLL", "Patched WSOCK32.DLL is missing"}, false},
    {[] {}, {kSupported}, false},
    // Wine takes its own wsock32.dll unless told otherwise, for the game or
    // for every program (the save-fault tests see Apply tell it).
    {[] { SHDeleteKeyA(HKEY_CURRENT_USER, kOverridesKey); },
     {kSupported, "Wine will not load the patched WSOCK32.DLL"}, false},
    {[] { SHDeleteKeyA(HKEY_CURRENT_USER, kOverridesKey), StoreText(kGlobalOverrides, "wsock32", "native"); },
     {kSupported}, false},
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
    // Refused: no executable image, an alignment no power of two, sections overlapping,
    // outside the image's size or below its headers, a section table past the file's end.
    {[] { Change(kCharacteristics, 0x2100, 2); }, kRefused, true},
    {[] { Change(kFileAlignment, 0x300); }, kRefused, true},
    {[] { Change(kSectionAlignment, 0x3000); }, kRefused, true},
    {[] { Change(kFirstSection + 40 + kSectionAddress, 0); }, kRefused, true},
    {[] { Change(kImageSize, 4096); }, kRefused, true},
    {[] { Change(kHeadersSize, 1); }, kRefused, true},
    {[] { Change(kOptionalHeaderSize, 0xFFFF, 2); }, kRefused, true},
    // The loader reads a section's data from a 512-byte boundary.
    {[] { Change(kFirstSection + kRawOffset, 0x1FF); }, {kSupported, "Old WINMM.DLL found and deleted"}, false},
};

TEST(InstallationChecks, TellThePlayerAboutTheGameDirectory)
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
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kGlobalOverrides, "wsock32");
    }
}

// A module planted beside the program under the name of one its window
// loads never runs, though Wine is told to prefer such a file to its own.
TEST(InstallationChecks, NoModuleBesideTheProgramLoadsIntoIt)
{
    ScratchGameDir game;
    const std::string planted = BuildDirectory() + "\\..\\uxtheme.dll";
    const char overrides[] = "Software\\Wine\\AppDefaults\\patchcfg.exe\\DllOverrides";
    Install("planted", planted.c_str());
    StoreText(overrides, "uxtheme", "native,builtin");
    PROCESS_INFORMATION tool = {};
    const HWND window = StartTool(&tool);
    if (window)
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0), WaitForSingleObject(tool.hProcess, 15000);
    DeleteFileA(planted.c_str()), SHDeleteKeyA(HKEY_CURRENT_USER, overrides);
    EXPECT_NE(window, nullptr) << "the window did not open";
    EXPECT_EQ(GetFileAttributesA("planted-module-ran"), INVALID_FILE_ATTRIBUTES) << "uxtheme.dll beside it ran";
}
