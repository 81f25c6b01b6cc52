/* A stand-in for the game, copied into a game directory as gravlok.exe: it
   asks Wine for wsock32.dll by name, as the game's import does, and tells
   in its exit code which module it got. Nothing of the module runs. */
#include <windows.h>

enum { GOT_THE_PATCH = 0, GOT_ANOTHER_MODULE = 1, GOT_NO_MODULE = 2 };

int main(void)
{
    HMODULE wsock32 = LoadLibraryExA("wsock32.dll", NULL, DONT_RESOLVE_DLL_REFERENCES);
    if (!wsock32)
        return GOT_NO_MODULE;
    return GetProcAddress(wsock32, "patch") ? GOT_THE_PATCH : GOT_ANOTHER_MODULE;
}
