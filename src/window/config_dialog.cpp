#include "window/config_dialog.h"

#include <cstdint>

#include "checks/installation_checks.h"
#include "platform/status_log.h"
#include "resources/resource.h"
#include "settings/config_file.h"
#include "settings/patch_settings.h"
#include "shell/demo_association.h"
#include "shell/freeze_fix.h"
#include "shell/shell_changes.h"
#include "shell/wine_override.h"
#include "window/resolution_list.h"
#include "window/tool_tips.h"
#include "window/window_icons.h"

// What the registry held when the window opened, then what Apply made of it.
static int demoAssociated;
static FreezeFixState freezeFixState;
// Start-up work that waits for the player, still to be done for this window.
static bool modesPending;
static bool toolTipsPending;

static void CheckIf(HWND window, int id, bool checked)
{
    if (checked)
        CheckDlgButton(window, id, BST_CHECKED);
}

static int32_t IsChecked(HWND window, int id)
{
    return IsDlgButtonChecked(window, id) == BST_CHECKED ? 1 : 0;
}

// Number fields show and read unsigned text but hold signed values, so a
// negative value from patch.cfg (dlrate -1) survives an Apply unchanged.
static void ShowNumber(HWND window, int id, int32_t value)
{
    SetDlgItemInt(window, id, static_cast<UINT>(value), FALSE);
}

static int32_t ReadNumber(HWND window, int id)
{
    return static_cast<int32_t>(GetDlgItemInt(window, id, nullptr, FALSE));
}

// Brought into [low, high], so that a typo cannot leave the game with an
// unreadable console or a zero-line chat; a changed value is shown, so the
// player sees what is saved.
static int32_t ReadLimitedNumber(HWND window, int id, int32_t low, int32_t high)
{
    const int32_t typed = ReadNumber(window, id);
    const int32_t value = typed < low ? low : typed > high ? high : typed;
    if (value != typed)
        ShowNumber(window, id, value);
    return value;
}

// Hidden where the system has no service location: the player cannot ask
// for a fix that has nothing to change.
static void ShowFreezeFixState(HWND window)
{
    freezeFixState = ReadFreezeFixState();
    if (freezeFixState == FreezeFixState::Unavailable)
        ShowWindow(GetDlgItem(window, IDC_FREEZE_FIX), SW_HIDE);
    CheckIf(window, IDC_FREEZE_FIX, freezeFixState == FreezeFixState::Applied);
}

static void OnInitDialog(HWND window)
{
    // Each window starts from the defaults, as the program does.
    patchSettings = PatchSettings();
    SetStatusLog(GetDlgItem(window, IDC_STATUS_LOG));
    RunInstallationChecks();
    ReadPatchConfig();
    demoAssociated = IsDemoAssociated();

    const PatchSettings &s = patchSettings;
    // Only 1 enables the patch; the game ignores other values.
    CheckIf(window, IDC_ENABLE, s.enable == 1);
    CheckIf(window, IDC_SET_RESOLUTION, IsResolutionSet(s));
    ListConfiguredResolution(GetDlgItem(window, IDC_RESOLUTION));
    CheckIf(window, IDC_NATIVE_FULLSCREEN, s.nativefs != 0);
    ShowNumber(window, IDC_MAX_FPS, s.maxfps);
    CheckIf(window, IDC_AUTO_FOV, s.autofov != 0);
    CheckIf(window, IDC_CONSOLE_NO_BACK, s.consolenoback != 0);
    ShowNumber(window, IDC_CONSOLE_OVERLAY, s.consoleoverlay);
    ShowNumber(window, IDC_CONSOLE_WIDTH, s.consolewidth);
    ShowNumber(window, IDC_CHAT_LINES, s.chatlines);
    CheckIf(window, IDC_MENU_DARKEN, s.menudarken != 0);
    CheckIf(window, IDC_SHOW_GUN, s.showgun != 0);
    CheckIf(window, IDC_DOWNLOAD_MAIN, s.dlmain != 0);
    ShowNumber(window, IDC_DOWNLOAD_RATE, s.dlrate);
    CheckIf(window, IDC_DEMO_ASSOCIATION, demoAssociated != 0);
    ShowFreezeFixState(window);

    // The display's modes and the tool tips wait for the player (below).
    modesPending = true;
    toolTipsPending = true;
    SetWindowIcons(window);
}

// Under Wine these two would cost a sixth of the start-up, far more with a
// display of many modes, for nothing the player sees yet.

// The modes are listed when the player first reaches for the list: the
// keyboard gives it the focus, or the pointer comes over it (a wheel turns
// the list under the pointer). Until then the closed list shows only its
// selected entry, the configured size.
static void ListDisplayModesOnce(HWND window)
{
    if (!modesPending)
        return;
    modesPending = false;
    FillResolutionList(GetDlgItem(window, IDC_RESOLUTION));
}

// The tips are made when the pointer first comes over the window: a tip
// shows only under a resting pointer. WM_SETCURSOR comes before the mouse
// message it belongs to, so the control under the pointer hands that very
// message to its new tip.
static void MakeToolTipsOnce(HWND window)
{
    if (!toolTipsPending)
        return;
    toolTipsPending = false;
    CreateToolTips(window);
}

// Comes with every move of the pointer over the window. The control's own
// id is read from its window; GetDlgItem would ask Wine's server for the
// window's children on each move.
static void OnSetCursor(HWND window, HWND underPointer)
{
    MakeToolTipsOnce(window);
    if (GetDlgCtrlID(underPointer) == IDC_RESOLUTION)
        ListDisplayModesOnce(window);
}

// Under Wine, the game loads Wine's own wsock32.dll unless told to take
// the patch's; told only for the patch itself, as an override for another
// wsock32.dll would have the game load a module nobody here vouches for.
static void LetWineLoadHookModule()
{
    if (IsRunningOnWine() && !WineLoadsGameWsock32() && IsHookModuleInstalled() && SetWineToLoadGameWsock32())
        AddStatusMessage("Wine set to load the patched WSOCK32.DLL");
}

static void OnApply(HWND window)
{
    PatchSettings &s = patchSettings;
    // Without the box the game keeps its own resolution.
    const HWND list = GetDlgItem(window, IDC_RESOLUTION);
    const Resolution resolution = IsChecked(window, IDC_SET_RESOLUTION) ? ChosenResolution(list) : Resolution{0, 0};
    s.width = resolution.width;
    s.height = resolution.height;
    s.nativefs = IsChecked(window, IDC_NATIVE_FULLSCREEN);
    s.consolenoback = IsChecked(window, IDC_CONSOLE_NO_BACK);
    s.consoleoverlay = ReadLimitedNumber(window, IDC_CONSOLE_OVERLAY, 4, 32);
    s.consolewidth = ReadLimitedNumber(window, IDC_CONSOLE_WIDTH, 78, INT32_MAX);
    s.chatlines = ReadLimitedNumber(window, IDC_CHAT_LINES, 4, 32);
    s.menudarken = IsChecked(window, IDC_MENU_DARKEN);
    s.maxfps = ReadLimitedNumber(window, IDC_MAX_FPS, INT32_MIN, 999);
    s.showgun = IsChecked(window, IDC_SHOW_GUN);
    s.autofov = IsChecked(window, IDC_AUTO_FOV);
    s.dlmain = IsChecked(window, IDC_DOWNLOAD_MAIN);
    s.dlrate = ReadNumber(window, IDC_DOWNLOAD_RATE);
    s.enable = IsChecked(window, IDC_ENABLE);

    // The registry follows only a saved patch.cfg, so a failed save leaves
    // the player's system exactly as it was.
    if (!WritePatchConfig())
        return;
    ApplyDemoAssociation(IsChecked(window, IDC_DEMO_ASSOCIATION) != 0, &demoAssociated);
    ApplyFreezeFix(IsChecked(window, IDC_FREEZE_FIX) != 0, &freezeFixState);
    LetWineLoadHookModule();
}

static void OpenDocument(HWND window, const wchar_t *document)
{
    ShellExecuteW(window, L"open", document, nullptr, nullptr, SW_SHOWNORMAL);
}

static void OnNotify(HWND window, const NMHDR *header)
{
    // Only the link sends these with an NMLINK behind them: a click, or
    // Enter once Tab has brought the player to it.
    const bool activated = header->code == static_cast<UINT>(NM_CLICK) || header->code == static_cast<UINT>(NM_RETURN);
    if (activated && header->idFrom == IDC_LINK)
        OpenDocument(window, reinterpret_cast<const NMLINK *>(header)->item.szUrl);
}

// Moved to a display of another scale. Per-monitor v2 has the system rescale
// the window, its controls and their text; the tip width and the icons are
// the tool's own.
static void OnDpiChanged(HWND window, UINT dpi)
{
    FitToolTipsToDpi(dpi);
    SetWindowIconsForDpi(window, dpi);
}

static void OnCommand(HWND window, int id, UINT code)
{
    if (id == IDC_APPLY)
        OnApply(window);
    else if (id == IDC_RESOLUTION && code == CBN_SETFOCUS)
        ListDisplayModesOnce(window);
    else if (id == IDCANCEL)
        // EndDialog, not DestroyWindow: a destroyed modal dialog leaves the
        // dialog loop waiting for one more message before it returns.
        EndDialog(window, 0);
}

// From the caption's "?" or F1 in any control. Wine draws no "?" in the
// caption, so on Linux F1 is the player's only way to the read-me.
static void OpenReadMe(HWND window)
{
    OpenDocument(window, L"patch.txt");
}

// The caption's "?" opens the read-me, not context-help mode.
static BOOL OnSysCommand(HWND window, WPARAM command)
{
    if (command != SC_CONTEXTHELP)
        return FALSE;
    OpenReadMe(window);
    return TRUE;
}

INT_PTR CALLBACK ConfigDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(window);
        return TRUE;
    case WM_COMMAND:
        OnCommand(window, LOWORD(wParam), HIWORD(wParam));
        return FALSE;
    case WM_SYSCOMMAND:
        return OnSysCommand(window, wParam);
    case WM_HELP:
        OpenReadMe(window);
        return TRUE;
    case WM_NOTIFY:
        OnNotify(window, reinterpret_cast<const NMHDR *>(lParam));
        return FALSE;
    case WM_DPICHANGED:
        OnDpiChanged(window, LOWORD(wParam));
        // The system still moves and resizes the window to the new scale.
        return FALSE;
    case WM_SETCURSOR:
        OnSetCursor(window, reinterpret_cast<HWND>(wParam));
        // The cursor itself is still the controls' and the system's to set.
        return FALSE;
    }
    return FALSE;
}
