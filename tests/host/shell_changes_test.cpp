// What Apply decides to do to the registry from the boxes and what the
// window read when it opened.
#include <gtest/gtest.h>

#include "shell/shell_changes.h"

namespace {

TEST(AssociationChange, OnlyABoxThatDiffersFromTheFlagChangesAnything)
{
    EXPECT_EQ(ChooseAssociationChange(true, 0), AssociationChange::Write);
    EXPECT_EQ(ChooseAssociationChange(false, 1), AssociationChange::Remove);
    EXPECT_EQ(ChooseAssociationChange(true, 1), AssociationChange::None);
    EXPECT_EQ(ChooseAssociationChange(false, 0), AssociationChange::None);
}

TEST(FreezeFixChange, AnUnavailableFixIsNeverTouched)
{
    EXPECT_EQ(ChooseFreezeFixChange(true, kFreezeFixUnavailable), FreezeFixChange::None);
    EXPECT_EQ(ChooseFreezeFixChange(false, kFreezeFixUnavailable), FreezeFixChange::None);
}

TEST(FreezeFixChange, OnlyABoxThatDiffersFromTheStateChangesAnything)
{
    EXPECT_EQ(ChooseFreezeFixChange(true, kFreezeFixNotApplied), FreezeFixChange::Apply);
    EXPECT_EQ(ChooseFreezeFixChange(false, kFreezeFixApplied), FreezeFixChange::Remove);
    EXPECT_EQ(ChooseFreezeFixChange(true, kFreezeFixApplied), FreezeFixChange::None);
    EXPECT_EQ(ChooseFreezeFixChange(false, kFreezeFixNotApplied), FreezeFixChange::None);
}

TEST(OpenCommand, QuotesTheGameAndTheDemoSoSpacesSurvive)
{
    wchar_t command[kOpenCommandRoom];
    ASSERT_TRUE(BuildOpenCommand(L"C:\\Program Files\\Gravlok", command));
    EXPECT_EQ(std::wstring(command), L"\"C:\\Program Files\\Gravlok\\gravlok.exe\" +map \"%1\"");
    // The deepest directory a program starts in reaches the command whole;
    // a longer one gives no command rather than a cut one.
    const std::wstring deep = L"D:\\" + std::wstring(257, L'g');
    ASSERT_TRUE(BuildOpenCommand(deep.c_str(), command));
    EXPECT_EQ(std::wstring(command), L"\"" + deep + L"\\gravlok.exe\" +map \"%1\"");
    EXPECT_FALSE(BuildOpenCommand((deep + L"g").c_str(), command));
}

} // namespace
