#!/usr/bin/env bash
# save_faults.sh FAULT WINE PROGRAM: runs the save-fault test with FAULT made
# real in a game directory of its own, for whoever runs it; exits with 77,
# saying why, where the fault cannot be made real here.
set -uo pipefail
fault=$1 WINE=$2 program=$3
run=$(mktemp -d /tmp/patchcfg-fault.XXXXXX)
game=$run/Παιχνίδι # a name in letters outside the code page, as many players' are

# Nothing may be created in, renamed into or removed from the directory,
# while its files stay writable. Permissions do not stop root (outside a
# user namespace), so where they do not bind the directory is made immutable.
lock() { chmod a-w "$game" && ! touch "$game/probe" 2>/dev/null || { rm -f "$game/probe"; chattr +i "$game"; }; }
unlock() { chattr -i "$game" 2>/dev/null; chmod u+w "$game"; }
trap 'unlock 2>/dev/null; rm -rf "$run"' EXIT

mkdir "$game" || exit 1
[ "$fault" = first-save ] || printf 'maxfps 120\r\ndlrate 7\r\n' >"$game/patch.cfg"
limit=unlimited
case $fault in
  no-create | first-save)
    lock 2>/dev/null
    if touch "$game/probe" 2>/dev/null; then
      echo "!!! SKIPPED: $(id -un) here may create files in any directory (no chattr +i, no permissions that bind)" >&2
      exit 77
    fi
    ;;
  write-fails) limit=100 ;; # as on a full disk: the new file is longer than 100 bytes
  *) echo "no such fault: $fault" >&2; exit 1 ;;
esac

trap '' XFSZ # so a write past the size limit fails, as on a full disk, and does not end the program
export GRAVLOK_FAULT=$fault
cd "$game" && prlimit --fsize="$limit:unlimited" "$WINE" "$program" --gtest_filter='SaveFault.*'
