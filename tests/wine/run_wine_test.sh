#!/usr/bin/env bash
# Runs one Wine test group (one test executable) in a folder of its own:
#   <root>/groups/<name>/            the group's folder (QV_TEST_DIR)
#     prefix/                        hard-linked copy of the booted template
#     bin/                           Mirelda.dat, Mirelda.exe, winmm.dll
#                                    (or, when bin-dir is a release .zip, the
#                                    whole unpacked program folder and winmm.dll)
#     <test>.exe, winmm.dll          the test executable with the fake beside it
#     midi.log                       the fake devices' event log
# Usage: run_wine_test.sh name test.exe bin-dir fake-winmm.dll root screenshots [gtest args]
set -u
name=$1 exe=$2 bindir=$3 fake=$4 root=$5 shots=$6
shift 6
template=$root/template
dir=$root/groups/$name

win() { local p=${1//\//\\}; echo "Z:$p"; }

if [ -z "${DISPLAY:-}" ]; then
  echo "The Wine tests need a display: run ctest under xvfb-run -a (scripts/test does)." >&2
  exit 1
fi
if [ ! -f "$template/system.reg" ]; then
  echo "No booted Wine prefix at $template (the wine_prefix_setup test makes it)." >&2
  exit 1
fi
if [ -d "$dir/prefix" ]; then WINEPREFIX=$dir/prefix wineserver -k 2>/dev/null; fi
rm -rf "$dir"
mkdir -p "$dir/bin" "$shots"
cp -al "$template" "$dir/prefix"
case $bindir in
  *.zip)
    # The release package, unpacked as a user unpacks it: its one folder
    # becomes the program folder.
    if [ ! -f "$bindir" ]; then
      echo "No release package at $bindir (scripts/package makes it)." >&2
      exit 1
    fi
    unzip -q "$bindir" -d "$dir/unpacked" || exit 1
    rmdir "$dir/bin" && mv "$dir/unpacked/Quillon" "$dir/bin" || exit 1
    ;;
  *)
    for f in "$bindir"/*.dat "$bindir"/*.exe; do
      [ -f "$f" ] && cp "$f" "$dir/bin/"
    done
    ;;
esac
cp "$fake" "$dir/bin/winmm.dll"
cp "$fake" "$dir/winmm.dll"
cp "$exe" "$dir/"

export WINEPREFIX=$dir/prefix WINEDEBUG=-all
export WINEDLLOVERRIDES="winmm=n,b;winealsa.drv=d;mscoree,mshtml="
export QV_TEST_NAME=$name
export QV_TEST_DIR=$(win "$dir")
export QV_BIN_DIR=$(win "$dir/bin")
export QV_SCREENSHOT_DIR=$(win "$shots")
export QV_FAKEMIDI_LOG=$(win "$dir/midi.log")
unset QV_FAKEMIDI_CONFIG

cd "$dir"
timeout -k 10 540 wine "$dir/$(basename "$exe")" --gtest_color=no "$@"
status=$?
[ $status -eq 124 ] && echo "$name: timed out" >&2
# Whatever the group left running ends with it.
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
exit $status
