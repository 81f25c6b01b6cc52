#include "driver.h"

#include <cstdio>

#include "settings/patch_settings.h"
#include "window/config_dialog.h"

const char kDemoKey[] = "software\\classes\\.dm2";
const char kCommandKey[] = "software\\classes\\Gravlok\\shell\\open\\command";
const char kServiceKey[] = "software\\classes\\local settings\\software\\microsoft\\windows\\gameux\\servicelocation";
const char kServiceUrl[] = "https://games.metaservices.microsoft.com/games/SGamesWebService.asmx";
const char kOverridesKey[] = "Software\\Wine\\AppDefaults\\gravlok.exe\\DllOverrides";

// Calls visit(name, is a directory) for each entry of the directory but . and ..
template <typename Visit>
static void ForEachEntry(const std::string &prefix, Visit visit)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((prefix + "*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
        if (strcmp(found.cFileName, ".") && strcmp(found.cFileName, ".."))
            visit(prefix + found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    FindClose(search);
}

ScratchGameDir::ScratchGameDir()
{
    char buffer[MAX_PATH];
    GetCurrentDirectoryA(sizeof buffer, buffer);
    previous = buffer;
    GetTempPathA(sizeof buffer, buffer);
    path = buffer + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
    EXPECT_TRUE(CreateDirectoryA(path.c_str(), nullptr) && SetCurrentDirectoryA(path.c_str())) << path;
}

// What a test leaves in it goes with the test run's throw-away prefix.
ScratchGameDir::~ScratchGameDir() { SetCurrentDirectoryA(previous.c_str()); }

void WriteBytes(const std::string &name, const std::string &bytes)
{
    FILE *file = fopen(name.c_str(), "wb");
    ASSERT_TRUE(file && fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && !fclose(file)) << name;
}

std::string ReadBytes(const std::string &name)
{
    FILE *file = fopen(name.c_str(), "rb");
    if (!file)
        return "<none>";
    std::string bytes;
    char chunk[4096];
    for (size_t n; (n = fread(chunk, 1, sizeof chunk, file)) > 0;)
        bytes.append(chunk, n);
    fclose(file);
    return bytes;
}

std::string DirectorySnapshot(const std::string &prefix)
{
    std::string snapshot;
    ForEachEntry(prefix, [&snapshot](const std::string &name, bool directory) {
        snapshot += directory ? name + "\\\n" + DirectorySnapshot(name + "\\") : name + ": " + ReadBytes(name) + "\n";
    });
    return snapshot;
}

std::string BuildDirectory()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    *strrchr(path, '\\') = 0;
    return path;
}

HWND OpenConfigWindow()
{
    patchSettings = PatchSettings();
    appInstance = GetModuleHandleA(nullptr);
    // Modeless, so that the test keeps control; template and handler are the program's.
    HWND window = CreateDialogParamA(appInstance, MAKEINTRESOURCEA(IDD_CONFIG), nullptr, ConfigDialogProc, 0);
    EXPECT_NE(window, nullptr) << "no window, error " << GetLastError();
    ShowWindow(window, SW_SHOW);
    return window;
}

::testing::AssertionResult StartTool(HWND *window, HANDLE *process)
{
    const std::string program = BuildDirectory() + "\\..\\patchcfg.exe";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(program.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return ::testing::AssertionFailure() << program << " did not start, error " << GetLastError();
    *process = started.hProcess;
    for (int waited = 0; waited < 30000; waited += 50, Sleep(50)) {
        DWORD owner = 0;
        *window = FindWindowA(nullptr, "Gravlok Patch Config");
        if (*window && GetWindowThreadProcessId(*window, &owner) && owner == started.dwProcessId &&
            IsWindowVisible(*window))
            return ::testing::AssertionSuccess();
    }
    TerminateProcess(*process, 99);
    return ::testing::AssertionFailure() << "the window did not open";
}

int WaitForExit(HANDLE process)
{
    DWORD code = 0;
    if (WaitForSingleObject(process, 15000) != WAIT_OBJECT_0 || !GetExitCodeProcess(process, &code))
        return TerminateProcess(process, 99), -1;
    return static_cast<int>(code);
}

// UTF-16: Wine passes list box text between processes only so.
std::vector<std::string> StatusLines(HWND window)
{
    std::vector<std::string> lines;
    HWND log = GetDlgItem(window, IDC_STATUS_LOG);
    for (LRESULT i = 0, count = SendMessageW(log, LB_GETCOUNT, 0, 0); i < count; ++i) {
        wchar_t text[256] = {};
        SendMessageW(log, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        lines.emplace_back(text, text + wcslen(text));
    }
    return lines;
}

std::string Field(HWND window, int id)
{
    char text[64] = {};
    return SendDlgItemMessageA(window, id, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)), text;
}

void SetField(HWND window, int id, const char *text) { SetDlgItemTextA(window, id, text); }
bool Box(HWND window, int id) { return SendDlgItemMessageA(window, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void SetBox(HWND window, int id, bool checked) { SendDlgItemMessageA(window, id, BM_SETCHECK, checked, 0); }
void Apply(HWND window) { SendDlgItemMessageA(window, IDC_APPLY, BM_CLICK, 0, 0); }

void ResetShellKeys(bool withServiceLocation)
{
    for (const char *key : {kDemoKey, "software\\classes\\Gravlok", kServiceKey})
        SHDeleteKeyA(HKEY_CURRENT_USER, key);
    if (withServiceLocation)
        StoreText(kServiceKey, "games", kServiceUrl);
}

std::string StoredText(const char *key, const char *value)
{
    char text[512];
    DWORD size = sizeof text, type = 0;
    if (SHGetValueA(HKEY_CURRENT_USER, key, value, &type, text, &size) != ERROR_SUCCESS || type != REG_SZ)
        return "<none>";
    return std::string(text, strnlen(text, size));
}

void StoreText(const char *key, const char *value, const std::string &text)
{
    ASSERT_EQ(SHSetValueA(HKEY_CURRENT_USER, key, value, REG_SZ, text.c_str(), text.size() + 1), ERROR_SUCCESS);
}
