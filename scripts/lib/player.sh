# Sourced by scripts/test and tests/wine/save_faults.sh: an unprivileged
# player with a Wine prefix and a display of its own. Wine run as root
# writes wherever root may, whatever the unix permission bits say; run as
# this user, a file or directory the player may not write is really
# refused, as on a player's machine. Needs root to create the user; wine.sh
# sourced first.

PLAYER=gravlok-player
# Everything of the player's lives in PLAYER_ROOT (by default
# /tmp/patchcfg-player): the prefix, the display's number, and a copy of
# each test program run, as the build tree may lie where the player cannot
# read.

# Runs a command as the player, in the player's prefix, on its display.
# setpriv rather than runuser or su: those end every process of the session
# when the command ends, the player's wineserver with them.
as_player() {
  setpriv --reuid="$PLAYER" --regid="$PLAYER" --init-groups \
    env HOME="$(getent passwd "$PLAYER" | cut -d: -f6)" USER="$PLAYER" LOGNAME="$PLAYER" \
    WINEPREFIX="$PLAYER_ROOT/prefix" DISPLAY="$(player_display_name)" WINEDEBUG=-all "$@"
}

player_display_name() {
  local number pid
  read -r number pid 2>/dev/null <"$PLAYER_ROOT/display" && echo ":$number"
}

# A display apart from the other tests': the player's virtual desktop would
# otherwise lie over theirs and take the pointer from them.
start_player_display() {
  local number pid
  if read -r number pid 2>/dev/null <"$PLAYER_ROOT/display" && kill -0 "$pid" 2>/dev/null; then
    return 0
  fi
  (
    wine_start_display
    echo "${DISPLAY#:} $WINE_XVFB_PID" >"$PLAYER_ROOT/display"
  )
}

# Creates the player once per machine, and once per PLAYER_ROOT its display
# and prefix, and starts the player's wineserver. Safe to call again: it
# then only checks that they are there.
player_prepare() {
  : "${PLAYER_ROOT:=/tmp/patchcfg-player}"
  if ! id -u "$PLAYER" >/dev/null 2>&1; then
    useradd --create-home --shell /usr/sbin/nologin "$PLAYER" || return 1
  fi
  mkdir -p "$PLAYER_ROOT" && chown "$PLAYER": "$PLAYER_ROOT" && chmod 755 "$PLAYER_ROOT" || return 1
  # Under a lock, as tests running side by side may each get here first.
  # Every output goes to /dev/null, and the lock is not passed on: the
  # display, the server and the services keep the descriptors they were
  # given for as long as they run.
  (
    flock 9
    start_player_display 9>&- &&
      as_player bash -c "$(declare -f wine_make_prefix); wine_make_prefix --virtual-desktop" \
        </dev/null >/dev/null 2>&1 9>&-
  ) 9>"$PLAYER_ROOT/.lock"
  [ -f "$PLAYER_ROOT/prefix/.patchcfg-ready" ]
}

player_stop() {
  local number pid
  [ -n "${PLAYER_ROOT:-}" ] || return 0
  [ -d "$PLAYER_ROOT/prefix" ] && as_player wineserver -k >/dev/null 2>&1
  read -r number pid 2>/dev/null <"$PLAYER_ROOT/display" && kill "$pid" 2>/dev/null
  return 0
}
