#!/usr/bin/env bash
# check_image.sh EXE SOURCE_DIR BUILD_DIR: the shipped 32-bit program, a small
# GUI program needing only DLLs every Windows has, nothing of the C++ runtime,
# its unwinder or a thread library (the link map lists every symbol kept), and
# no link time or build path, so every build of a commit gives the same bytes.
exe=$1 map=${1%.exe}.map status=0
fail() { echo "$*"; status=1; }
info=$(TZ=UTC0 i686-w64-mingw32-objdump -p "$exe") || exit 1
grep -qE '^Subsystem[[:space:]]+00000002' <<<"$info" || fail "not a GUI program"
grep -qE '^Time/Date[[:space:]]+Thu Jan  1 00:00:00 1970$' <<<"$info" || fail "link time in the header:" $(grep ^Time/Date <<<"$info")
! grep -aqF -e "$2" -e "$3" "$exe" || fail "names the build's own directories"
imports=$(sed -nE 's/^[[:space:]]*DLL Name: (.*)$/\1/p' <<<"$info" | tr 'A-Z' 'a-z' | sort -u)
echo "imports:" $imports
[ -n "$imports" ] || fail "no imports found"
others=$(grep -vxE '(kernel32|user32|gdi32|advapi32|shell32|shlwapi|comctl32|version|msvcrt)\.dll' <<<"$imports")
[ -z "$others" ] || fail "imports DLLs not every Windows has:" $others
[ -f "$map" ] || fail "no link map beside it"
runtime=$(sed -n '/^Linker script and memory map/,$p' "$map" 2>/dev/null | grep -oE '\b_*(_Unwind_|__cxa_|pthread_)\w*' | sort -u)
[ -z "$runtime" ] || fail "runtime linked in:" $runtime
[ "$(stat -c %s "$exe")" -le 65536 ] || fail "$(stat -c %s "$exe") bytes: over 64 KB"
exit $status
