#!/usr/bin/env bash
# The aspect label's ties (1040 x 768 is 11 : 8, not 4 : 3) come out right
# only with every double operation rounded on its own. x87 arithmetic keeps
# 80-bit intermediates, so in the shipped 32-bit program the label functions
# must round in SSE2. GCC may still take an absolute value on the x87 stack
# (fldl, fabs, fstpl): loading a double, clearing its sign and storing it
# back are exact, so only those three are let through. Read from the
# library the program is linked from: the shipped image has no symbols.
set -u
exe=$1
status=0
for function in __Z18NearestAspectRatioii __Z21FormatResolutionLabelRA96_cii; do
  code=$(i686-w64-mingw32-objdump -d --no-show-raw-insn --disassemble="$function" "$exe" |
         sed -nE 's/^ +[0-9a-f]+:\t([a-z0-9]+).*/\1/p')
  [ -n "$code" ] || { echo "$function: not found in $exe"; status=1; continue; }
  x87=$(grep -E '^f' <<<"$code" | grep -vxE 'fldl|fabs|fstpl' | sort | uniq -c | tr -s ' \n' ' ')
  [ -z "$x87" ] || { echo "$function: x87 arithmetic:$x87"; status=1; }
  # The ratio and the errors are divisions: without divsd the check has
  # looked at the wrong code. (Built for size, the label calls the ratio.)
  [ "$function" = __Z21FormatResolutionLabelRA96_cii ] || grep -qx divsd <<<"$code" ||
    { echo "$function: no SSE2 division"; status=1; }
done
[ $status -eq 0 ] && echo "label arithmetic is SSE2"
exit $status
