#!/usr/bin/env bash
# The Wine prefix template of a test run.
#   wine_prefix.sh setup <template>    boot a fresh prefix (once per run)
#   wine_prefix.sh cleanup <template>  stop its server and every group's
set -u
action=$1 template=$2
export WINEDEBUG=-all WINEDLLOVERRIDES="winealsa.drv=d;mscoree,mshtml="
case $action in
  setup)
    if [ -z "${DISPLAY:-}" ]; then
      echo "The Wine tests need a display: run ctest under xvfb-run -a (scripts/test does)." >&2
      exit 1
    fi
    rm -rf "$template"
    mkdir -p "$(dirname "$template")"
    export WINEPREFIX=$template
    wineboot -i || exit 1
    # Debian's Wine does not find its own fonts (fonts-wine) by itself: without
    # Marlett and Tahoma the caption buttons show as letters and dialog texts
    # are set in a wider face than on Windows, which spoils the screenshots.
    cp /usr/share/wine/fonts/*.ttf "$template/drive_c/windows/Fonts/" 2>/dev/null
    # Without a window manager Wine draws captions and frames itself.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null || exit 1
    # The registry reaches the disk when the server ends; groups copy it then.
    wineserver -w
    test -f "$template/user.reg" && grep -q '"Managed"="N"' "$template/user.reg"
    ;;
  cleanup)
    WINEPREFIX=$template wineserver -k 2>/dev/null
    for prefix in "$(dirname "$template")"/groups/*/prefix; do
      [ -d "$prefix" ] && WINEPREFIX=$prefix wineserver -k 2>/dev/null
    done
    exit 0
    ;;
  *)
    echo "usage: $0 setup|cleanup <template>" >&2
    exit 2
    ;;
esac
