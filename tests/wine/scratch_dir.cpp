#include "scratch_dir.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "platform/win32.h"

static void RemoveTree(const std::string &path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string full = path + "\\" + name;
            SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                DeleteFileA(full.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(path.c_str());
}

ScratchGameDir::ScratchGameDir()
{
    char buffer[MAX_PATH];
    GetCurrentDirectoryA(sizeof buffer, buffer);
    previous_ = buffer;
    GetTempPathA(sizeof buffer, buffer);
    char name[64];
    snprintf(name, sizeof name, "gravlok-%lu-%lu", GetCurrentProcessId(), GetTickCount());
    path_ = std::string(buffer) + name;
    for (int n = 0; !CreateDirectoryA(path_.c_str(), nullptr); ++n) {
        if (n == 100)
            throw std::runtime_error("cannot create a scratch game directory");
        path_ += "x";
    }
    SetCurrentDirectoryA(path_.c_str());
}

ScratchGameDir::~ScratchGameDir()
{
    SetCurrentDirectoryA(previous_.c_str());
    RemoveTree(path_);
}

void WriteFileBytes(const char *name, const std::string &bytes)
{
    FILE *file = fopen(name, "wb");
    if (!file)
        throw std::runtime_error(std::string("cannot write ") + name);
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

std::string ReadFileBytes(const char *name)
{
    std::string bytes;
    FILE *file = fopen(name, "rb");
    if (!file)
        return bytes;
    char chunk[4096];
    size_t count;
    while ((count = fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.append(chunk, count);
    fclose(file);
    return bytes;
}

std::vector<std::string> DirectoryNames()
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("*", &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}
