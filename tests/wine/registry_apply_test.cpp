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

    // Boxes checked where nothing is in place: nothing may be written.
    StoreText(kDemoKey, nullptr, "DemoPlayer.dm2");
    StoreText(kServiceLocationKey, "games", kServiceUrl);
    SavedRegistryKey demo(kDemoKey), program(kProgramKey), serviceLocation(kServiceLocationKey);
    OpenWindow();
    SetBoxChecked(IDC_DEMO_ASSOCIATION, true);
    SetBoxChecked(IDC_FREEZE_FIX, true);
    PressApply();
    ASSERT_EQ(StatusLines().back(), "Access denied to PATCH.CFG, try re-running as administrator");
    EXPECT_TRUE(demo.Unchanged());
    EXPECT_TRUE(program.Unchanged());
    EXPECT_TRUE(serviceLocation.Unchanged());

    // Boxes unchecked where both are in place: nothing may be removed.
    StoreText(kDemoKey, nullptr, "Gravlok");
    StoreText(kOpenCommandKey, nullptr, "\"C:\\Games\\Gravlok\\gravlok.exe\" +map \"%1\"");
    StoreValue(kServiceLocationKey, "games", REG_SZ, "");
    SavedRegistryKey demoInPlace(kDemoKey), programInPlace(kProgramKey), fixInPlace(kServiceLocationKey);
    ReopenWindow();
    ASSERT_TRUE(IsBoxChecked(IDC_DEMO_ASSOCIATION));
    ASSERT_TRUE(IsBoxChecked(IDC_FREEZE_FIX));
    SetBoxChecked(IDC_DEMO_ASSOCIATION, false);
    SetBoxChecked(IDC_FREEZE_FIX, false);
    PressApply();
    EXPECT_TRUE(demoInPlace.Unchanged());
    EXPECT_TRUE(programInPlace.Unchanged());
    EXPECT_TRUE(fixInPlace.Unchanged());
}

} // namespace
