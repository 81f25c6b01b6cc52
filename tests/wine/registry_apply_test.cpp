// Apply touches the registry only where the boxes differ from what it
// holds, and never after patch.cfg could not be saved.
#include "registry_fixture.h"

#include "resources/resource.h"

namespace {

using RegistryApply = RegistryTest;

TEST_F(RegistryApply, ApplyingAgainWithoutAChangeWritesNothing)
{
    StoreText(kServiceLocationKey, "games", kServiceUrl);
    OpenWindow();
    SetBoxChecked(IDC_DEMO_ASSOCIATION, true);
    SetBoxChecked(IDC_FREEZE_FIX, true);
    PressApply();
    ASSERT_EQ(ReadStoredValue(kDemoKey, nullptr), Text("Gravlok"));

    // Marks that any further write would replace.
    StoreText(kOpenCommandKey, nullptr, "mark");
    StoreText(kDemoKey, nullptr, "Gravlok");
    StoreText(kServiceLocationKey, "games", "mark");
    PressApply();
    EXPECT_EQ(ReadStoredValue(kOpenCommandKey, nullptr), Text("mark"));
    EXPECT_EQ(ReadStoredValue(kServiceLocationKey, "games"), Text("mark"));
}

TEST_F(RegistryApply, AReadOnlyPatchCfgLeavesTheRegistryExactlyAsItWas)
{
    WriteFileBytes("patch.cfg", "maxfps 120\r\n");
    SetFileAttributesA("patch.cfg", FILE_ATTRIBUTE_READONLY);
    const char elsewhere[] = "\"D:\\Gravlok\\gravlok.exe\" +map \"%1\"";

    // Boxes checked where nothing is in place: nothing may be written.
    StoreText(kDemoKey, nullptr, "DemoPlayer.dm2");
    StoreText(kServiceLocationKey, "games", kServiceUrl);
    OpenWindow();
    SetBoxChecked(IDC_DEMO_ASSOCIATION, true);
    SetBoxChecked(IDC_FREEZE_FIX, true);
    PressApply();
    ASSERT_EQ(StatusLines().back(), "Access denied to PATCH.CFG, try re-running as administrator");
    EXPECT_EQ(ReadStoredValue(kDemoKey, nullptr), Text("DemoPlayer.dm2"));
    EXPECT_FALSE(KeyExists(kProgramKey));
    EXPECT_EQ(ReadStoredValue(kServiceLocationKey, "games"), Text(kServiceUrl));

    // Boxes unchecked where both are in place: nothing may be removed.
    StoreText(kDemoKey, nullptr, "Gravlok");
    StoreText(kOpenCommandKey, nullptr, elsewhere);
    StoreValue(kServiceLocationKey, "games", REG_SZ, "");
    ReopenWindow();
    ASSERT_TRUE(IsBoxChecked(IDC_DEMO_ASSOCIATION));
    ASSERT_TRUE(IsBoxChecked(IDC_FREEZE_FIX));
    SetBoxChecked(IDC_DEMO_ASSOCIATION, false);
    SetBoxChecked(IDC_FREEZE_FIX, false);
    PressApply();
    EXPECT_EQ(ReadStoredValue(kDemoKey, nullptr), Text("Gravlok"));
    EXPECT_EQ(ReadStoredValue(kOpenCommandKey, nullptr), Text(elsewhere));
    EXPECT_EQ(ReadStoredValue(kServiceLocationKey, "games"), (StoredValue{true, REG_SZ, ""}));
}

} // namespace
