// "Fix first launch freeze": the box shows whether the game explorer's
// service location is emptied, and Apply empties it or puts the address back.
#include "registry_fixture.h"

#include "resources/resource.h"
#include "shell/freeze_fix.h"
#include "shell/shell_changes.h"

namespace {

using FreezeFix = RegistryTest;

TEST_F(FreezeFix, WithoutTheServiceLocationTheBoxIsHiddenAndNothingIsWritten)
{
    OpenWindow();
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_FREEZE_FIX)));
    // Even a box checked behind the player's back changes nothing.
    SetBoxChecked(IDC_FREEZE_FIX, true);
    PressApply();
    SetBoxChecked(IDC_FREEZE_FIX, false);
    PressApply();
    EXPECT_FALSE(KeyExists(kServiceLocationKey));

    // A key without the value is no different.
    StoreText(kServiceLocationKey, "other", "x");
    ReopenWindow();
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_FREEZE_FIX)));
    SetBoxChecked(IDC_FREEZE_FIX, true);
    PressApply();
    EXPECT_FALSE(ReadStoredValue(kServiceLocationKey, "games").exists);
}

TEST_F(FreezeFix, CheckingEmptiesTheServiceLocationAndUncheckingPutsTheAddressBack)
{
    StoreText(kServiceLocationKey, "games", kServiceUrl);
    OpenWindow();
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, IDC_FREEZE_FIX)));
    EXPECT_FALSE(IsBoxChecked(IDC_FREEZE_FIX));
    SetBoxChecked(IDC_FREEZE_FIX, true);
    PressApply();
    // No data at all, as the game explorer expects of a fix.
    EXPECT_EQ(ReadStoredValue(kServiceLocationKey, "games"), (StoredValue{true, REG_SZ, ""}));

    ReopenWindow();
    EXPECT_TRUE(IsBoxChecked(IDC_FREEZE_FIX));
    SetBoxChecked(IDC_FREEZE_FIX, false);
    PressApply();
    EXPECT_EQ(ReadStoredValue(kServiceLocationKey, "games"), Text(kServiceUrl));

    ReopenWindow();
    EXPECT_FALSE(IsBoxChecked(IDC_FREEZE_FIX));
}

TEST_F(FreezeFix, OnlyAnEmptyValueReadsAsApplied)
{
    struct Case {
        std::string bytes;
        int state;
    };
    const Case cases[] = {
        {"", kFreezeFixApplied},
        {std::string("", 1), kFreezeFixApplied},
        {std::string(kServiceUrl, sizeof kServiceUrl), kFreezeFixNotApplied},
        // 200 bytes fit; one more is not a value this tool knows how to change.
        {std::string(199, 'x') + '\0', kFreezeFixNotApplied},
        {std::string(200, 'x') + '\0', kFreezeFixUnavailable},
    };
    for (const Case &c : cases) {
        StoreValue(kServiceLocationKey, "games", REG_SZ, c.bytes);
        FillStackWithJunk();
        EXPECT_EQ(ReadFreezeFixState(), c.state) << c.bytes.size() << " bytes";
    }
}

} // namespace
