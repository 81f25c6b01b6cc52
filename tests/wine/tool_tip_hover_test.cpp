// Starts the built patchcfg.exe and rests the real pointer on its options,
// as a player does, then reads the tip that appears. Each shown tip is kept
// as a screenshot beside this test program.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "build_paths.h"
#include "platform/win32.h"
#include "resources/resource.h"
#include "running_tool.h"
#include "scratch_dir.h"
#include "screen_capture.h"

namespace {

const char kEnableTip[] = "Enable these settings and the other features of the patch - note the patch's in-game "
                          "menu options will reset to defaults if it is disabled";
const char kFreezeFixTip[] = "Prevent GameUX getting stuck trying to contact defunct Microsoft servers when first "
                             "launching Gravlok after a reboot";
const char kApplyTip[] = "Apply the settings";

class ToolTipHover : public ::testing::Test {
protected:
    void StartTool()
    {
        // Away from where the window opens: when the pointer already lies
        // on a control as the window opens, Wine's tip window shows nothing
        // for that control until the pointer has rested on another one.
        MovePointer(GetSystemMetrics(SM_CXSCREEN) - 10, GetSystemMetrics(SM_CYSCREEN) - 10);
        ASSERT_TRUE(tool_.Start(game_.Path()));
    }

    // Its tip window, once the pointer has come over the window.
    void FindTipWindow() { EnumWindows(FindToolTipWindow, reinterpret_cast<LPARAM>(this)); }


    // Off the window, so that the next rest on a control is a fresh arrival.
    void ParkPointer()
    {
        RECT frame;
        GetWindowRect(tool_.Window(), &frame);
        MovePointer(frame.right + 40, frame.bottom + 40);
    }

    void RestPointerOn(int id)
    {
        RECT r;
        GetWindowRect(tool_.Control(id), &r);
        MovePointer((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }

    // Through the input queue, as the mouse itself moves the pointer.
    static void MovePointer(int x, int y)
    {
        INPUT move = {};
        move.type = INPUT_MOUSE;
        move.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        move.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
        move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &move, sizeof move);
    }

    // The shown tip's text, or "" if no tip shows within the time.
    std::string WaitForShownTip(int milliseconds)
    {
        for (int waited = 0; waited < milliseconds; waited += 50) {
            if (!tip_)
                FindTipWindow();
            if (tip_ && IsWindowVisible(tip_)) {
                // UTF-16: Wine passes text between processes only so.
                wchar_t text[512] = {};
                SendMessageW(tip_, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text));
                if (text[0])
                    return std::string(text, text + wcslen(text));
            }
            Sleep(50);
        }
        return "";
    }

    bool WaitForTipToGo(int milliseconds)
    {
        for (int waited = 0; waited < milliseconds; waited += 50) {
            if (!IsWindowVisible(tip_))
                return true;
            Sleep(50);
        }
        return false;
    }

    RECT TipRect() const
    {
        RECT r;
        GetWindowRect(tip_, &r);
        return r;
    }

    void KeepScreenshot(const char *name)
    {
        RECT area, tip = TipRect();
        GetWindowRect(tool_.Window(), &area);
        UnionRect(&area, &area, &tip);
        InflateRect(&area, 8, 8);
        const std::string path = TestDirectory() + "\\" + name + ".bmp";
        EXPECT_TRUE(SaveScreenArea(area, path)) << path;
    }

    ScratchGameDir game_;
    RunningTool tool_;
    HWND tip_ = nullptr;

private:
    static BOOL CALLBACK FindToolTipWindow(HWND window, LPARAM self)
    {
        ToolTipHover *test = reinterpret_cast<ToolTipHover *>(self);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        char name[64] = {};
        if (owner == test->tool_.ProcessId() && GetClassNameA(window, name, sizeof name) &&
            lstrcmpiA(name, TOOLTIPS_CLASSA) == 0) {
            test->tip_ = window;
            return FALSE;
        }
        return TRUE;
    }
};

LONG Width(const RECT &r) { return r.right - r.left; }
LONG Height(const RECT &r) { return r.bottom - r.top; }

TEST_F(ToolTipHover, EnablePatchExplainsItselfWrappedAt250Pixels)
{
    StartTool();
    RestPointerOn(IDC_APPLY);
    ASSERT_EQ(WaitForShownTip(5000), kApplyTip);
    const RECT oneLine = TipRect();
    ParkPointer();
    ASSERT_TRUE(WaitForTipToGo(5000));

    RestPointerOn(IDC_ENABLE);
    ASSERT_EQ(WaitForShownTip(5000), kEnableTip);
    KeepScreenshot("tip_enable_patch");
    // 250 pixels of text plus the tip's own border and margins; unwrapped,
    // this text would run across most of the screen.
    const RECT wrapped = TipRect();
    EXPECT_LE(Width(wrapped), 250 + 12);
    EXPECT_GE(Width(wrapped), 200);
    EXPECT_GE(Height(wrapped), 2 * Height(oneLine)) << "fewer than three lines";
}

TEST_F(ToolTipHover, TipWindowIsMadeWhenThePointerFirstComes)
{
    StartTool();
    Sleep(500);
    FindTipWindow();
    EXPECT_EQ(tip_, nullptr) << "made before the pointer came over the window";
    RestPointerOn(IDC_APPLY);
    EXPECT_EQ(WaitForShownTip(5000), kApplyTip);
}

TEST_F(ToolTipHover, TipStaysTenSecondsThenGoes)
{
    StartTool();
    RestPointerOn(IDC_ENABLE);
    ASSERT_EQ(WaitForShownTip(5000), kEnableTip);
    EXPECT_FALSE(WaitForTipToGo(8000)) << "gone within 8 seconds";
    EXPECT_TRUE(WaitForTipToGo(7000)) << "still shown after 15 seconds";
}

TEST_F(ToolTipHover, FreezeFixExplainsItselfUnlessHidden)
{
    StartTool();
    HWND fix = tool_.Control(IDC_FREEZE_FIX);
    if (IsWindowVisible(fix)) {
        RestPointerOn(IDC_FREEZE_FIX);
        EXPECT_EQ(WaitForShownTip(5000), kFreezeFixTip);
        KeepScreenshot("tip_fix_first_launch_freeze");
        ParkPointer();
        ASSERT_TRUE(WaitForTipToGo(5000));
        // Hidden the way the tool hides it where there is nothing to fix.
        ShowWindow(fix, SW_HIDE);
    }
    RestPointerOn(IDC_FREEZE_FIX);
    // Four times the usual wait before a tip shows.
    EXPECT_EQ(WaitForShownTip(2000), "");
}

} // namespace
