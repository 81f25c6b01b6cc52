// What a test run as the player cannot do from inside Wine, asked of
// tests/wine/run_as_player.sh, which runs beside it outside Wine as root.
// Each call returns once the request has been carried out, or says why not.
#pragma once

#include <gtest/gtest.h>

#include <string>

// As a game installed by the administrator: the player may still read the
// file or directory, but no longer write it.
::testing::AssertionResult GiveToRoot(const std::string &path);
// The administrator hands it back.
::testing::AssertionResult GiveToPlayer(const std::string &path);

// A file size limit on the running tool, which fails its writes past that
// size as a full disk would, and its lifting.
::testing::AssertionResult LimitToolFileSize(long bytes);
::testing::AssertionResult LiftToolFileSizeLimit();

// The player types "wine patchcfg.exe" in a shell whose current directory
// is the one given.
::testing::AssertionResult StartToolFromShellIn(const std::string &directory);
