# Sourced by scripts/test and tests/wine/run_as_player.sh: an unprivileged
# player with a Wine prefix of its own. Wine run as root writes wherever
# root may, whatever the unix permission bits say; run as this user, a file
# or directory the player may not write is really refused, as on a
# player's machine. Needs root to create the user; wine.sh sourced first.

PLAYER=gravlok-player
# Everything of the player's lives here: the prefix, and a copy of each test
# program run (the build tree may lie where the player cannot read).
PLAYER_ROOT=${PLAYER_ROOT:-/tmp/patchcfg-player}

# Runs a command as the player, in the player's prefix, on the display.
# setpriv rather than runuser or su: those end every process of the session
# when the command ends, the player's wineserver with them.
as_player() {
  setpriv --reuid="$PLAYER" --regid="$PLAYER" --init-groups \
    env HOME="$(getent passwd "$PLAYER" | cut -d: -f6)" USER="$PLAYER" LOGNAME="$PLAYER" WINEPREFIX="$PLAYER_ROOT/prefix" \
    WINEDEBUG=-all "$@"
}

# Creates the player once per machine and the prefix once per PLAYER_ROOT,
# and starts the player's wineserver. Safe to call again: it then only
# checks that the server runs.
player_prepare() {
  if ! id -u "$PLAYER" >/dev/null 2>&1; then
    useradd --create-home --shell /usr/sbin/nologin "$PLAYER" || return 1
  fi
  mkdir -p "$PLAYER_ROOT" && chown "$PLAYER": "$PLAYER_ROOT" && chmod 755 "$PLAYER_ROOT" || return 1
  # Under a lock, as tests running side by side may each get here first.
  # Every output goes to /dev/null, and the lock is not passed on: the
  # server and the services that the first program starts keep the
  # descriptors they were given for as long as they run.
  (
    flock 9
    as_player bash -c "$(declare -f wine_make_prefix)
      wine_make_prefix --virtual-desktop && \"\$WINE\" cmd /c exit" </dev/null >/dev/null 2>&1 9>&-
  ) 9>"$PLAYER_ROOT/.lock"
  [ -f "$PLAYER_ROOT/prefix/.patchcfg-ready" ]
}

player_stop() {
  [ -d "$PLAYER_ROOT/prefix" ] && as_player wineserver -k >/dev/null 2>&1
  return 0
}
