# Sourced by the scripts and the save-fault tests: a Wine of our own, never
# the user's, on a virtual display when there is no real one.

wine_lib_top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# Wine names a file on disk in the locale's character set. A fresh login
# often has no locale at all (POSIX: plain ASCII), and then a game directory
# named in Greek or Japanese letters cannot even be made; players' desktops
# run UTF-8.
if [ "$(locale charmap 2>/dev/null)" != UTF-8 ]; then
  export LC_ALL=C.UTF-8
fi

# Picks how Wine runs here and exports WINE (the loader), WINE_PRESET (the
# build it runs) and WINE_ROUTE, in this order:
#   native    the 32-bit Wine, on a kernel that runs 32-bit code;
#   emulated  the same 32-bit Wine, each 32-bit process run by qemu-i386,
#             inside a user namespace of its own (wine_emulated.sh, sourced
#             only when this route is tried);
#   64-bit    only where neither works: a 64-bit build of the same sources
#             (preset mingw-x86_64) under the 64-bit loader.
# PATCHCFG_WINE_ROUTE=emulated or =64-bit starts the search there, to try
# a route that a kernel able to run 32-bit code would never reach.
wine_pick_loader() {
  WINE=wine
  WINE_PRESET=mingw-i686
  local first=${PATCHCFG_WINE_ROUTE:-native}
  # In the namespace, a script run again from inside keeps its route.
  [ -n "${WINE_IN_NAMESPACE:-}" ] && first=emulated
  case $first in
    native)
      WINE_ROUTE=native
      /usr/lib/wine/wine --version >/dev/null 2>&1 && { export WINE WINE_PRESET WINE_ROUTE; return; }
      ;&
    emulated)
      WINE_ROUTE=emulated
      . "$wine_lib_top/scripts/lib/wine_emulated.sh"
      wine_in_namespace /usr/lib/wine/wine --version >/dev/null 2>&1 && { export WINE WINE_PRESET WINE_ROUTE; return; }
      ;;
  esac
  WINE=/usr/lib/wine/wine64
  WINE_PRESET=mingw-x86_64
  WINE_ROUTE=64-bit
  export WINE WINE_PRESET WINE_ROUTE
}

# For the emulated route, runs the calling script ("$0" and its arguments,
# given) once more inside the namespace and exits with its status: the
# script's prefix is only ever used in there. Otherwise returns at once.
wine_continue_in_namespace() {
  if [ "${WINE_ROUTE:-}" = emulated ] && [ -z "${WINE_IN_NAMESPACE:-}" ]; then
    wine_in_namespace "$@"
    exit
  fi
}

# Runs a command where the picked route's Wine runs: for the emulated
# route, inside the user namespace; otherwise as it is.
wine_route_run() {
  if [ "${WINE_ROUTE:-}" = emulated ]; then wine_in_namespace "$@"; else "$@"; fi
}

# Starts Xvfb on a display number it picks itself (so runs side by side
# never share one) and exports DISPLAY.
wine_start_display() {
  local numberfile
  numberfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$numberfile" >/dev/null 2>&1 &
  WINE_XVFB_PID=$!
  for _ in $(seq 100); do [ -s "$numberfile" ] && break; sleep 0.1; done
  export DISPLAY=":$(tr -d '[:space:]' <"$numberfile")"
  rm -f "$numberfile"
}

# Creates the prefix named by $WINEPREFIX unless it is there already. With
# --virtual-desktop every program in it runs inside a Wine virtual desktop:
# Wine then draws captions, offers the usual list of display modes, and
# closes windows without waiting on a window manager that a bare Xvfb does
# not have.
wine_make_prefix() {
  export WINEDEBUG=-all
  mkdir -p "$WINEPREFIX"
  if [ ! -f "$WINEPREFIX/.patchcfg-ready" ]; then
    # No Mono or Gecko installers: there is nothing to fetch them from.
    # wineboot's exit code says little (it is 2 on success here); the
    # Windows directory it leaves is what counts.
    WINEDLLOVERRIDES="mscoree,mshtml=" "$WINE" wineboot -i >/dev/null 2>&1 || true
    if [ ! -d "$WINEPREFIX/drive_c/windows/system32" ]; then
      echo "wineboot could not create the prefix $WINEPREFIX" >&2
      return 1
    fi
    if [ "${1:-}" = --virtual-desktop ]; then
      "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
      "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1920x1080 /f >/dev/null 2>&1
      # wineboot's own desktop, made before the setting above, would live on
      # with its server, and programs would join it instead of a virtual one.
      timeout 60 wineserver -w || wineserver -k
    fi
    touch "$WINEPREFIX/.patchcfg-ready"
  fi
  # Debian 12's Wine 8 never opens its own fonts in /usr/share/wine/fonts,
  # and its wineboot leaves the prefix's font folder empty: without Marlett
  # GDI picks another face, and each caption button shows the letter that
  # Marlett draws as its symbol ("r" for the close box's cross); without
  # Tahoma dialogs get another face too. Wine does load fonts from the
  # Windows font folder, where other Wine builds have them already.
  cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  # One server for the whole run, so each program starts quickly.
  wineserver -p >/dev/null 2>&1 || true
  # The desktop is made here, not by the first program: the desktop's
  # process would inherit that program's output and keep ctest waiting.
  "$WINE" wineboot </dev/null >/dev/null 2>&1 || true
}

wine_stop() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
  [ -n "${WINE_XVFB_PID:-}" ] && kill "$WINE_XVFB_PID" 2>/dev/null
  return 0
}
