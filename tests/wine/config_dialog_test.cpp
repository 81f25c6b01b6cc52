// The window as a player uses it: what it shows from patch.cfg, and what
// Apply saves, limits included.
#include "dialog_fixture.h"

#include "resources/resource.h"
#include "settings/patch_settings.h"
#include "window/config_dialog.h"

namespace {

using ConfigWindow = DialogTest;

TEST_F(ConfigWindow, DefaultsFillTheControls)
{
    OpenWindow();
    EXPECT_TRUE(IsBoxChecked(IDC_ENABLE));
    EXPECT_FALSE(IsBoxChecked(IDC_SET_RESOLUTION));
    EXPECT_TRUE(IsBoxChecked(IDC_NATIVE_FULLSCREEN));
    EXPECT_TRUE(IsBoxChecked(IDC_AUTO_FOV));
    EXPECT_FALSE(IsBoxChecked(IDC_CONSOLE_NO_BACK));
    EXPECT_TRUE(IsBoxChecked(IDC_MENU_DARKEN));
    EXPECT_FALSE(IsBoxChecked(IDC_SHOW_GUN));
    EXPECT_TRUE(IsBoxChecked(IDC_DOWNLOAD_MAIN));
    EXPECT_FALSE(IsBoxChecked(IDC_DEMO_ASSOCIATION));
    EXPECT_EQ(FieldText(IDC_MAX_FPS), "90");
    EXPECT_EQ(FieldText(IDC_CONSOLE_OVERLAY), "4");
    EXPECT_EQ(FieldText(IDC_CONSOLE_WIDTH), "126");
    EXPECT_EQ(FieldText(IDC_CHAT_LINES), "8");
    EXPECT_EQ(FieldText(IDC_DOWNLOAD_RATE), "0");
}

TEST_F(ConfigWindow, FileValuesFillTheControls)
{
    WriteFileBytes("patch.cfg", CrLf("enable 1\nwidth 800\nheight 600\nnativefs 0\nconsolenoback 5\n"
                                     "consoleoverlay 12\nconsolewidth 200\nchatlines 16\nmenudarken 0\n"
                                     "showgun -1\nmaxfps 250\nautofov 0\ndlmain 0\ndlrate 60\n"));
    OpenWindow();
    EXPECT_TRUE(IsBoxChecked(IDC_SET_RESOLUTION));
    EXPECT_FALSE(IsBoxChecked(IDC_NATIVE_FULLSCREEN));
    EXPECT_TRUE(IsBoxChecked(IDC_CONSOLE_NO_BACK)); // any nonzero value checks
    EXPECT_TRUE(IsBoxChecked(IDC_SHOW_GUN));
    EXPECT_FALSE(IsBoxChecked(IDC_MENU_DARKEN));
    EXPECT_FALSE(IsBoxChecked(IDC_AUTO_FOV));
    EXPECT_FALSE(IsBoxChecked(IDC_DOWNLOAD_MAIN));
    EXPECT_EQ(FieldText(IDC_MAX_FPS), "250");
    EXPECT_EQ(FieldText(IDC_CONSOLE_OVERLAY), "12");
    EXPECT_EQ(FieldText(IDC_CONSOLE_WIDTH), "200");
    EXPECT_EQ(FieldText(IDC_CHAT_LINES), "16");
    EXPECT_EQ(FieldText(IDC_DOWNLOAD_RATE), "60");
    EXPECT_EQ(StatusLines(), LogWithoutGameFiles({"Config read from PATCH.CFG"}));
}

TEST_F(ConfigWindow, EnableTwoStartsUncheckedAndSavesZero)
{
    WriteFileBytes("patch.cfg", "enable 2\r\n");
    OpenWindow();
    EXPECT_FALSE(IsBoxChecked(IDC_ENABLE));
    PressApply();
    EXPECT_EQ(ReadFileBytes("patch.cfg").rfind("enable 0\r\n", 0), 0u);
}

TEST_F(ConfigWindow, ApplySavesWhatTheControlsShow)
{
    OpenWindow();
    SetBoxChecked(IDC_ENABLE, false);
    SetBoxChecked(IDC_NATIVE_FULLSCREEN, false);
    SetBoxChecked(IDC_CONSOLE_NO_BACK, true);
    SetBoxChecked(IDC_MENU_DARKEN, false);
    SetBoxChecked(IDC_SHOW_GUN, true);
    SetBoxChecked(IDC_AUTO_FOV, false);
    SetBoxChecked(IDC_DOWNLOAD_MAIN, false);
    SetFieldText(IDC_MAX_FPS, "125");
    SetFieldText(IDC_CONSOLE_OVERLAY, "10");
    SetFieldText(IDC_CONSOLE_WIDTH, "160");
    SetFieldText(IDC_CHAT_LINES, "20");
    SetFieldText(IDC_DOWNLOAD_RATE, "500");
    PressApply();
    EXPECT_EQ(ReadFileBytes("patch.cfg"),
              CrLf("enable 0\nnativefs 0\nconsolenoback 1\nconsoleoverlay 10\nconsolewidth 160\n"
                   "chatlines 20\nmenudarken 0\nshowgun 1\nmaxfps 125\nautofov 0\ndlmain 0\ndlrate 500\n"));
    EXPECT_EQ(StatusLines(), LogWithoutGameFiles({"Config written to PATCH.CFG"}));
}

TEST_F(ConfigWindow, LimitsApplyAndTheFieldsShowThem)
{
    OpenWindow();
    SetFieldText(IDC_CONSOLE_OVERLAY, "2");
    SetFieldText(IDC_CHAT_LINES, "40");
    SetFieldText(IDC_CONSOLE_WIDTH, "50");
    SetFieldText(IDC_MAX_FPS, "1500");
    SetFieldText(IDC_DOWNLOAD_RATE, "4000000000");
    PressApply();
    EXPECT_EQ(FieldText(IDC_CONSOLE_OVERLAY), "4");
    EXPECT_EQ(FieldText(IDC_CHAT_LINES), "32");
    EXPECT_EQ(FieldText(IDC_CONSOLE_WIDTH), "78");
    EXPECT_EQ(FieldText(IDC_MAX_FPS), "999");
    EXPECT_EQ(FieldText(IDC_DOWNLOAD_RATE), "4000000000");
    EXPECT_EQ(patchSettings.consoleoverlay, 4);
    EXPECT_EQ(patchSettings.chatlines, 32);
    EXPECT_EQ(patchSettings.consolewidth, 78);
    EXPECT_EQ(patchSettings.maxfps, 999);
    EXPECT_EQ(patchSettings.dlrate, static_cast<int32_t>(4000000000u));

    SetFieldText(IDC_CONSOLE_OVERLAY, "40");
    SetFieldText(IDC_CHAT_LINES, "3");
    SetFieldText(IDC_MAX_FPS, "0");
    PressApply();
    EXPECT_EQ(FieldText(IDC_CONSOLE_OVERLAY), "32");
    EXPECT_EQ(FieldText(IDC_CHAT_LINES), "4");
    EXPECT_EQ(FieldText(IDC_MAX_FPS), "0");
    EXPECT_NE(ReadFileBytes("patch.cfg").find("maxfps 0\r\n"), std::string::npos);
}

TEST_F(ConfigWindow, EmptyFieldsReadAsZeroThenLimit)
{
    OpenWindow();
    for (int id : {IDC_CONSOLE_OVERLAY, IDC_CHAT_LINES, IDC_CONSOLE_WIDTH, IDC_MAX_FPS, IDC_DOWNLOAD_RATE})
        SetFieldText(id, "");
    PressApply();
    const std::string saved = ReadFileBytes("patch.cfg");
    EXPECT_NE(saved.find("consoleoverlay 4\r\n"), std::string::npos);
    EXPECT_NE(saved.find("chatlines 4\r\n"), std::string::npos);
    EXPECT_NE(saved.find("consolewidth 78\r\n"), std::string::npos);
    EXPECT_NE(saved.find("maxfps 0\r\n"), std::string::npos);
    EXPECT_NE(saved.find("dlrate 0\r\n"), std::string::npos);
    // Only the limited fields are rewritten.
    EXPECT_EQ(FieldText(IDC_MAX_FPS), "");
    EXPECT_EQ(FieldText(IDC_CONSOLE_OVERLAY), "4");
}

TEST_F(ConfigWindow, NegativeValueSurvivesAnApply)
{
    WriteFileBytes("patch.cfg", "dlrate -1\r\nmaxfps -5\r\n");
    OpenWindow();
    EXPECT_EQ(FieldText(IDC_DOWNLOAD_RATE), "4294967295");
    PressApply();
    const std::string saved = ReadFileBytes("patch.cfg");
    EXPECT_NE(saved.find("dlrate -1\r\n"), std::string::npos);
    EXPECT_NE(saved.find("maxfps -5\r\n"), std::string::npos);
}

TEST_F(ConfigWindow, UncheckedResolutionWritesNoResolution)
{
    WriteFileBytes("patch.cfg", "width 800\r\nheight 600\r\n");
    OpenWindow();
    ASSERT_TRUE(IsBoxChecked(IDC_SET_RESOLUTION));
    SetBoxChecked(IDC_SET_RESOLUTION, false);
    PressApply();
    const std::string saved = ReadFileBytes("patch.cfg");
    EXPECT_EQ(saved.find("\nwidth "), std::string::npos);
    EXPECT_EQ(saved.find("\nheight "), std::string::npos);
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 12);
}

TEST_F(ConfigWindow, WidthWithoutHeightIsNoResolution)
{
    WriteFileBytes("patch.cfg", "width 800\r\n");
    OpenWindow();
    EXPECT_FALSE(IsBoxChecked(IDC_SET_RESOLUTION));
    PressApply();
    EXPECT_EQ(ReadFileBytes("patch.cfg").find("\nwidth "), std::string::npos);
}

TEST_F(ConfigWindow, ReadOnlyFileShowsAccessDeniedAndKeepsTheFile)
{
    const std::string old = "maxfps 120\r\n";
    WriteFileBytes("patch.cfg", old);
    SetFileAttributesA("patch.cfg", FILE_ATTRIBUTE_READONLY);
    OpenWindow();
    SetFieldText(IDC_MAX_FPS, "60");
    PressApply();
    EXPECT_EQ(StatusLines(), LogWithoutGameFiles({"Config read from PATCH.CFG",
                                                  "Access denied to PATCH.CFG, try re-running as administrator"}));
    EXPECT_EQ(ReadFileBytes("patch.cfg"), old);
}

TEST_F(ConfigWindow, EscapeClosesWithoutSaving)
{
    const std::string old = "maxfps 120\r\n";
    WriteFileBytes("patch.cfg", old);
    OpenWindow();
    SetFieldText(IDC_MAX_FPS, "60");
    SetBoxChecked(IDC_ENABLE, false);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_EQ(ReadFileBytes("patch.cfg"), old);
}

TEST_F(ConfigWindow, HelpButtonIsHandledNotLeftToContextHelp)
{
    OpenWindow();
    // Handled here (TRUE), so the dialog manager never starts context-help mode.
    EXPECT_EQ(ConfigDialogProc(dialog, WM_SYSCOMMAND, SC_CONTEXTHELP, 0), TRUE);
    EXPECT_EQ(GetCapture(), nullptr);
    // Other system commands are the platform's.
    EXPECT_EQ(ConfigDialogProc(dialog, WM_SYSCOMMAND, SC_CONTEXTHELP + 1, 0), FALSE);
}

TEST_F(ConfigWindow, StatusLogKeepsTheNewestLineInView)
{
    OpenWindow();
    for (int i = 0; i < 6; ++i)
        PressApply();
    const LRESULT top = SendDlgItemMessageA(dialog, IDC_STATUS_LOG, LB_GETTOPINDEX, 0, 0);
    const LRESULT count = static_cast<LRESULT>(StatusLines().size());
    EXPECT_EQ(count, static_cast<LRESULT>(LogWithoutGameFiles().size() + 6));
    EXPECT_GE(top, count - 3); // the log shows two lines; the newest is in view
}

} // namespace
