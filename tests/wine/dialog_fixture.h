// Creates the real window from its template in this process, the way the
// program does, and reads and sets its controls the way a player would.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32.h"
#include "scratch_dir.h"

class DialogTest : public ::testing::Test {
protected:
    void TearDown() override;

    // Starts from the built-in defaults, as a fresh process does.
    void OpenWindow();

    std::vector<std::string> StatusLines() const;
    std::string FieldText(int id) const;
    void SetFieldText(int id, const char *text);
    bool IsBoxChecked(int id) const;
    void SetBoxChecked(int id, bool checked);
    void PressApply();
    // What the system sends as the pointer moves over a control.
    void PointerComesOver(int id);
    // To the screen's far corner, so that only the test's own messages
    // bring the pointer over the window.
    static void ParkPointerAway();

    ScratchGameDir game;
    HWND dialog = nullptr;
};

// The file as the program writes it on this platform: CR LF line ends.
std::string CrLf(const std::string &lines);

// The status log of a window opened in a directory without the game's files
// (as a scratch directory is): the installation checks' lines, then these.
std::vector<std::string> LogWithoutGameFiles(const std::vector<std::string> &later = {});
