// The window made in this process from the program's template: what it
// shows, what Apply saves, and what it leaves in the registry.
#include "display/display_modes.h"
#include "driver.h"

class ConfigWindow : public ::testing::Test {
protected:
    void SetUp() override { ResetShellKeys(); }
    void TearDown() override { DestroyWindow(window), displayModeSource = nullptr; }
    void Open() { DestroyWindow(window), window = OpenConfigWindow(); }
    ScratchGameDir game;
    HWND window = nullptr;
};

// patch.cfg read as the game reads it (CR LF, Ctrl-Z the end) and shown:
// Apply saves each value as the window shows it, twelve lines without a size.
TEST_F(ConfigWindow, ShowsPatchCfgOrTheDefaultsAndSavesWhatItShows)
{
    const std::string file = "enable 2\r\nwidth 1680\r\nheight 1050\r\nnativefs 0\r\nconsolenoback 1\r\nconsoleoverlay 10\r\n"
                             "consolewidth 200\r\nchatlines 12\r\nmenudarken 0\r\nshowgun 1\r\nmaxfps 125\r\nautofov 0\r\n"
                             "dlmain 0\r\ndlrate -1\r\n";
    const struct { std::string file, log, resolution, saved; } rows[] = {
        {"", "Patched WSOCK32.DLL is missing", "1024 x 768 - 4 : 3",
         "enable 1\r\nnativefs 1\r\nconsolenoback 0\r\nconsoleoverlay 4\r\nconsolewidth 126\r\nchatlines 8\r\n"
         "menudarken 1\r\nshowgun 0\r\nmaxfps 90\r\nautofov 1\r\ndlmain 1\r\ndlrate 0\r\n"},
        {file + "\x1a" "maxfps 5\r\n", "Config read from PATCH.CFG", "1680 x 1050 - 16 : 10", "enable 0" + file.substr(8)}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.log);
        if (!row.file.empty())
            WriteBytes("patch.cfg", row.file);
        Open();
        EXPECT_EQ(LastLine(window), row.log);
        EXPECT_EQ(Field(window, IDC_RESOLUTION), row.resolution);
        Apply(window);
        EXPECT_EQ(ReadBytes("patch.cfg"), row.saved);
    }
}

// Wine starts a program whose directory it cannot enter (deeper than
// MAX_PATH) in the Windows directory: a patch.cfg there is not the player's.
TEST_F(ConfigWindow, NeitherReadsNorSavesPatchCfgInTheWindowsDirectory)
{
    wchar_t windows[MAX_PATH];
    ASSERT_TRUE(GetWindowsDirectoryW(windows, MAX_PATH) && SetCurrentDirectoryW(windows));
    WriteBytes("patch.cfg", "maxfps 5\r\n");
    Open();
    EXPECT_EQ(Field(window, IDC_MAX_FPS), "90");
    Apply(window);
    EXPECT_EQ(LastLine(window), "Failed to write PATCH.CFG");
    EXPECT_EQ(ReadBytes("patch.cfg"), "maxfps 5\r\n");
    DeleteFileA("patch.cfg");
}

// A number typed into a field: the field after Apply, and once the window
// has read the saved file again.
TEST_F(ConfigWindow, ApplyBringsTheNumbersWithinTheirLimitsAndShowsThem)
{
    const struct { int field; const char *typed, *applied, *saved; } rows[] = {
        {IDC_CONSOLE_OVERLAY, "2", "4", "4"}, {IDC_CONSOLE_OVERLAY, "40", "32", "32"}, {IDC_CONSOLE_OVERLAY, "", "4", "4"},
        {IDC_CONSOLE_OVERLAY, "4294967295", "4", "4"}, {IDC_CHAT_LINES, "3", "4", "4"}, {IDC_CHAT_LINES, "33", "32", "32"},
        {IDC_CONSOLE_WIDTH, "50", "78", "78"}, {IDC_CONSOLE_WIDTH, "5000", "5000", "5000"}, {IDC_CONSOLE_WIDTH, "", "78", "78"},
        {IDC_MAX_FPS, "1000", "999", "999"}, {IDC_MAX_FPS, "0", "0", "0"}, {IDC_MAX_FPS, "", "", "0"},
        {IDC_MAX_FPS, "4294967295", "4294967295", "4294967295"}, {IDC_DOWNLOAD_RATE, "99999", "99999", "99999"}};
    for (const auto &row : rows) {
        SCOPED_TRACE("field " + std::to_string(row.field) + " typed as \"" + row.typed + "\"");
        Open();
        SetField(window, row.field, row.typed);
        Apply(window);
        EXPECT_EQ(Field(window, row.field), row.applied);
        Open();
        EXPECT_EQ(Field(window, row.field), row.saved);
    }
}

// A display that reports each of its sizes at 4 depths and 50 rates: 2,000
// modes, the largest last, one too low, two out of order.
static bool TwoThousandModes(uint32_t number, Resolution *size)
{
    static const Resolution sizes[] = {{800, 600}, {640, 480}, {720, 400}, {1024, 768}, {1280, 1024}, {1280, 720},
                                       {1600, 900}, {1920, 1080}, {2560, 1440}, {3840, 2160}};
    return number < 2000 && (*size = sizes[number / 200], true);
}

// Each size at least 480 high once, ascending, and the configured one in
// its place and chosen although the display lacks it and it is lower.
TEST_F(ConfigWindow, ResolutionListOffersEachSizeOfTheDisplayOnceInOrder)
{
    displayModeSource = TwoThousandModes;
    WriteBytes("patch.cfg", "width 640\r\nheight 400\r\n");
    Open();
    const HWND list = GetDlgItem(window, IDC_RESOLUTION);
    SetFocus(list); // the player reaches for it
    std::vector<std::string> listed;
    char label[96];
    for (LRESULT i = 0, count = SendMessageA(list, CB_GETCOUNT, 0, 0); i < count; ++i)
        listed.emplace_back(label, SendMessageA(list, CB_GETLBTEXT, i, LPARAM(label)));
    EXPECT_EQ(listed, (std::vector<std::string>{"640 x 400 - 16 : 10", "640 x 480 - 4 : 3", "800 x 600 - 4 : 3",
                  "1024 x 768 - 4 : 3", "1280 x 720 - 16 : 9", "1280 x 1024 - 5 : 4", "1600 x 900 - 16 : 9",
                  "1920 x 1080 - 16 : 9", "2560 x 1440 - 16 : 9", "3840 x 2160 - 16 : 9"}));
    EXPECT_EQ(Field(window, IDC_RESOLUTION), "640 x 400 - 16 : 10");
    displayModeSource = nullptr; // the display itself: the desktop's own size among its modes
    Open();
    SetFocus(GetDlgItem(window, IDC_RESOLUTION));
    EXPECT_GE(SendDlgItemMessageA(window, IDC_RESOLUTION, CB_FINDSTRINGEXACT, -1, LPARAM("1920 x 1080 - 16 : 9")), 0);
}

// Where the system has no service location the fix is hidden: it has nothing to change.
TEST_F(ConfigWindow, DemoAndFreezeFixBoxesShowTheRegistry)
{
    const struct { std::string demo; const char *games; bool demoBox, fixBox, fixShown; } rows[] = {
        {"Gravlok", "", true, true, true}, {"Gravlok2", kServiceUrl, false, false, true},
        {std::string("Gravlok\0 then over 20 bytes", 27), nullptr, false, false, false}};
    for (const auto &row : rows) {
        SCOPED_TRACE(&row - rows);
        ResetShellKeys(row.games);
        SHSetValueA(HKEY_CURRENT_USER, kDemoKey, nullptr, REG_SZ, row.demo.c_str(), row.demo.size() + 1);
        Open();
        EXPECT_EQ(Box(window, IDC_DEMO_ASSOCIATION), row.demoBox);
        EXPECT_EQ(Box(window, IDC_FREEZE_FIX), row.fixBox);
        EXPECT_EQ(IsWindowVisible(GetDlgItem(window, IDC_FREEZE_FIX)) != FALSE, row.fixShown);
    }
    SetBox(window, IDC_FREEZE_FIX, true);
    Apply(window);
    EXPECT_EQ(StoredText(kServiceKey, "games"), "<none>") << "a hidden fix written";
}

// One window, Apply after each change of the two boxes: what other programs
// write meanwhile stands until a box changes; removing the association
// removes its whole keys.
TEST_F(ConfigWindow, ApplyWritesEachChangeOfTheRegistryBoxesAndNothingElse)
{
    Open();
    const auto applyBoxes = [&](bool checked) {
        SetBox(window, IDC_DEMO_ASSOCIATION, checked), SetBox(window, IDC_FREEZE_FIX, checked), Apply(window);
        return StoredText(kDemoKey, nullptr) + " | " + StoredText(kServiceKey, "games");
    };
    EXPECT_EQ(applyBoxes(true), "Gravlok | ");
    wchar_t command[MAX_PATH + 32] = {};
    DWORD size = sizeof command;
    SHGetValueW(HKEY_CURRENT_USER, L"software\\classes\\Gravlok\\shell\\open\\command", nullptr, nullptr, command, &size);
    EXPECT_EQ(command, L"\"" + game.path + L"\\gravlok.exe\" +map \"%1\"");
    StoreText(kDemoKey, nullptr, "Other");
    StoreText(kServiceKey, "games", "elsewhere");
    StoreText("software\\classes\\Gravlok\\DefaultIcon", nullptr, "gravlok.exe,0");
    EXPECT_EQ(applyBoxes(true), "Other | elsewhere");
    EXPECT_EQ(applyBoxes(false), "<none> | " + std::string(kServiceUrl));
    EXPECT_EQ(StoredText("software\\classes\\Gravlok\\DefaultIcon", nullptr), "<none>");
    EXPECT_EQ(applyBoxes(true), "Gravlok | ");
}
