// Apply while other programs and the platform get in the save's way, and a
// save stopped before any of its steps: the game directory then holds
// patch.cfg with the old settings or the new, and the next start leaves
// nothing of the save behind.
#include <set>

#include "driver.h"
#include "settings/config_save.h"

// Longer than what Apply saves, with a setting at each end: a rewrite in
// place whose tail counted would read as a mix of old and new.
static const std::string kOld = "chatlines 10\r\n" + std::string(300, '#') + "\r\nmaxfps 120\r\n";
static const std::string kNew = "enable 1\r\nnativefs 1\r\nconsolenoback 0\r\nconsoleoverlay 4\r\nconsolewidth 126\r\n"
                                "chatlines 20\r\nmenudarken 1\r\nshowgun 0\r\nmaxfps 300\r\nautofov 1\r\ndlmain 1\r\ndlrate 0\r\n";
static const char kWritten[] = "Config written to PATCH.CFG", kFailed[] = "Failed to write PATCH.CFG";

// The settings a start reads from the directory as it is.
static std::string ReadAtStart()
{
    HWND window = OpenConfigWindow();
    const std::string read = Field(window, IDC_CHAT_LINES) + " " + Field(window, IDC_MAX_FPS);
    return DestroyWindow(window), read;
}

static std::vector<std::map<std::string, std::string>> stops; // the directory before each step that changed it
static DWORD (*meet)(SaveStep next);
static int attempts;
static HANDLE heldByOther = INVALID_HANDLE_VALUE;

static DWORD Snapshot(SaveStep next)
{
    const auto now = Files();
    if (stops.empty() || now != stops.back())
        stops.push_back(now);
    return meet ? meet(next) : 0;
}

// The game directory holding these files and nothing else.
static void SetDirectory(const std::map<std::string, std::string> &files)
{
    for (const auto &file : Files())
        SetFileAttributesA(file.first.c_str(), FILE_ATTRIBUTE_NORMAL), DeleteFileA(file.first.c_str());
    for (const auto &file : files)
        WriteBytes(file.first, file.second);
}

static void HoldPatchCfg(DWORD sharing)
{
    heldByOther = CreateFileA("patch.cfg", GENERIC_READ | GENERIC_WRITE, sharing, 0, OPEN_EXISTING, 0, 0);
}

// No new file allowed, and the write in place cut short by a full disk.
static DWORD Tear(SaveStep next)
{
    if (next == SaveStep::WriteInPlace) {
        HANDLE file = CreateFileA("patch.cfg", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, 0, OPEN_EXISTING, 0, 0);
        WriteFile(file, "enable 0\r\nmaxfps 3", 18, nullptr, nullptr), CloseHandle(file);
    }
    return next == SaveStep::CreateNew ? ERROR_ACCESS_DENIED : next == SaveStep::WriteInPlace ? ERROR_DISK_FULL : 0;
}

TEST(SavingPatchCfg, KeepsOldOrNewWhateverStandsInTheWayOrStopsIt)
{
    ScratchGameDir game;
    ResetShellKeys();
    const struct {
        const char *what;
        void (*arrange)();
        DWORD (*meet)(SaveStep next);
        std::vector<std::string> log;
        std::string file; // patch.cfg's bytes afterwards; "" when neither old nor new
        bool atOnce;
    } rows[] = {
        {"nothing in the way", [] {}, nullptr, {kWritten}, kNew, true},
        {"patch.cfg hidden", [] { SetFileAttributesA("patch.cfg", FILE_ATTRIBUTE_HIDDEN); }, nullptr, {kWritten}, kNew, true},
        {"the new file held by another program until the third attempt to rename it", [] {}, [](SaveStep next) -> DWORD {
             if (next == SaveStep::Rename && ++attempts == 1)
                 heldByOther = CreateFileA("patch.cfg.saving", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, 0, OPEN_EXISTING, 0, 0);
             if (next == SaveStep::Rename && attempts == 3)
                 CloseHandle(heldByOther), heldByOther = INVALID_HANDLE_VALUE;
             return 0;
         }, {kWritten}, kNew, false},
        {"patch.cfg held by an editor that does not share deleting", [] { HoldPatchCfg(FILE_SHARE_READ | FILE_SHARE_WRITE); },
         nullptr, {kWritten}, kNew, false},
        {"patch.cfg held by a program that shares nothing", [] { HoldPatchCfg(0); }, nullptr, {kFailed}, kOld, false},
        {"patch.cfg read-only", [] { SetFileAttributesA("patch.cfg", FILE_ATTRIBUTE_READONLY); }, nullptr,
         {"Access denied to PATCH.CFG, try re-running as administrator"}, kOld, true},
        {"the write in place cut short", [] {}, Tear, {kFailed}, kOld, true},
        {"the write in place cut short, the old bytes not put back", [] {},
         [](SaveStep next) { return next == SaveStep::RestoreInPlace ? DWORD(ERROR_DISK_FULL) : Tear(next); },
         {kFailed, "Failed to restore PATCH.CFG, it may be incomplete"}, "", true},
        {"nothing written in place, and putting back reported failing", [] {}, [](SaveStep next) -> DWORD {
             return next == SaveStep::CreateNew ? ERROR_ACCESS_DENIED : next == SaveStep::CutInPlace ? 0 : ERROR_DISK_FULL;
         }, {kFailed}, kOld, true},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        SetDirectory({{"patch.cfg", kOld}});
        HWND window = OpenConfigWindow();
        SetField(window, IDC_CHAT_LINES, "20");
        SetField(window, IDC_MAX_FPS, "300");
        row.arrange();
        const DWORD hidden = GetFileAttributesA("patch.cfg") & FILE_ATTRIBUTE_HIDDEN, started = GetTickCount();
        stops.clear(), meet = row.meet, attempts = 0, saveStepHook = Snapshot;
        Apply(window);
        const DWORD took = GetTickCount() - started;
        saveStepHook = nullptr;
        CloseHandle(heldByOther), heldByOther = INVALID_HANDLE_VALUE;
        const std::vector<std::string> lines = StatusLines(window);
        EXPECT_EQ(std::vector<std::string>(lines.end() - row.log.size(), lines.end()), row.log);
        EXPECT_EQ(LastLine(window), row.log.back());
        DestroyWindow(window);
        EXPECT_TRUE(took < AtOnceMs() || !row.atOnce) << "waited " << took << " ms although nothing holds a file";
        if (row.file.empty())
            continue; // the one outcome the log warns of
        EXPECT_EQ(Files(), (std::map<std::string, std::string>{{"patch.cfg", row.file}}));
        EXPECT_EQ(GetFileAttributesA("patch.cfg") & FILE_ATTRIBUTE_HIDDEN, hidden);
        // The next start after a stop before any step of a save that succeeded.
        for (size_t stop = 0; row.file == kNew && stop < stops.size(); ++stop) {
            SetDirectory(stops[stop]);
            const std::string read = ReadAtStart();
            EXPECT_TRUE(read == "10 120" || read == "20 300") << "stop " << stop << " read as " << read;
            EXPECT_EQ(Files().count("patch.cfg.saving"), 0u);
        }
    }
}

static volatile LONG running;
static int held;
static std::map<std::string, int> reads;

// Opens each file that appears or changes in the game directory for 300 ms,
// sharing reading and writing but not deleting, as indexers, virus scanners
// and sync clients do.
static DWORD WINAPI HoldNewFiles(void *)
{
    std::set<std::string> seen;
    for (; running; Sleep(10))
        for (const auto &file : Files())
            if (seen.insert(file.first + file.second).second) {
                HANDLE open = CreateFileA(file.first.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, 0, OPEN_EXISTING, 0, 0);
                held += open != INVALID_HANDLE_VALUE;
                Sleep(300), CloseHandle(open);
            }
    return 0;
}

// Reads patch.cfg every millisecond, as a game starting meanwhile would;
// sharing deleting, so that the reads never get in the save's way.
static DWORD WINAPI ReadContinuously(void *)
{
    for (char bytes[1024]; running; Sleep(1)) {
        HANDLE file = CreateFileA("patch.cfg", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0,
                                  OPEN_EXISTING, 0, 0);
        DWORD count = 0;
        ++reads[ReadFile(file, bytes, sizeof bytes, &count, nullptr) ? std::string(bytes, count) : "<none>"];
        CloseHandle(file);
    }
    return 0;
}

// Four Applies beside another program holding new files, then the player
// deletes patch.cfg to start again from the defaults.
TEST(SavingPatchCfg, NeverMissingMixedOrRevivedBesideAProgramHoldingNewFiles)
{
    ScratchGameDir game;
    ResetShellKeys();
    running = 1;
    HANDLE holder = CreateThread(nullptr, 0, HoldNewFiles, nullptr, 0, nullptr);
    WriteBytes("patch.cfg", kOld);
    for (int waited = 0; waited < 10000 && held == 0; waited += 10)
        Sleep(10);
    std::set<std::string> saved = {kOld};
    HWND window = OpenConfigWindow();
    HANDLE reader = CreateThread(nullptr, 0, ReadContinuously, nullptr, 0, nullptr);
    for (const std::string maxfps : {"301", "302", "303", "304"}) {
        SetField(window, IDC_MAX_FPS, maxfps);
        Apply(window);
        EXPECT_EQ(LastLine(window), kWritten) << maxfps;
        saved.insert(ReadBytes("patch.cfg"));
    }
    DestroyWindow(window);
    Sleep(400); // the last file let go
    running = 0;
    WaitForSingleObject(reader, INFINITE), WaitForSingleObject(holder, INFINITE);
    EXPECT_GE(held, 2) << "no file saved was held";
    EXPECT_EQ(saved.size(), 5u);
    for (const auto &read : reads)
        EXPECT_EQ(saved.count(read.first), 1u) << read.second << " reads found " << read.first;
    ASSERT_TRUE(DeleteFileA("patch.cfg"));
    EXPECT_EQ(ReadAtStart(), "8 90") << "the defaults";
    EXPECT_EQ(Files(), (std::map<std::string, std::string>{}));
}
