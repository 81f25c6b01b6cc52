// Gravlok Patch Config: the patch's settings window, run from the game
// directory. The command line is ignored.
#include "platform/dll_search.h"
#include "resources/resource.h"
#include "window/config_dialog.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    RestrictDllSearchToSystem();
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_CONFIG), nullptr, ConfigDialogProc, 0);
    return 0;
}
