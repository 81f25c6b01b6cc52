# Sourced by scripts/test and scripts/run: a Wine of our own, never the
# user's, on a virtual display when there is no real one.

# The Wine loader that runs the shipped 32-bit program. Some kernels are
# built without 32-bit support; there the 64-bit loader runs a 64-bit build
# of the same sources instead (the mingw-x86_64 preset).
wine_pick_loader() {
  if wine --version >/dev/null 2>&1; then
    WINE=wine
    WINE_PRESET=mingw-i686
  else
    WINE=/usr/lib/wine/wine64
    WINE_PRESET=mingw-x86_64
  fi
  export WINE WINE_PRESET
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
