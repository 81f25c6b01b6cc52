#include "hook_modules.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/win32.h"

std::string BuildDirectory()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string dir = path;
    return dir.substr(0, dir.rfind('\\'));
}

void InstallModule(const char *kind, const char *name)
{
    const std::string from = BuildDirectory() + "\\modules\\" + kind + "\\" + name + ".dll";
    const std::string to = std::string(name) + ".dll";
    if (!CopyFileA(from.c_str(), to.c_str(), FALSE))
        FAIL() << "cannot copy " << from << ", error " << GetLastError();
}
