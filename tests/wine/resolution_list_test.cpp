// The resolution drop-down as a player meets it: filled from the display's
// real modes (Wine's virtual desktop reports 20 sizes at three depths, five
// of them below 480 high), the configured size selected, and Apply saving
// the entry chosen.
#include "dialog_fixture.h"

#include <algorithm>

#include "display/mode_key.h"
#include "resources/resource.h"
#include "settings/patch_settings.h"

namespace {

struct Entry {
    std::string label;
    int32_t width;
    int32_t height;
};

bool SameSize(const Entry &a, const Entry &b)
{
    return a.width == b.width && a.height == b.height;
}

// What the display offers at least 480 high, each size once, ascending.
std::vector<Entry> DisplaySizes()
{
    std::vector<Entry> sizes;
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    for (DWORD i = 0; EnumDisplaySettingsA(nullptr, i, &mode); ++i) {
        const Entry size = {"", static_cast<int32_t>(mode.dmPelsWidth), static_cast<int32_t>(mode.dmPelsHeight)};
        if (size.height >= 480 && std::none_of(sizes.begin(), sizes.end(), [&](const Entry &e) { return SameSize(e, size); }))
            sizes.push_back(size);
    }
    std::sort(sizes.begin(), sizes.end(), [](const Entry &a, const Entry &b) {
        return a.width != b.width ? a.width < b.width : a.height < b.height;
    });
    return sizes;
}

class ResolutionList : public DialogTest {
protected:
    LRESULT SendToList(UINT message, WPARAM wParam, LPARAM lParam = 0) const
    {
        return SendDlgItemMessageA(dialog, IDC_RESOLUTION, message, wParam, lParam);
    }

    std::vector<Entry> Entries() const
    {
        std::vector<Entry> entries;
        const LRESULT count = SendToList(CB_GETCOUNT, 0);
        for (LRESULT i = 0; i < count; ++i) {
            char label[128] = {};
            SendToList(CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(label));
            const Resolution size = ResolutionFromKey(static_cast<int32_t>(SendToList(CB_GETITEMDATA, i)));
            entries.push_back({label, size.width, size.height});
        }
        return entries;
    }

    std::string SelectedLabel() const
    {
        const LRESULT selected = SendToList(CB_GETCURSEL, 0);
        char label[128] = {};
        if (selected >= 0)
            SendToList(CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(label));
        return label;
    }

    void Choose(const char *label)
    {
        const LRESULT index = SendToList(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(label));
        ASSERT_GE(index, 0) << label << " is not in the list";
        SendToList(CB_SETCURSEL, index);
    }

    // The display's sizes with the configured one put in its place.
    static std::vector<Entry> ExpectedSizes(Entry configured)
    {
        std::vector<Entry> sizes = DisplaySizes();
        if (std::none_of(sizes.begin(), sizes.end(), [&](const Entry &e) { return SameSize(e, configured); }))
            sizes.push_back(configured);
        std::stable_sort(sizes.begin(), sizes.end(), [](const Entry &a, const Entry &b) {
            return a.width != b.width ? a.width < b.width : a.height < b.height;
        });
        return sizes;
    }

    static void ExpectSizes(const std::vector<Entry> &actual, const std::vector<Entry> &expected)
    {
        ASSERT_EQ(actual.size(), expected.size());
        for (size_t i = 0; i < actual.size(); ++i) {
            EXPECT_EQ(actual[i].width, expected[i].width) << "entry " << i << ": " << actual[i].label;
            EXPECT_EQ(actual[i].height, expected[i].height) << "entry " << i << ": " << actual[i].label;
        }
    }
};

TEST_F(ResolutionList, DisplayModesEachOnceWithTheDefaultSelected)
{
    // The display must report repeats and low modes, or this test shows nothing.
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    DWORD modes = 0;
    bool low = false;
    for (; EnumDisplaySettingsA(nullptr, modes, &mode); ++modes)
        low = low || mode.dmPelsHeight < 480;
    ASSERT_GT(modes, DisplaySizes().size()) << "no repeated sizes: not in Wine's virtual desktop?";
    ASSERT_TRUE(low);

    OpenWindow();
    const std::vector<Entry> entries = Entries();
    ExpectSizes(entries, ExpectedSizes({"", 1024, 768}));
    EXPECT_EQ(SelectedLabel(), "1024 x 768 - 4 : 3");
    // Labels as the program's own build computes them.
    const auto has = [&](const char *label) {
        return std::any_of(entries.begin(), entries.end(), [&](const Entry &e) { return e.label == label; });
    };
    EXPECT_TRUE(has("640 x 480 - 4 : 3"));
    EXPECT_TRUE(has("1280 x 800 - 16 : 10"));
    EXPECT_TRUE(has("1280 x 1024 - 5 : 4"));
    EXPECT_TRUE(has("1366 x 768 - 16 : 9"));
    EXPECT_TRUE(has("1680 x 1050 - 16 : 10"));
    EXPECT_TRUE(has("1920 x 1080 - 16 : 9"));
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
    EXPECT_NE(ReadFileBytes("patch.cfg").find("\r\nwidth 1024\r\nheight 768\r\n"), std::string::npos);
}

TEST_F(ResolutionList, ApplySavesTheChosenEntry)
{
    WriteFileBytes("patch.cfg", "width 800\r\nheight 600\r\n");
    OpenWindow();
    EXPECT_EQ(SelectedLabel(), "800 x 600 - 4 : 3");
    Choose("1680 x 1050 - 16 : 10");
    PressApply();
    EXPECT_NE(ReadFileBytes("patch.cfg").find("\r\nwidth 1680\r\nheight 1050\r\n"), std::string::npos);

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
    const std::vector<Entry> entries = Entries();
    ExpectSizes(entries, ExpectedSizes({"", 1000, 700}));
    EXPECT_EQ(SelectedLabel(), "1000 x 700 - 10 : 7");
    PressApply();
    EXPECT_NE(ReadFileBytes("patch.cfg").find("\r\nwidth 1000\r\nheight 700\r\n"), std::string::npos);
}

TEST_F(ResolutionList, ConfiguredLowModeIsListedOnceAndSelected)
{
    // The display reports 640 x 400 at every depth, but offers it only because it is configured.
    WriteFileBytes("patch.cfg", "width 640\r\nheight 400\r\n");
    OpenWindow();
    const std::vector<Entry> entries = Entries();
    ExpectSizes(entries, ExpectedSizes({"", 640, 400}));
    EXPECT_EQ(entries.front().label, "640 x 400 - 16 : 10");
    EXPECT_EQ(SendToList(CB_GETCURSEL, 0), 0);
}

} // namespace
