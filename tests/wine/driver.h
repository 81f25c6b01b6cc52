// Drives the window as a player does, whether made in this process from the
// program's template or shown by a running patchcfg.exe.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win32.h"
#include "resources/resource.h"
#include "window/config_dialog.h"

inline const char kDemoKey[] = "software\\classes\\.dm2";
inline const char kServiceKey[] = "software\\classes\\local settings\\software\\microsoft\\windows\\gameux\\servicelocation";
inline const char kServiceUrl[] = "https://games.metaservices.microsoft.com/games/SGamesWebService.asmx";
inline const char kOverridesKey[] = "Software\\Wine\\AppDefaults\\gravlok.exe\\DllOverrides";

// A fresh game directory, made current, named in letters outside the
// system's code page and as long as players' game libraries' are.
struct ScratchGameDir {
    std::wstring path;
    ScratchGameDir()
    {
        static int made;
        wchar_t temp[MAX_PATH];
        path.assign(temp, GetTempPathW(MAX_PATH, temp)) += std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(++made) + L" SteamLibrary steamapps common";
        path.resize(path.size() < 104 ? 104 : path.size(), L'-');
        path += L"\u03A0\u03B1\u03B9\u03C7\u03BD\u03AF\u03B4\u03B9";
        // Thrown, so the test stops here rather than go on in the build tree.
        if (!CreateDirectoryW(path.c_str(), nullptr) || !SetCurrentDirectoryW(path.c_str()))
            throw std::runtime_error("no scratch game directory, error " + std::to_string(GetLastError()));
    }
};

inline std::string Utf8(const std::wstring &text)
{
    std::string utf8(text.size() * 3, '\0');
    return utf8.substr(0, WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), &utf8[0], int(utf8.size()), 0, 0));
}
inline void WriteBytes(const std::string &name, const std::string &bytes)
{
    EXPECT_TRUE(std::ofstream(name, std::ios::binary) << bytes) << name;
}
// The bytes, or "<none>" when the file cannot be read.
inline std::string ReadBytes(const std::string &name)
{
    std::ifstream file(name, std::ios::binary);
    return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "<none>";
}
// Every file of the current directory with its bytes.
inline std::map<std::string, std::string> Files()
{
    std::map<std::string, std::string> files;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("*", &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
        if (found.cFileName[0] != '.')
            files[found.cFileName] = ReadBytes(found.cFileName);
    return FindClose(search), files;
}

// An answer the player sees as immediate: 0.1 s, more where qemu-i386 runs every
// 32-bit instruction, still well short of the second a wait for another program takes.
inline DWORD AtOnceMs() { return getenv("WINE_ROUTE") && strcmp(getenv("WINE_ROUTE"), "emulated") == 0 ? 400 : 100; }

// This program's, with its fixtures and, one up, patchcfg.exe.
inline std::string BuildDirectory()
{
    char path[MAX_PATH];
    const std::string program(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return program.substr(0, program.rfind('\\'));
}

// The window from the program's template, modeless so the test keeps control.
inline HWND OpenConfigWindow()
{
    HWND window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CONFIG), nullptr, ConfigDialogProc, 0);
    EXPECT_NE(window, nullptr) << "no window, error " << GetLastError();
    return ShowWindow(window, SW_SHOW), window;
}

// patchcfg.exe started in the current directory, and its window once shown; null when it is not.
inline HWND StartTool(PROCESS_INFORMATION *started)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA((BuildDirectory() + "\\..\\patchcfg.exe").c_str(), nullptr, 0, 0, FALSE, 0, 0, 0, &startup, started))
        return nullptr;
    DWORD owner = 0;
    for (int waited = 0; waited < 30000; waited += 50, Sleep(50)) {
        HWND window = FindWindowA(nullptr, "Gravlok Patch Config");
        if (window && GetWindowThreadProcessId(window, &owner) && owner == started->dwProcessId && IsWindowVisible(window))
            return window;
    }
    return TerminateProcess(started->hProcess, 99), nullptr;
}

// UTF-16: Wine passes list box text between processes only so.
inline std::vector<std::string> StatusLines(HWND window)
{
    std::vector<std::string> lines;
    wchar_t text[256];
    for (LRESULT i = 0, count = SendDlgItemMessageW(window, IDC_STATUS_LOG, LB_GETCOUNT, 0, 0); i < count; ++i)
        lines.emplace_back(text, text + SendDlgItemMessageW(window, IDC_STATUS_LOG, LB_GETTEXT, i, LPARAM(text)));
    return lines;
}
// The newest line, as the player reads it: scrolled into view in the log's height.
inline std::string LastLine(HWND window)
{
    const std::vector<std::string> lines = StatusLines(window);
    const HWND log = GetDlgItem(window, IDC_STATUS_LOG);
    RECT client = {};
    GetClientRect(log, &client);
    const LRESULT top = SendMessageW(log, LB_GETTOPINDEX, 0, 0), height = SendMessageW(log, LB_GETITEMHEIGHT, 0, 0);
    return lines.empty() || (LRESULT(lines.size()) - top) * height > client.bottom ? "<not in view>" : lines.back();
}

inline std::string Field(HWND window, int id)
{
    char text[96];
    return std::string(text, SendDlgItemMessageA(window, id, WM_GETTEXT, sizeof text, LPARAM(text)));
}
inline void SetField(HWND window, int id, const std::string &text) { SetDlgItemTextA(window, id, text.c_str()); }
inline bool Box(HWND window, int id) { return SendDlgItemMessageA(window, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }
inline void SetBox(HWND window, int id, bool checked) { SendDlgItemMessageA(window, id, BM_SETCHECK, checked, 0); }
inline void Apply(HWND window) { SendDlgItemMessageA(window, IDC_APPLY, BM_CLICK, 0, 0); }

inline void StoreText(const char *key, const char *value, const std::string &text)
{
    EXPECT_EQ(SHSetValueA(HKEY_CURRENT_USER, key, value, REG_SZ, text.c_str(), text.size() + 1), ERROR_SUCCESS);
}
// A string value as stored, or "<none>".
inline std::string StoredText(const char *key, const char *value)
{
    char text[512];
    DWORD size = sizeof text, type = 0;
    const bool stored = SHGetValueA(HKEY_CURRENT_USER, key, value, &type, text, &size) == ERROR_SUCCESS && type == REG_SZ;
    return stored ? std::string(text, strnlen(text, size)) : "<none>";
}
// The keys Apply may write, as on a machine that has not met the tool (the
// service location the system's, another or none).
inline void ResetShellKeys(const char *serviceLocation = kServiceUrl)
{
    for (const char *key : {kDemoKey, "software\\classes\\Gravlok", kServiceKey})
        SHDeleteKeyA(HKEY_CURRENT_USER, key);
    if (serviceLocation)
        StoreText(kServiceKey, "games", serviceLocation);
}
