# Sourced by scripts/test and tests/wine/save_faults.sh: an unprivileged
# player with a Wine prefix and a display of its own. Wine run as root
# writes wherever root may, whatever the unix permission bits say; run as
# this user, a file or directory the player may not write is really
# refused, as on a player's machine. Needs root to create the user, and is
# needed only by root: anyone else's Wine is refused as the player's is
# (fault_user_prepare picks). wine.sh sourced first.

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

# True where Wine run as this user writes even a file its permissions
# refuse it (root, in the emulated route's namespace too): only there do
# the fault tests need the player.
player_needed() {
  local probe status=1
  probe=$(mktemp) && chmod a-w "$probe" || return 0
  (: >>"$probe") 2>/dev/null && status=0
  rm -f "$probe"
  return $status
}

# Picks who the fault tests run as: the player where player_needed, anyone
# else as themselves (their Wine is refused as a player's is), in the
# Windows tests' prefix. Sets FAULT_USER, FAULT_AS (the command prefix that
# runs a command as them) and FAULT_HOME (where their Wine may make game
# directories); fails where the player cannot be made ready.
fault_user_prepare() {
  if player_needed; then
    player_prepare || return 1
    FAULT_USER=$PLAYER FAULT_AS=as_player FAULT_HOME=$PLAYER_ROOT/prefix/drive_c/users/$PLAYER
  else
    FAULT_USER=$(id -u) FAULT_AS= FAULT_HOME=${TMPDIR:-/tmp}
  fi
}

# Makes files and directories the administrator's, or no longer so, as far
# as the fault user's Wine can tell.
deny_fault_user() {
  if [ -n "$FAULT_AS" ]; then chown root:root "$@" && chmod go-w "$@"; else chmod a-w "$@"; fi
}
allow_fault_user() { { [ -z "$FAULT_AS" ] || chown "$FAULT_USER": "$@"; } && chmod u+w "$@"; }
