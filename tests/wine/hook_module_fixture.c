/* Stand-ins for hook modules, with and without the patch's marker export;
   each exports one other function, as the real modules do. And a module
   planted under a system module's name, which leaves a file in the current
   directory when anything loads it, and refuses to load. */
#ifdef WITH_PATCH_EXPORT
__declspec(dllexport) void patch(void) {}
#endif
__declspec(dllexport) int WSAStartup(void) { return 0; }

#ifdef PLANTED
#include <windows.h>
BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, void *reserved)
{
    (void)module, (void)reserved;
    if (reason == DLL_PROCESS_ATTACH)
        CloseHandle(CreateFileA("planted-module-ran", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
    return FALSE;
}
#endif
