// The resolution drop-down as a player meets it: filled from the display's
// real modes (Wine's virtual desktop reports 20 sizes at three depths, five
// of them below 480 high), the configured size selected, and Apply saving
// the entry chosen.
#include "dialog_fixture.h"

#include <algorithm>
#include <set>
#include <utility>

#include "display/mode_key.h"
#include "resources/resource.h"
#include "settings/patch_settings.h"

namespace {

using Sizes = std::vector<std::pair<int32_t, int32_t>>;

// The display's sizes at least 480 high and the configured one, each once,
// by width then height.
Sizes ExpectedSizes(int32_t width, int32_t height)
{
    std::set<std::pair<int32_t, int32_t>> sizes = {{width, height}};
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    for (DWORD i = 0; EnumDisplaySettingsA(nullptr, i, &mode); ++i)
        if (mode.dmPelsHeight >= 480)
            sizes.insert({static_cast<int32_t>(mode.dmPelsWidth), static_cast<int32_t>(mode.dmPelsHeight)});
    return Sizes(sizes.begin(), sizes.end());
}

class ResolutionList : public DialogTest {
protected:
    LRESULT SendToList(UINT message, WPARAM wParam, LPARAM lParam = 0) const
    {
        return SendDlgItemMessageA(dialog, IDC_RESOLUTION, message, wParam, lParam);
    }

    std::string Label(LRESULT index) const
    {
        char label[128] = {};
        SendToList(CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(label));
        return label;
    }

    std::vector<std::string> Labels() const
    {
        std::vector<std::string> labels;
        for (LRESULT i = 0; i < SendToList(CB_GETCOUNT, 0); ++i)
            labels.push_back(Label(i));
        return labels;
    }

    // The sizes the entries stand for, as Apply reads them.
    Sizes EntrySizes() const
    {
        Sizes sizes;
        for (LRESULT i = 0; i < SendToList(CB_GETCOUNT, 0); ++i) {
            const Resolution size = ResolutionFromKey(static_cast<int32_t>(SendToList(CB_GETITEMDATA, i)));
            sizes.push_back({size.width, size.height});
        }
        return sizes;
    }

    std::string SelectedLabel() const { return Label(SendToList(CB_GETCURSEL, 0)); }

    // As the Tab key or a click gives the list the focus.
    void ReachForTheList() { SetFocus(GetDlgItem(dialog, IDC_RESOLUTION)); }

    void Choose(const char *label)
    {
        const LRESULT index = SendToList(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(label));
        ASSERT_GE(index, 0) << label << " is not in the list";
        SendToList(CB_SETCURSEL, index);
    }
};

bool HasResolution(const std::string &saved, const char *width, const char *height)
{
    return saved.find(std::string("\r\nwidth ") + width + "\r\nheight " + height + "\r\n") != std::string::npos;
}

TEST_F(ResolutionList, DisplayModesEachOnceWithTheDefaultSelected)
{
    // Without repeats and low modes from the display this test shows nothing.
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    DWORD modes = 0, low = 0;
    for (; EnumDisplaySettingsA(nullptr, modes, &mode); ++modes)
        low += mode.dmPelsHeight < 480;
    ASSERT_GT(modes, ExpectedSizes(1024, 768).size() + low) << "no repeated sizes: not in Wine's virtual desktop?";
    ASSERT_GT(low, 0u);

    OpenWindow();
    ReachForTheList();
    EXPECT_EQ(EntrySizes(), ExpectedSizes(1024, 768));
    EXPECT_EQ(SelectedLabel(), "1024 x 768 - 4 : 3");
    // Labels as the program's own build computes them.
    const std::vector<std::string> labels = Labels();
    for (const char *label : {"640 x 480 - 4 : 3", "1280 x 800 - 16 : 10", "1280 x 1024 - 5 : 4",
                              "1366 x 768 - 16 : 9", "1680 x 1050 - 16 : 10", "1920 x 1080 - 16 : 9"})
        EXPECT_NE(std::find(labels.begin(), labels.end(), label), labels.end()) << label;
}

TEST_F(ResolutionList, DefaultIsSavedOnlyWhenThePlayerChecksSetResolution)
{
    OpenWindow();
    EXPECT_EQ(patchSettings.width, 1024);
    EXPECT_EQ(patchSettings.height, 768);
    EXPECT_FALSE(IsBoxChecked(IDC_SET_RESOLUTION));
    PressApply();
    EXPECT_EQ(ReadFileBytes("patch.cfg").find("\nwidth "), std::string::npos);

    SetBoxChecked(IDC_SET_RESOLUTION, true);
    PressApply();
    EXPECT_TRUE(HasResolution(ReadFileBytes("patch.cfg"), "1024", "768"));
}

TEST_F(ResolutionList, ApplySavesTheChosenEntry)
{
    WriteFileBytes("patch.cfg", "width 800\r\nheight 600\r\n");
    OpenWindow();
    ReachForTheList();
    EXPECT_EQ(SelectedLabel(), "800 x 600 - 4 : 3");
    Choose("1680 x 1050 - 16 : 10");
    PressApply();
    EXPECT_TRUE(HasResolution(ReadFileBytes("patch.cfg"), "1680", "1050"));

    // Unchecked, the choice is not saved at all.
    SetBoxChecked(IDC_SET_RESOLUTION, false);
    PressApply();
    const std::string saved = ReadFileBytes("patch.cfg");
    EXPECT_EQ(saved.find("\nwidth "), std::string::npos);
    EXPECT_EQ(saved.find("\nheight "), std::string::npos);
}

TEST_F(ResolutionList, ConfiguredSizeTheDisplayLacksIsListedInPlaceAndSelected)
{
    WriteFileBytes("patch.cfg", "width 1000\r\nheight 700\r\n");
    OpenWindow();
    ReachForTheList();
    EXPECT_EQ(EntrySizes(), ExpectedSizes(1000, 700));
    EXPECT_EQ(SelectedLabel(), "1000 x 700 - 10 : 7");
    PressApply();
    EXPECT_TRUE(HasResolution(ReadFileBytes("patch.cfg"), "1000", "700"));
}

TEST_F(ResolutionList, ConfiguredLowModeIsListedOnceAndSelected)
{
    // The display reports 640 x 400 at every depth but offers it only because it is configured.
    WriteFileBytes("patch.cfg", "width 640\r\nheight 400\r\n");
    OpenWindow();
    ReachForTheList();
    EXPECT_EQ(EntrySizes(), ExpectedSizes(640, 400));
    EXPECT_EQ(SendToList(CB_GETCURSEL, 0), 0);
    EXPECT_EQ(SelectedLabel(), "640 x 400 - 16 : 10");
}

// The display's modes are read only when the player reaches for the list;
// until then the closed list shows the configured size, all it can show.
TEST_F(ResolutionList, ModesAreListedOnceWhenTheKeyboardReachesTheList)
{
    ParkPointerAway();
    WriteFileBytes("patch.cfg", "width 1280\r\nheight 1024\r\n");
    OpenWindow();
    EXPECT_EQ(EntrySizes(), (Sizes{{1280, 1024}}));
    EXPECT_EQ(SelectedLabel(), "1280 x 1024 - 5 : 4");

    ReachForTheList();
    EXPECT_EQ(EntrySizes(), ExpectedSizes(1280, 1024));
    EXPECT_EQ(SelectedLabel(), "1280 x 1024 - 5 : 4");
    // Some modes sort before it, so it has moved down.
    EXPECT_GT(SendToList(CB_GETCURSEL, 0), 0);

    SetFocus(GetDlgItem(dialog, IDC_SET_RESOLUTION));
    ReachForTheList();
    EXPECT_EQ(EntrySizes(), ExpectedSizes(1280, 1024));
}

TEST_F(ResolutionList, ModesAreListedWhenThePointerComesOverTheList)
{
    ParkPointerAway();
    OpenWindow();
    PointerComesOver(IDC_APPLY);
    PointerComesOver(IDC_SET_RESOLUTION);
    EXPECT_EQ(SendToList(CB_GETCOUNT, 0), 1);
    PointerComesOver(IDC_RESOLUTION);
    EXPECT_EQ(EntrySizes(), ExpectedSizes(1024, 768));
    EXPECT_EQ(SelectedLabel(), "1024 x 768 - 4 : 3");
}

// Apply without "Set resolution" clears the size in the settings; the list
// reached for afterwards still holds the configured size, once, selected.
TEST_F(ResolutionList, ApplyBeforeTheListIsReachedKeepsTheConfiguredEntry)
{
    ParkPointerAway();
    WriteFileBytes("patch.cfg", "width 800\r\nheight 600\r\n");
    OpenWindow();
    SetBoxChecked(IDC_SET_RESOLUTION, false);
    PressApply();
    ASSERT_EQ(patchSettings.width, 0);

    ReachForTheList();
    EXPECT_EQ(EntrySizes(), ExpectedSizes(800, 600));
    EXPECT_EQ(SelectedLabel(), "800 x 600 - 4 : 3");
    SetBoxChecked(IDC_SET_RESOLUTION, true);
    PressApply();
    EXPECT_TRUE(HasResolution(ReadFileBytes("patch.cfg"), "800", "600"));
}

} // namespace
