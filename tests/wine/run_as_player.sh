#!/usr/bin/env bash
# ctest's launcher for the fault tests: runs a Windows test program as the
# unprivileged player of scripts/lib/player.sh.
#   run_as_player.sh WINE PROGRAM [ARGUMENTS...]
# The program and the patchcfg.exe beside its directory are copied where
# the player can read them. While the program runs, this script carries out
# its requests (tests/wine/unix_side.h) as root, one file each:
#   give-to-root PATH       chown to root, go-w: the player may read PATH, not write it
#   give-to-player PATH     chown back to the player
#   limit-file-size BYTES   on this run's patchcfg.exe processes
#   lift-file-size-limit
#   start-tool-in PATH      the player starts patchcfg.exe from a shell in PATH
# PATH must lie in the player's Windows user directory; anything else is refused.
set -uo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/scripts/lib/wine.sh"
. "$top/scripts/lib/player.sh"

export WINE=$1
program=$2
shift 2

if ! player_prepare; then
  echo "the player $PLAYER and its Wine prefix could not be made ready (this needs root)" >&2
  exit 1
fi

run=$(mktemp -d "$PLAYER_ROOT/run.XXXXXX")
trap 'rm -rf "$run"' EXIT
mkdir "$run/tests" "$run/requests"
cp "$program" "$run/tests/" && cp "$(dirname "$program")/../patchcfg.exe" "$run/" || exit 1
chown -R "$PLAYER": "$run" && chmod 755 "$run" || exit 1

player_files=$(realpath "$PLAYER_ROOT/prefix/drive_c/users/$PLAYER")

among_player_files() {
  local path
  path=$(realpath -e -- "$1" 2>/dev/null) && [[ "$path" == "$player_files"/* ]]
}

# Only this run's copy: other tests' tools are left alone.
this_runs_tools() {
  pgrep -u "$PLAYER" -f "$(basename "$run").patchcfg\.exe"
}

set_tool_file_size_limit() {
  local pids
  pids=$(this_runs_tools) || { echo "no patchcfg.exe of this test is running"; return 1; }
  # As the player: root here lacks the capability to set the limits of
  # another user's process, and the player may lower its own soft limit and
  # raise it again up to the hard one.
  for pid in $pids; do as_player prlimit --pid "$pid" --fsize="$1" || return 1; done
}

# Prints "done", or why not.
carry_out() {
  local verb=$1 argument=$2
  case $verb in
    give-to-root | give-to-player | start-tool-in)
      among_player_files "$argument" || { echo "refused: $argument is not among the player's files"; return; }
      ;;
  esac
  case $verb in
    give-to-root) chown root:root -- "$argument" && chmod go-w -- "$argument" ;;
    give-to-player) chown "$PLAYER": -- "$argument" ;;
    limit-file-size) set_tool_file_size_limit "$argument:unlimited" ;;
    lift-file-size-limit) set_tool_file_size_limit unlimited:unlimited ;;
    start-tool-in) (cd -- "$argument" && as_player "$WINE" "$run/patchcfg.exe" </dev/null >/dev/null 2>&1 &) ;;
    *) echo "refused: no such request"; return ;;
  esac && echo done || echo "failed"
}

serve_requests_while() {
  local request answer verb argument
  while kill -0 "$1" 2>/dev/null; do
    for request in "$run"/requests/*.request; do
      [ -e "$request" ] || continue
      answer=${request%.request}.answer
      read -r verb argument <"$request"
      carry_out "$verb" "${argument:-}" >"$answer.tmp" 2>&1
      chown "$PLAYER": "$answer.tmp" && mv "$answer.tmp" "$answer"
      rm -f "$request"
    done
    sleep 0.02
  done
}

# Ignored, and so ignored by every process started from here: a write past
# a file size limit then fails, as on a full disk, instead of ending the tool.
trap '' XFSZ
as_player GRAVLOK_REQUESTS="Z:${run//\//\\}\\requests" "$WINE" "$run/tests/$(basename "$program")" "$@" &
test=$!
serve_requests_while "$test"
wait "$test"
