// "Open DM2 files with Gravlok": the box shows whether double-clicked demos
// open in the game, and Apply makes or removes that association.
#include "registry_fixture.h"

#include "resources/resource.h"
#include "shell/demo_association.h"

namespace {

using DemoAssociation = RegistryTest;

TEST_F(DemoAssociation, CheckingWritesTheOpenCommandAndTheAssociation)
{
    OpenWindow();
    EXPECT_FALSE(IsBoxChecked(IDC_DEMO_ASSOCIATION));
    SetBoxChecked(IDC_DEMO_ASSOCIATION, true);
    PressApply();
    // Sizes count the terminator: the shell reads these back as whole strings.
    EXPECT_EQ(ReadStoredValue(kOpenCommandKey, nullptr), Text("\"" + game.Path() + "\\gravlok.exe\" +map \"%1\""));
    EXPECT_EQ(ReadStoredValue(kDemoKey, nullptr), Text("Gravlok"));

    ReopenWindow();
    EXPECT_TRUE(IsBoxChecked(IDC_DEMO_ASSOCIATION));
}

TEST_F(DemoAssociation, AnAssociationWithAnotherProgramIsOverwritten)
{
    StoreText(kDemoKey, nullptr, "DemoPlayer.dm2");
    OpenWindow();
    EXPECT_FALSE(IsBoxChecked(IDC_DEMO_ASSOCIATION));
    SetBoxChecked(IDC_DEMO_ASSOCIATION, true);
    PressApply();
    EXPECT_EQ(ReadStoredValue(kDemoKey, nullptr), Text("Gravlok"));
    EXPECT_TRUE(ReadStoredValue(kOpenCommandKey, nullptr).exists);
}

TEST_F(DemoAssociation, UncheckingRemovesBothKeysWithEverythingUnderThem)
{
    StoreText(kDemoKey, nullptr, "Gravlok");
    StoreText("software\\classes\\.dm2\\OpenWithProgids", "DemoPlayer.dm2", "");
    StoreText(kOpenCommandKey, nullptr, "\"C:\\Games\\Gravlok\\gravlok.exe\" +map \"%1\"");
    StoreText("software\\classes\\Gravlok\\DefaultIcon", nullptr, "C:\\Games\\Gravlok\\gravlok.exe,0");
    OpenWindow();
    EXPECT_TRUE(IsBoxChecked(IDC_DEMO_ASSOCIATION));
    SetBoxChecked(IDC_DEMO_ASSOCIATION, false);
    PressApply();
    EXPECT_FALSE(KeyExists(kDemoKey));
    EXPECT_FALSE(KeyExists(kProgramKey));

    ReopenWindow();
    EXPECT_FALSE(IsBoxChecked(IDC_DEMO_ASSOCIATION));
}

TEST_F(DemoAssociation, AnAssociationFoundInPlaceIsNotRewritten)
{
    // Made by an install elsewhere: keeping the box checked must not move it here.
    const char elsewhere[] = "\"D:\\Gravlok\\gravlok.exe\" +map \"%1\"";
    StoreText(kDemoKey, nullptr, "Gravlok");
    StoreText(kOpenCommandKey, nullptr, elsewhere);
    OpenWindow();
    ASSERT_TRUE(IsBoxChecked(IDC_DEMO_ASSOCIATION));
    PressApply();
    EXPECT_EQ(ReadStoredValue(kOpenCommandKey, nullptr), Text(elsewhere));
}

TEST_F(DemoAssociation, OnlyTheNameGravlokReadsAsAssociated)
{
    struct Case {
        DWORD type;
        std::string bytes;
        int associated;
    };
    const Case cases[] = {
        {REG_SZ, std::string("Gravlok", 8), 1},
        // The registry adds no terminator to binary data: the name alone.
        {REG_BINARY, "Gravlok", 1},
        {REG_SZ, std::string("Grav", 5), 0},
        {REG_SZ, std::string("GRAVLOK", 8), 0},
        {REG_SZ, std::string("Gravlok.Demo", 13), 0},
        {REG_SZ, std::string("", 1), 0},
        // 20 bytes fit; one more is a value too long to be ours.
        {REG_SZ, std::string("Gravlok\0padding.pad\0", 20), 1},
        {REG_SZ, std::string("Gravlok\0padding.padd\0", 21), 0},
    };
    for (const Case &c : cases) {
        StoreValue(kDemoKey, nullptr, c.type, c.bytes);
        FillStackWithJunk();
        EXPECT_EQ(IsDemoAssociated(), c.associated) << "stored \"" << c.bytes.c_str() << "\", " << c.bytes.size() << " bytes";
    }
    SHDeleteKeyA(HKEY_CURRENT_USER, kDemoKey);
    EXPECT_EQ(IsDemoAssociated(), 0);
}

TEST_F(DemoAssociation, TheCommandHoldsTheWholeGameDirectoryHoweverDeep)
{
    // Longer than any fixed buffer the command might be built in.
    std::string deep = game.Path();
    while (deep.size() < 240) {
        deep += "\\" + std::string(std::min<size_t>(40, 240 - deep.size()), 'd');
        ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr)) << deep << " error " << GetLastError();
    }
    ASSERT_TRUE(SetCurrentDirectoryA(deep.c_str()));
    OpenWindow();
    SetBoxChecked(IDC_DEMO_ASSOCIATION, true);
    PressApply();
    ASSERT_EQ(StatusLines().back(), "Config written to PATCH.CFG");
    EXPECT_EQ(ReadStoredValue(kOpenCommandKey, nullptr), Text("\"" + deep + "\\gravlok.exe\" +map \"%1\""));
    EXPECT_EQ(ReadStoredValue(kDemoKey, nullptr), Text("Gravlok"));
}

} // namespace
