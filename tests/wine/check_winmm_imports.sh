#!/usr/bin/env bash
# Every winmm function the programs import must be exported by the
# substitute winmm.dll, or the programs fail to load in the Wine tests.
# Usage: check_winmm_imports.sh fake_winmm.def bin-dir
set -u
def=$1 bindir=$2
exported=$(sed -n 's/^  \([A-Za-z_][A-Za-z0-9_]*\).*/\1/p' "$def" | sort -u)
status=0 checked=0
for program in "$bindir"/*.dat "$bindir"/*.exe; do
  [ -f "$program" ] || continue
  checked=$((checked + 1))
  imports=$(x86_64-w64-mingw32-objdump -p "$program" |
    awk '/DLL Name:/ { inwinmm = (tolower($3) == "winmm.dll"); next }
         /^[[:space:]]*$/ { inwinmm = 0; next }
         inwinmm && NF == 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ { print $3 }' | sort -u)
  for f in $imports; do
    if ! grep -qx "$f" <<<"$exported"; then
      echo "$(basename "$program") imports $f from winmm.dll; add it to tests/wine/fake_winmm" >&2
      status=1
    fi
  done
  echo "$(basename "$program"): $(wc -w <<<"$imports") winmm imports checked"
done
[ $checked -gt 0 ] || echo "no programs in $bindir yet"
exit $status
