#include "build_paths.h"

#include "platform/win32.h"

static std::string ParentOf(const std::string &path)
{
    return path.substr(0, path.rfind('\\'));
}

std::string TestDirectory()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    return ParentOf(path);
}

std::string BuiltProgramPath()
{
    return ParentOf(TestDirectory()) + "\\patchcfg.exe";
}
