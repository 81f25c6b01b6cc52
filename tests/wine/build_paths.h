// Where the build put the program and these tests, as Windows paths.
#pragma once

#include <string>

// The directory of the running test program; screenshots are kept there.
std::string TestDirectory();

// The patchcfg.exe that players get, built beside the tests' directory.
std::string BuiltProgramPath();
