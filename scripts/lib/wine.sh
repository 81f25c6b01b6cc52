# Sourced by the scripts and the save-fault tests: the 32-bit Wine that runs
# the shipped program, in a prefix of our own (never the user's), on a
# virtual display when there is no real one.

wine_lib_top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# Wine names a file on disk in the locale's character set. A fresh login
# often has no locale at all (POSIX: plain ASCII), and then a game directory
# named in Greek or Japanese letters cannot even be made; players' desktops
# run UTF-8.
if [ "$(locale charmap 2>/dev/null)" != UTF-8 ]; then
  export LC_ALL=C.UTF-8
fi

# Picks how the 32-bit Wine runs here and exports WINE_ROUTE:
#   native    on a kernel that runs 32-bit code;
#   emulated  elsewhere, each 32-bit process handed to qemu-i386 inside a
#             user namespace of its own (wine_emulated.sh).
# PATCHCFG_WINE_ROUTE=emulated takes the second even where the first works,
# to try it on any machine. Where neither works, says why and fails: nothing
# else would run the program players get.
wine_pick_route() {
  if [ "${PATCHCFG_WINE_ROUTE:-native}" != emulated ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
    export WINE_ROUTE=native
    echo "The shipped 32-bit program, under 32-bit Wine run natively." >&2
    return
  fi
  export WINE_ROUTE=emulated
  . "$wine_lib_top/scripts/lib/wine_emulated.sh"
  local why="32-bit code does not run on this kernel"
  [ "${PATCHCFG_WINE_ROUTE:-}" != emulated ] || why="PATCHCFG_WINE_ROUTE=emulated asks for qemu-i386"
  if [ ! -x "$WINE_EMULATOR" ]; then
    echo "!!! $why, and scripts/setup could not fetch qemu-i386" >&2
    return 1
  elif ! wine_in_namespace /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "!!! $why, and qemu-i386 cannot run Wine here: the kernel allows no user namespaces, or gives them no binfmt_misc of their own (Linux 6.7 and later do)" >&2
    return 1
  fi
  echo "The shipped 32-bit program, under 32-bit Wine run by qemu-i386 in a user namespace ($why)." >&2
}

# Runs a command, or a function of the calling script, where the route's
# Wine runs, in a shell of its own (its traps end there): on the emulated
# route a new bash inside the namespace, given this shell's options and
# functions (the exported variables pass as to any program).
wine_route_run() {
  if [ "$WINE_ROUTE" = emulated ]; then
    wine_in_namespace bash -c "$(set +o)"$'\n'"$(declare -f)"$'\n''"$@"' _ "$@"
  else
    ("$@")
  fi
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
    WINEDLLOVERRIDES="mscoree,mshtml=" wine wineboot -i >/dev/null 2>&1 || true
    if [ ! -d "$WINEPREFIX/drive_c/windows/system32" ]; then
      echo "wineboot could not create the prefix $WINEPREFIX" >&2
      return 1
    fi
    if [ "${1:-}" = --virtual-desktop ]; then
      wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
      wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1920x1080 /f >/dev/null 2>&1
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
  wine wineboot </dev/null >/dev/null 2>&1 || true
}

wine_stop() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
  [ -n "${WINE_XVFB_PID:-}" ] && kill "$WINE_XVFB_PID" 2>/dev/null
  return 0
}
