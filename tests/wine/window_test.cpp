// The window made in this process from the program's template: what it
// shows, what Apply saves, and what it leaves in the registry.
#include <set>

#include "driver.h"

static const int kNumbers[] = {IDC_MAX_FPS, IDC_CONSOLE_WIDTH, IDC_CONSOLE_OVERLAY, IDC_CHAT_LINES, IDC_DOWNLOAD_RATE};

// The number fields, each followed by a blank.
static std::string Numbers(HWND window)
{
    std::string shown;
    for (int id : kNumbers)
        shown += Field(window, id) + " ";
    return shown;
}

// The boxes as 0 and 1, the numbers and the size chosen.
static std::string Shown(HWND window)
{
    std::string boxes;
    for (int id : {IDC_ENABLE, IDC_SET_RESOLUTION, IDC_NATIVE_FULLSCREEN, IDC_AUTO_FOV, IDC_CONSOLE_NO_BACK, IDC_MENU_DARKEN,
                   IDC_SHOW_GUN, IDC_DOWNLOAD_MAIN, IDC_DEMO_ASSOCIATION, IDC_FREEZE_FIX})
        boxes += Box(window, id) ? '1' : '0';
    return boxes + " " + Numbers(window) + Field(window, IDC_RESOLUTION);
}

class ConfigWindow : public ::testing::Test {
protected:
    void SetUp() override { ResetShellKeys(); }
    void TearDown() override { DestroyWindow(window); }
    void Open() { DestroyWindow(window), window = OpenConfigWindow(); }
    ScratchGameDir game;
    HWND window = nullptr;
};

// patch.cfg read in text mode as the game reads it (CR LF, Ctrl-Z the end),
// shown, and saved back as shown: twelve lines without a resolution. Wine
// starts a program whose directory it cannot enter (deeper than MAX_PATH)
// in the Windows directory: no game is there, and no patch.cfg is read or
// claimed saved there.
TEST_F(ConfigWindow, ShowsPatchCfgOrTheDefaultsAndSavesThem)
{
    const std::string file = "enable 2\r\nwidth 1680\r\nheight 1050\r\nnativefs 0\r\nconsolenoback 1\r\nconsoleoverlay "
                             "10\r\nconsolewidth 200\r\nchatlines 12\r\nmenudarken 0\r\nshowgun 1\r\nmaxfps 125\r\n"
                             "autofov 0\r\ndlmain 0\r\ndlrate -1\r\n";
    const char defaults[] = "1011010100 90 126 4 8 0 1024 x 768 - 4 : 3", written[] = "Config written to PATCH.CFG";
    wchar_t windows[MAX_PATH];
    const std::wstring windowsDirectory(windows, GetWindowsDirectoryW(windows, MAX_PATH));
    const struct { std::wstring directory; std::string file, log, shown, saved; } rows[] = {
        {game.path, "<none>", "Patched WSOCK32.DLL is missing", defaults,
         "enable 1\r\nnativefs 1\r\nconsolenoback 0\r\nconsoleoverlay 4\r\nconsolewidth 126\r\nchatlines 8\r\n"
         "menudarken 1\r\nshowgun 0\r\nmaxfps 90\r\nautofov 1\r\ndlmain 1\r\ndlrate 0\r\n" + std::string(written)},
        {game.path, file + "\x1a" "maxfps 5\r\n", "Config read from PATCH.CFG",
         "0100101000 125 200 10 12 4294967295 1680 x 1050 - 16 : 10", "enable 0" + file.substr(8) + written},
        {windowsDirectory, "maxfps 5\r\n", "Patched WSOCK32.DLL is missing", defaults, "maxfps 5\r\nFailed to write PATCH.CFG"}};
    for (const auto &row : rows) {
        SCOPED_TRACE(&row - rows);
        SetCurrentDirectoryW(row.directory.c_str());
        if (row.file != "<none>")
            WriteBytes("patch.cfg", row.file);
        Open();
        EXPECT_EQ(LastLine(window), row.log);
        EXPECT_EQ(Shown(window), row.shown);
        Apply(window);
        EXPECT_EQ(ReadBytes("patch.cfg") + LastLine(window), row.saved); // and the log's last line
    }
}

// What is typed, what Apply leaves in the fields, and what the window shows
// when it reads the saved file again.
TEST_F(ConfigWindow, ApplyLimitsTheNumbersAndShowsThem)
{
    const struct { std::vector<const char *> typed; const char *shown, *saved; } rows[] = {
        {{"1000", "50", "2", "3", "99999"}, "999 78 4 4 99999 ", "999 78 4 4 99999 "},
        {{"0", "5000", "40", "33", "0"}, "0 5000 32 32 0 ", "0 5000 32 32 0 "},
        {{"", "", "", "", ""}, " 78 4 4  ", "0 78 4 4 0 "},
        {std::vector<const char *>(5, "4294967295"), "4294967295 78 4 4 4294967295 ", "4294967295 78 4 4 4294967295 "}};
    for (const auto &row : rows) {
        SCOPED_TRACE(&row - rows);
        Open();
        for (int i = 0; i < 5; ++i)
            SetField(window, kNumbers[i], row.typed[i]);
        Apply(window);
        EXPECT_EQ(Numbers(window), row.shown);
        Open();
        EXPECT_EQ(Numbers(window), row.saved);
    }
}

// The display's modes at least 480 high once each, ascending, and the
// configured size among them even where the display lacks it or it is
// lower; Apply saves the entry chosen.
TEST_F(ConfigWindow, ResolutionListOffersTheDisplaysModes)
{
    WriteBytes("patch.cfg", "width 1234\r\nheight 400\r\n");
    Open();
    HWND list = GetDlgItem(window, IDC_RESOLUTION);
    SetFocus(list); // the player reaches for it
    std::set<int> sizes = {1234 << 16 | 400};
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    for (DWORD i = 0; EnumDisplaySettingsA(nullptr, i, &mode); ++i)
        if (mode.dmPelsHeight >= 480)
            sizes.insert(mode.dmPelsWidth << 16 | mode.dmPelsHeight);
    std::vector<int> listed;
    for (LRESULT i = 0, count = SendMessageA(list, CB_GETCOUNT, 0, 0); i < count; ++i) {
        char label[96];
        int width = 0, height = 0;
        SendMessageA(list, CB_GETLBTEXT, i, LPARAM(label));
        listed.push_back(sscanf(label, "%d x %d - ", &width, &height) == 2 ? width << 16 | height : -1);
    }
    EXPECT_EQ(listed, std::vector<int>(sizes.begin(), sizes.end()));
    EXPECT_EQ(Field(window, IDC_RESOLUTION).rfind("1234 x 400 - ", 0), 0u);
    ASSERT_GE(SendMessageA(list, CB_SELECTSTRING, -1, LPARAM("1920 x 1080 - 16 : 9")), 0) << "the desktop's own size";
    Apply(window);
    EXPECT_NE(ReadBytes("patch.cfg").find("enable 1\r\nwidth 1920\r\nheight 1080\r\n"), std::string::npos);
    SetBox(window, IDC_SET_RESOLUTION, false);
    Apply(window);
    EXPECT_EQ(ReadBytes("patch.cfg").find("\nwidth"), std::string::npos);
}

// The boxes as the registry has them when the window opens; Apply writes
// only where a box changed (others' later values stand), removes whole
// keys, and never applies a hidden fix. A failed save writes nothing: the
// save-fault tests see to that.
TEST_F(ConfigWindow, RegistryFollowsTheBoxes)
{
    const std::string over20 = std::string("Gravlok\0 then over 20 bytes", 27);
    const struct { std::string demo; const char *games, *shown, *afterApply; } rows[] = {
        {"Gravlok", "", "1 1 shown", "Gravlok|"}, {"Gravlok2", kServiceUrl, "0 0 shown", "Gravlok|"},
        {over20, nullptr, "0 0 hidden", "Gravlok|<none>"}};
    for (const auto &row : rows) {
        SCOPED_TRACE(&row - rows);
        ResetShellKeys(row.games);
        SHSetValueA(HKEY_CURRENT_USER, kDemoKey, nullptr, REG_SZ, row.demo.c_str(), row.demo.size() + 1);
        Open();
        EXPECT_EQ(std::to_string(Box(window, IDC_DEMO_ASSOCIATION)) + " " + std::to_string(Box(window, IDC_FREEZE_FIX)) +
                  (IsWindowVisible(GetDlgItem(window, IDC_FREEZE_FIX)) ? " shown" : " hidden"), row.shown);
        SetBox(window, IDC_DEMO_ASSOCIATION, true);
        SetBox(window, IDC_FREEZE_FIX, true);
        Apply(window);
        EXPECT_EQ(StoredText(kDemoKey, nullptr) + "|" + StoredText(kServiceKey, "games"), row.afterApply);
    }
    wchar_t command[MAX_PATH + 32] = {};
    DWORD size = sizeof command;
    SHGetValueW(HKEY_CURRENT_USER, L"software\\classes\\Gravlok\\shell\\open\\command", nullptr, nullptr, command, &size);
    EXPECT_EQ(command, L"\"" + game.path + L"\\gravlok.exe\" +map \"%1\"");

    ResetShellKeys();
    Open();
    SetBox(window, IDC_DEMO_ASSOCIATION, true);
    SetBox(window, IDC_FREEZE_FIX, true);
    Apply(window);
    StoreText(kDemoKey, nullptr, "Other");
    StoreText(kServiceKey, "games", "elsewhere");
    StoreText("software\\classes\\Gravlok\\DefaultIcon", nullptr, "gravlok.exe,0");
    Apply(window);
    EXPECT_EQ(StoredText(kDemoKey, nullptr) + "|" + StoredText(kServiceKey, "games"), "Other|elsewhere");
    SetBox(window, IDC_DEMO_ASSOCIATION, false);
    SetBox(window, IDC_FREEZE_FIX, false);
    Apply(window);
    EXPECT_EQ(StoredText(kDemoKey, nullptr) + StoredText("software\\classes\\Gravlok\\DefaultIcon", nullptr) +
              StoredText(kServiceKey, "games"), std::string("<none><none>") + kServiceUrl);
}
