// The built patchcfg.exe as a separate process, driven from the test with
// the messages a player's clicks and keys send.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/win32.h"

class RunningTool {
public:
    RunningTool() = default;
    // Ends the tool if it is still running.
    ~RunningTool();
    RunningTool(const RunningTool &) = delete;
    RunningTool &operator=(const RunningTool &) = delete;

    // Starts the tool from beside the test program's directory in the game
    // directory, and waits for its window.
    ::testing::AssertionResult Start(const std::string &gameDirectory);
    // Waits for the window of a tool that something else started.
    ::testing::AssertionResult Attach();

    HWND Window() const { return window_; }
    DWORD ProcessId() const { return processId_; }
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    void SetBox(int id, bool checked);
    void SetField(int id, const char *text);
    std::string Field(int id) const;
    std::string LastStatusLine() const;
    void Apply();
    // The exit code once the process has ended, or -1 if it is still running.
    long WaitForExit();
    // The close box; true once the process has ended with 0.
    bool Close();

private:
    ::testing::AssertionResult WaitForWindow();

    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    HWND window_ = nullptr;
};
