// Apply while the platform and other programs get in the save's way, and a
// save stopped after any of its steps: the game directory then holds
// patch.cfg with the old settings or the new, whole, and nothing else.
#include "driver.h"
#include "settings/config_save.h"

// A file the game reads as maxfps 120; longer than what Apply saves, so a
// rewrite in place that left its tail would read as a mix.
static const std::string kOld = std::string(400, '#') + "\r\nmaxfps 120\r\n";

// Refuses a step with an error, as the platform would; 1177 at Replace also
// leaves the old file moved aside, as ReplaceFile stopping half-way does.
// Or, with no error, lets the step meet the new file held open by another
// program, sharing all but deletion, for that many attempts.
struct Refusal {
    SaveStep step;
    DWORD error;
    int heldAttempts = 0;
};
static std::vector<Refusal> refusals;
static int attempts;
static HANDLE heldNew;
static std::vector<std::map<std::string, std::string>> stops; // the directory before each step that changed it

static DWORD Meet(SaveStep next)
{
    const auto now = Files();
    if (stops.empty() || now != stops.back())
        stops.push_back(now);
    for (const Refusal &refusal : refusals) {
        if (refusal.step == next && refusal.heldAttempts && attempts++ == 0)
            heldNew = CreateFileA("patch.cfg.saving", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, 0, OPEN_EXISTING, 0, 0);
        if (refusal.step == next && refusal.heldAttempts && attempts > refusal.heldAttempts)
            CloseHandle(heldNew);
        if (refusal.step == next && refusal.error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
            MoveFileA("patch.cfg", "patch.cfg.replaced");
        if (refusal.step == next)
            return refusal.error;
    }
    return 0;
}

static std::string WithoutBlankLinesAtTheEnd(std::string bytes)
{
    return bytes.erase(bytes.find_last_not_of("\r\n") + 1);
}

// Each row: what stands in the save's way, and the newest lines of the log;
// patch.cfg is then all the directory holds. Then the next start after a
// stop before each step of that save: it reads patch.cfg whole, the old
// settings or the new, and leaves nothing of the save behind.
TEST(SavingPatchCfg, KeepsAWholePatchCfgWhateverStandsInTheWayOrStopsIt)
{
    ScratchGameDir game;
    ResetShellKeys();
    saveStepHook = Meet;
    const std::string written = "Config written to PATCH.CFG", failed = "Failed to write PATCH.CFG";
    const SaveStep replace = SaveStep::Replace, finish = SaveStep::FinishReplace, write = SaveStep::WriteInPlace;
    const struct { std::vector<Refusal> refusals; bool heldByEditor; std::vector<std::string> log; } rows[] = {
        {{}, false, {written}},
        {{}, true, {written}}, // sharing all but deletion: it cannot be replaced
        {{{replace, 0, 3}}, false, {written}},
        {{{replace, ERROR_ACCESS_DENIED}}, false, {written}},
        {{{replace, ERROR_SHARING_VIOLATION}}, false, {written}},
        {{{replace, ERROR_INVALID_PARAMETER}}, false, {written}},
        {{{replace, ERROR_UNABLE_TO_MOVE_REPLACEMENT}}, false, {written}},
        {{{replace, ERROR_UNABLE_TO_MOVE_REPLACEMENT_2}}, false, {written}},
        {{{replace, ERROR_UNABLE_TO_MOVE_REPLACEMENT_2}, {finish, ERROR_SHARING_VIOLATION}}, false, {written}},
        {{{replace, ERROR_UNABLE_TO_MOVE_REPLACEMENT_2}, {finish, ERROR_SHARING_VIOLATION},
          {SaveStep::OpenInPlace, ERROR_SHARING_VIOLATION}}, false, {failed}},
        {{{replace, ERROR_INVALID_PARAMETER}, {write, ERROR_DISK_FULL}}, false, {failed}},
        {{{replace, ERROR_INVALID_PARAMETER}, {write, ERROR_DISK_FULL}, {SaveStep::RestoreInPlace, ERROR_DISK_FULL}},
         false, {failed, "Failed to restore PATCH.CFG, it may be incomplete"}},
    };
    std::string saved;
    for (const auto &row : rows) {
        SCOPED_TRACE(&row - rows);
        WriteBytes("patch.cfg", kOld);
        const DWORD sharing = FILE_SHARE_READ | FILE_SHARE_WRITE, access = GENERIC_READ | GENERIC_WRITE;
        HANDLE held = row.heldByEditor ? CreateFileA("patch.cfg", access, sharing, 0, OPEN_EXISTING, 0, 0) : nullptr;
        refusals = row.refusals;
        attempts = 0;
        stops.clear();
        HWND window = OpenConfigWindow();
        SetField(window, IDC_MAX_FPS, "300");
        Apply(window);
        CloseHandle(held);
        const std::vector<std::string> shown = VisibleStatusLines(window); // the newest lines, in view
        EXPECT_EQ(std::vector<std::string>(shown.end() - std::min(shown.size(), row.log.size()), shown.end()), row.log);
        DestroyWindow(window);
        if (row.log[0] == written && saved.empty())
            saved = ReadBytes("patch.cfg");
        EXPECT_EQ(Files(), (std::map<std::string, std::string>{{"patch.cfg", row.log[0] == written ? saved : kOld}}));

        refusals.clear();
        const auto seen = stops;
        EXPECT_GE(seen.size(), 3u);
        for (const auto &stop : seen) {
            for (const auto &file : Files())
                DeleteFileA(file.first.c_str());
            for (const auto &file : stop)
                WriteBytes(file.first, file.second);
            HWND next = OpenConfigWindow();
            const std::string maxfps = Field(next, IDC_MAX_FPS), file = WithoutBlankLinesAtTheEnd(ReadBytes("patch.cfg"));
            EXPECT_EQ(file, WithoutBlankLinesAtTheEnd(maxfps == "300" ? saved : kOld)) << "stop " << &stop - &seen[0];
            EXPECT_EQ(Files().size(), 1u) << "stop " << &stop - &seen[0];
            DestroyWindow(next);
        }
    }
    saveStepHook = nullptr;
}
