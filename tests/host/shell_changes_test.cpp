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
    EXPECT_EQ(BuildOpenCommand("C:\\Program Files\\Gravlok"),
              "\"C:\\Program Files\\Gravlok\\gravlok.exe\" +map \"%1\"");
    // No limit on the directory: the whole path always reaches the command.
    const std::string deep = "D:\\" + std::string(400, 'g');
    const std::string command = BuildOpenCommand(deep);
    EXPECT_EQ(command.size(), 1 + deep.size() + 23);
    EXPECT_EQ(command.compare(1, deep.size(), deep), 0);
}

} // namespace
