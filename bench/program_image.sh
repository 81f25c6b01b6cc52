#!/usr/bin/env bash
# What a player downloads: the shipped 32-bit patchcfg.exe's size as built
# and once stripped of its symbols, and every function it imports, by DLL.
#   bench/program_image.sh build/mingw-i686/patchcfg.exe
set -euo pipefail
exe=$1
stripped=$(mktemp --suffix=.exe)
trap 'rm -f "$stripped"' EXIT
i686-w64-mingw32-strip -o "$stripped" "$exe"
echo "patchcfg.exe (i686): $(stat -c %s "$exe") bytes as built, $(stat -c %s "$stripped") bytes stripped"
i686-w64-mingw32-objdump -p "$stripped" | awk '
  /^[[:space:]]*DLL Name:/ { dll = tolower($3); order[++dlls] = dll; next }
  dll != "" && /^[[:space:]]+[0-9a-f]+[[:space:]]+[0-9]+[[:space:]]+[A-Za-z_]/ { names[dll] = names[dll] " " $3; count[dll]++; next }
  /^$/ && dll != "" && count[dll] > 0 { dll = "" }
  END {
    total = 0
    for (i = 1; i <= dlls; i++) total += count[order[i]]
    printf "imports %d functions from %d DLLs:\n", total, dlls
    for (i = 1; i <= dlls; i++) printf "  %s (%d):%s\n", order[i], count[order[i]], names[order[i]]
  }' | fold -s -w 110 | sed '3,$s/^\([^ ]\)/      \1/'
