// Drives the configuration window as a player does. The same calls serve
// the window made in this process from the program's template and the
// window of a running patchcfg.exe: both take the same messages.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32.h"
#include "resources/resource.h"
#include "settings/patch_settings.h"
#include "window/config_dialog.h"

// A fresh, empty game directory, current for the test's life. What a test
// leaves in it goes with the test run's throw-away prefix.
struct ScratchGameDir {
    ScratchGameDir();
    ~ScratchGameDir();
    std::string path, previous;
};

inline const char kDemoKey[] = "software\\classes\\.dm2";
inline const char kCommandKey[] = "software\\classes\\Gravlok\\shell\\open\\command";
inline const char kServiceKey[] = "software\\classes\\local settings\\software\\microsoft\\windows\\gameux\\servicelocation";
inline const char kServiceUrl[] = "https://games.metaservices.microsoft.com/games/SGamesWebService.asmx";
inline const char kOverridesKey[] = "Software\\Wine\\AppDefaults\\gravlok.exe\\DllOverrides";

// Calls visit(name, is a directory) for each entry of the directory but . and ..
template <typename Visit>
inline void ForEachEntry(const std::string &prefix, Visit visit)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((prefix + "*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
        if (strcmp(found.cFileName, ".") && strcmp(found.cFileName, ".."))
            visit(prefix + found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    FindClose(search);
}

inline ScratchGameDir::ScratchGameDir()
{
    char buffer[MAX_PATH];
    GetCurrentDirectoryA(sizeof buffer, buffer);
    previous = buffer;
    GetTempPathA(sizeof buffer, buffer);
    path = buffer + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
    EXPECT_TRUE(CreateDirectoryA(path.c_str(), nullptr) && SetCurrentDirectoryA(path.c_str())) << path;
}

inline ScratchGameDir::~ScratchGameDir() { SetCurrentDirectoryA(previous.c_str()); }

inline void WriteBytes(const std::string &name, const std::string &bytes)
{
    FILE *file = fopen(name.c_str(), "wb");
    ASSERT_TRUE(file && fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && !fclose(file)) << name;
}

// The bytes, or "<none>" when the file cannot be read.
inline std::string ReadBytes(const std::string &name)
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

// Every file below the current directory with its bytes, and every directory.
inline std::string DirectorySnapshot(const std::string &prefix = "")
{
    std::string snapshot;
    ForEachEntry(prefix, [&snapshot](const std::string &name, bool directory) {
        snapshot += directory ? name + "\\\n" + DirectorySnapshot(name + "\\") : name + ": " + ReadBytes(name) + "\n";
    });
    return snapshot;
}

// Of this test program, its fixtures beside it.
inline std::string BuildDirectory()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    *strrchr(path, '\\') = 0;
    return path;
}

// The window from the program's template in this process, the settings at
// their defaults as in a fresh process.
inline HWND OpenConfigWindow()
{
    patchSettings = PatchSettings();
    appInstance = GetModuleHandleA(nullptr);
    // Modeless, so that the test keeps control.
    HWND window = CreateDialogParamA(appInstance, MAKEINTRESOURCEA(IDD_CONFIG), nullptr, ConfigDialogProc, 0);
    EXPECT_NE(window, nullptr) << "no window, error " << GetLastError();
    ShowWindow(window, SW_SHOW);
    return window;
}

// The built patchcfg.exe started in the current directory, and its window.
inline ::testing::AssertionResult StartTool(HWND *window, HANDLE *process)
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

// The exit code, or -1 when it did not end.
inline int WaitForExit(HANDLE process)
{
    DWORD code = 0;
    if (WaitForSingleObject(process, 15000) != WAIT_OBJECT_0 || !GetExitCodeProcess(process, &code))
        return TerminateProcess(process, 99), -1;
    return static_cast<int>(code);
}

// UTF-16: Wine passes list box text between processes only so.
inline std::vector<std::string> StatusLines(HWND window)
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

inline std::string Field(HWND window, int id)
{
    char text[64] = {};
    return SendDlgItemMessageA(window, id, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)), text;
}

inline void SetField(HWND window, int id, const char *text) { SetDlgItemTextA(window, id, text); }
inline bool Box(HWND window, int id) { return SendDlgItemMessageA(window, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }
inline void SetBox(HWND window, int id, bool checked) { SendDlgItemMessageA(window, id, BM_SETCHECK, checked, 0); }
inline void Apply(HWND window) { SendDlgItemMessageA(window, IDC_APPLY, BM_CLICK, 0, 0); }

inline void StoreText(const char *key, const char *value, const std::string &text)
{
    ASSERT_EQ(SHSetValueA(HKEY_CURRENT_USER, key, value, REG_SZ, text.c_str(), text.size() + 1), ERROR_SUCCESS);
}

// The keys Apply may write, as on a machine where .dm2 is not associated
// and the service location holds the system's address (or is absent).
inline void ResetShellKeys(bool withServiceLocation = true)
{
    for (const char *key : {kDemoKey, "software\\classes\\Gravlok", kServiceKey})
        SHDeleteKeyA(HKEY_CURRENT_USER, key);
    if (withServiceLocation)
        StoreText(kServiceKey, "games", kServiceUrl);
}

// A string value as stored, or "<none>".
inline std::string StoredText(const char *key, const char *value)
{
    char text[512];
    DWORD size = sizeof text, type = 0;
    if (SHGetValueA(HKEY_CURRENT_USER, key, value, &type, text, &size) != ERROR_SUCCESS || type != REG_SZ)
        return "<none>";
    return std::string(text, strnlen(text, size));
}

