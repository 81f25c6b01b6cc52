// Drives the configuration window as a player does. The same calls serve
// the window made in this process from the program's template and the
// window of a running patchcfg.exe: both take the same messages.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32.h"
#include "resources/resource.h"

// A fresh, empty game directory, current for the test's life.
struct ScratchGameDir {
    ScratchGameDir();
    ~ScratchGameDir();
    std::string path, previous;
};
void WriteBytes(const std::string &name, const std::string &bytes);
std::string ReadBytes(const std::string &name); // "<none>" when it cannot be read
// Every file below the current directory with its bytes, and every directory.
std::string DirectorySnapshot(const std::string &prefix = "");
std::string BuildDirectory(); // of this test program, its fixtures beside it

// The window from the program's template in this process, the settings at their defaults.
HWND OpenConfigWindow();
// The built patchcfg.exe started in the current directory: its window, and its exit code (-1 while running).
::testing::AssertionResult StartTool(HWND *window, HANDLE *process);
int WaitForExit(HANDLE process);

std::vector<std::string> StatusLines(HWND window);
std::string Field(HWND window, int id);
void SetField(HWND window, int id, const char *text);
bool Box(HWND window, int id);
void SetBox(HWND window, int id, bool checked);
void Apply(HWND window);

// The current user's keys that Apply may write, reset to a machine where .dm2
// is not associated and the service location holds the system's address.
extern const char kDemoKey[], kCommandKey[], kServiceKey[], kServiceUrl[], kOverridesKey[];
void ResetShellKeys(bool withServiceLocation = true);
std::string StoredText(const char *key, const char *value); // or "<none>"
void StoreText(const char *key, const char *value, const std::string &text);
