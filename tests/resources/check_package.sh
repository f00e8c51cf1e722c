#!/usr/bin/env bash
# Checks what the release package holds: one folder "Quillon" with the two
# programs (stripped of symbols, importing only system DLLs), the help
# pages (one per help context and the contents), "ReadNOW!.doc" as RTF, the
# shipped Korg M1 definition and the readme; no test tools, no substitute
# winmm.dll.
# Usage: check_package.sh Quillon-<version>.zip
set -uo pipefail
zip=$1
if [ ! -f "$zip" ]; then
  echo "No release package at $zip (scripts/package makes it)." >&2
  exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }

unzip -q "$zip" -d "$work" || { echo "FAIL: $zip does not unzip"; exit 1; }
[ "$(ls -A "$work")" = "Quillon" ] || fail "the zip holds more than the one folder Quillon: $(ls -A "$work")"
q=$work/Quillon
for f in Mirelda.exe Mirelda.dat "ReadNOW!.doc" Readme.txt "Korg M1.QvInstrument" \
         Help/index.html Help/manager.html Help/librarian.html Help/editor.html \
         Help/definitions.html Help/hex-editors.html; do
  [ -f "$q/$f" ] || fail "missing $f"
done
# Nothing of the tests.
while IFS= read -r f; do
  case ${f,,} in
    *winmm.dll|*qv_*|*test*|*fake*|*.cfg|*.pdb|*.a|*.o) fail "test or build file in the package: $f" ;;
  esac
done < <(cd "$q" && find . -type f)
# Only the two programs are executable code.
n=$(cd "$q" && find . -type f \( -iname '*.exe' -o -iname '*.dll' -o -iname '*.dat' \) | wc -l)
[ "$n" = 2 ] || fail "expected 2 program files, found $n"

allowed=" kernel32.dll user32.dll gdi32.dll advapi32.dll comctl32.dll comdlg32.dll shell32.dll winmm.dll msvcrt.dll "
for p in Mirelda.exe Mirelda.dat; do
  [ -f "$q/$p" ] || continue
  while read -r dll; do
    [[ $allowed == *" ${dll,,} "* ]] || fail "$p imports $dll, which is not a system DLL"
  done < <(x86_64-w64-mingw32-objdump -p "$q/$p" | awk '/DLL Name:/ {print $3}')
  if x86_64-w64-mingw32-objdump -h "$q/$p" | grep -q '\.debug'; then fail "$p carries debug sections"; fi
  if [ -n "$(x86_64-w64-mingw32-nm "$q/$p" 2>/dev/null | head -1)" ]; then fail "$p carries symbols"; fi
done
head -c 6 "$q/ReadNOW!.doc" | grep -q '{\\rtf1' || fail "ReadNOW!.doc is not RTF"
[ "$(stat -c %s "$q/Korg M1.QvInstrument" 2>/dev/null)" = 2048 ] || fail "Korg M1.QvInstrument is not one 2048-byte record"
# Every local link and picture of the help pages exists.
for page in "$q"/Help/*.html; do
  while read -r target; do
    target=${target%%#*}
    [ -z "$target" ] && continue
    [ -e "$q/Help/$target" ] || fail "$(basename "$page") links to missing $target"
  done < <(grep -o -E '(href|src)="[^"]+"' "$page" | sed -E 's/^[a-z]+="//; s/"$//' | grep -v -E '^(https?:|mailto:|#)')
done
[ $status = 0 ] && echo "package contents as expected: $(basename "$zip")"
exit $status
