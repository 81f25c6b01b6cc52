#!/usr/bin/env bash
# The shipped program is a 32-bit Windows GUI program that needs nothing but
# DLLs every Windows installation has: players only drop the one file in.
# It is small, as it is mapped on every start.
set -u
exe=$1
info=$(i686-w64-mingw32-objdump -p "$exe") || exit 1
status=0
grep -q 'file format pei-i386' <<<"$info" || { echo "not a PE32 i386 image"; status=1; }
grep -qE '^Subsystem[[:space:]]+00000002' <<<"$info" || { echo "not a GUI program"; status=1; }
system='^(kernel32|user32|gdi32|advapi32|shell32|shlwapi|comctl32|version|msvcrt)\.dll$'
imports=$(sed -nE 's/^[[:space:]]*DLL Name: (.*)$/\1/p' <<<"$info" | tr 'A-Z' 'a-z' | sort -u)
[ -n "$imports" ] || { echo "no imports found"; status=1; }
for dll in $imports; do
  grep -qE "$system" <<<"$dll" || { echo "imports a non-system DLL: $dll"; status=1; }
done
echo "imports:" $imports
# Nothing of the C++ runtime, its unwinder or a thread library: the link
# map beside the program lists every symbol the linker kept.
kept=$(sed -n '/^Linker script and memory map/,$p' "${exe%.exe}.map") || status=1
runtime=$(grep -oE '\b_*(_Unwind_|__cxa_|pthread_)[A-Za-z_]*' <<<"$kept" | sort -u | tr '\n' ' ')
[ -z "$runtime" ] || { echo "C++ runtime, unwinder or thread library linked in: $runtime"; status=1; }
size=$(stat -c %s "$exe")
[ "$size" -le 65536 ] || { echo "$size bytes: over 64 KB"; status=1; }
exit $status
