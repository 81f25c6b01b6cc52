#include "unix_side.h"

#include <cstdlib>

#include "platform/win32.h"
#include "scratch_dir.h"

// Wine's own export: the unix name of a Windows path, on Wine's heap.
static std::string UnixPath(const std::string &path)
{
    using ToUnix = char *(CDECL *)(LPCWSTR);
    // Through void (*)(), the one function type every other may be cast to.
    const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix)
        return "";
    const std::wstring wide(path.begin(), path.end());
    char *unix = toUnix(wide.c_str());
    if (!unix)
        return "";
    const std::string result = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

// One file per request in the directory the script named; the answer comes
// back beside it as "done", or as the reason it was not done.
static ::testing::AssertionResult Ask(const std::string &request)
{
    const char *requests = getenv("GRAVLOK_REQUESTS");
    if (!requests)
        return ::testing::AssertionFailure() << "not run by run_as_player.sh: nobody to ask to " << request;
    static int count;
    const std::string name = std::string(requests) + "\\" + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(++count);
    WriteFileBytes((name + ".tmp").c_str(), request + "\n");
    if (!MoveFileA((name + ".tmp").c_str(), (name + ".request").c_str()))
        return ::testing::AssertionFailure() << "cannot ask to " << request << ", error " << GetLastError();
    const std::string answerFile = name + ".answer";
    for (int waited = 0; waited < 20000; waited += 20) {
        if (GetFileAttributesA(answerFile.c_str()) != INVALID_FILE_ATTRIBUTES) {
            const std::string answer = ReadFileBytes(answerFile.c_str());
            DeleteFileA(answerFile.c_str());
            if (answer == "done\n")
                return ::testing::AssertionSuccess();
            return ::testing::AssertionFailure() << request << ": " << answer;
        }
        Sleep(20);
    }
    return ::testing::AssertionFailure() << "no answer to " << request;
}

static ::testing::AssertionResult AskAbout(const char *verb, const std::string &path)
{
    const std::string unix = UnixPath(path);
    if (unix.empty())
        return ::testing::AssertionFailure() << "no unix name for " << path;
    return Ask(std::string(verb) + " " + unix);
}

::testing::AssertionResult GiveToRoot(const std::string &path)
{
    return AskAbout("give-to-root", path);
}

::testing::AssertionResult GiveToPlayer(const std::string &path)
{
    return AskAbout("give-to-player", path);
}

::testing::AssertionResult LimitToolFileSize(long bytes)
{
    return Ask("limit-file-size " + std::to_string(bytes));
}

::testing::AssertionResult LiftToolFileSizeLimit()
{
    return Ask("lift-file-size-limit");
}

::testing::AssertionResult StartToolFromShellIn(const std::string &directory)
{
    return AskAbout("start-tool-in", directory);
}
