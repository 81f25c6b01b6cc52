/* Stand-ins for hook modules, built with and without the patch's marker
   export. Each exports one other function as the real modules do, and its
   start-up code leaves a file behind, so a test can tell whether probing a
   module ran any of its code. */
#include <windows.h>

#ifdef WITH_PATCH_EXPORT
__declspec(dllexport) void patch(void) {}
#endif

__declspec(dllexport) int WSAStartup(void) { return 0; }

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        HANDLE ran = CreateFileA("module_code_ran", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        if (ran != INVALID_HANDLE_VALUE)
            CloseHandle(ran);
    }
    return TRUE;
}
