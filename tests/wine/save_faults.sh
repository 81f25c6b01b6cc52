#!/usr/bin/env bash
# save_faults.sh FAULT WINE PROGRAM: runs the save-fault test as the fault user
# of scripts/lib/player.sh with FAULT made in its game directory, cleared once
# the program creates GRAVLOK_CLEAR; exits with 77 where it cannot run.
set -uo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
. "$top/scripts/lib/wine.sh"
. "$top/scripts/lib/player.sh"
fault=$1 WINE=$2 program=$3

fault_user_prepare || { echo "!!! SKIPPED: Wine run as $(id -un) writes anywhere, and the player $PLAYER could not be made ready" >&2; exit 77; }
run=$(mktemp -d "$FAULT_HOME/patchcfg-fault.XXXXXX")
trap 'allow_fault_user -R "$run"; rm -rf "$run"' EXIT
game=$run/Παιχνίδι limit=unlimited # a name in letters outside the code page, as many players' are
mkdir "$game" && cp "$program" "$run/" && cp "$(dirname "$program")/modules/marked.dll" "$game/wsock32.dll" &&
  printf 'maxfps 120\r\ndlrate 7\r\n' >"$game/patch.cfg" && allow_fault_user -R "$run"

case $fault in
  write-fails) limit=100 ;; # as on a full disk: the new file is longer than 100 bytes
  write-fails-in-place) deny_fault_user "$game"; limit=100 ;;
  read-only) chmod a-w "$game/patch.cfg" ;;
  administrators-directory) deny_fault_user "$game/patch.cfg" "$game" ;;
  directory) rm "$game/patch.cfg" && mkdir "$game/patch.cfg" && echo notes >"$game/patch.cfg/notes.txt" &&
    allow_fault_user -R "$game/patch.cfg" ;;
  held-open) ;; # the test program holds the file itself
  *) echo "no such fault: $fault" >&2; exit 1 ;;
esac

trap '' XFSZ # so a write past the size limit fails, as on a full disk, and does not end the program
export GRAVLOK_FAULT=$fault GRAVLOK_CLEAR="Z:${run//\//\\}\\clear"
(cd "$game" && $FAULT_AS prlimit --fsize="$limit:unlimited" "$WINE" "$run/$(basename "$program")" --gtest_filter='SaveFault.*') &
test=$!
until [ -e "$run/clear" ] || ! kill -0 "$test" 2>/dev/null; do sleep 0.05; done
[ -e "$run/clear" ] || { wait "$test"; echo "the program never asked for the fault to be cleared" >&2; exit 1; }
case $fault in
  write-fails*) $FAULT_AS prlimit --fsize=unlimited --pid "$(pgrep -u "$FAULT_USER" -f "$(basename "$run").$(basename "$program")")" ;;
  read-only) chmod u+w "$game/patch.cfg" ;;
  administrators-directory) allow_fault_user "$game" "$game/patch.cfg" ;;
  directory) rm -r "$game/patch.cfg" ;;
esac
rm -f "$run/clear"
wait "$test"
