# Sourced by scripts/test and scripts/run: a Wine of our own, never the
# user's, on a virtual display when there is no real one.

wine_lib_top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# Fetched by scripts/setup where this kernel runs no 32-bit code.
WINE_EMULATOR=$wine_lib_top/build/tools/qemu-user/usr/bin/qemu-i386

# Picks how Wine runs here and exports WINE (the loader), WINE_PRESET (the
# build it runs) and WINE_ROUTE, in this order:
#   native    the 32-bit Wine, on a kernel that runs 32-bit code;
#   emulated  the same 32-bit Wine, each 32-bit process run by qemu-i386,
#             inside a user namespace of its own (wine_in_namespace);
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

# Runs a command in a user and mount namespace of its own whose binfmt_misc
# (the kernel gives each user namespace one) hands every 32-bit x86 ELF to
# qemu-i386: nothing outside sees the registration. Wine keeps its server
# and state per prefix, so everything that touches a prefix used here must
# run in here, the wineserver included. Already inside, it just runs it.
#
# Run as root, every id is mapped to itself, written from outside as root
# may, not just root (unshare --map-root-user): the fault tests' player
# must exist in here for setpriv to become it, and a file the player may
# not write is refused in here as outside. Until the map is written the command's shell has no
# capabilities; it waits for it, then execs the part that mounts.
wine_in_namespace() {
  if [ -n "${WINE_IN_NAMESPACE:-}" ]; then
    "$@"
    return
  fi
  [ -x "$WINE_EMULATOR" ] || return 1
  local ready namespace status=0
  ready=$(mktemp -u /tmp/patchcfg-userns.XXXXXX) && mkfifo "$ready" || return 1
  # Standard input given explicitly: a command sent to the background
  # would otherwise get /dev/null. Where there is none at all, /dev/null.
  [ -e "/proc/$BASHPID/fd/0" ] || exec </dev/null
  unshare --user --mount --propagation private -- \
    bash -c 'read -r _ <"$0" && exec "$@"' "$ready" \
    bash -c "$(declare -f wine_register_emulator)"'; wine_register_emulator "$1" && shift && exec "$@"' \
    _ "$WINE_EMULATOR" "$@" <&0 &
  namespace=$!
  for _ in $(seq 250); do
    [ "$(readlink /proc/$namespace/ns/user)" != "$(readlink /proc/$$/ns/user)" ] && break
    sleep 0.02
  done
  local uids="0 0 4294967295" gids="0 0 4294967295"
  if [ "$(id -u)" -ne 0 ]; then
    # Anyone else may map only themselves (as root in there), and may not
    # then change their groups.
    uids="0 $(id -u) 1" gids="0 $(id -g) 1"
    echo deny >"/proc/$namespace/setgroups"
  fi
  if echo "$uids" >"/proc/$namespace/uid_map" && echo "$gids" >"/proc/$namespace/gid_map"; then
    timeout 10 bash -c 'echo >"$0"' "$ready" || kill "$namespace"
  else
    kill "$namespace"
  fi
  wait "$namespace" || status=$?
  rm -f "$ready"
  return $status
}

# In the namespace: its own binfmt_misc, the emulator ($1) registered for
# 32-bit x86 executables and shared objects (ELF type 2 or 3, machine 3).
# Flag F: the kernel opens the emulator now, so a user who cannot reach its
# path (the player) runs it as well.
wine_register_emulator() {
  mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc &&
    printf ':qemu-i386:M::%s:%s:%s:F' \
      '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00' \
      '\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff' \
      "$1" >/proc/sys/fs/binfmt_misc/register &&
    export WINE_IN_NAMESPACE=1
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
