#!/usr/bin/env bash
# Runs a Windows program under Wine at another screen DPI: in a prefix of its own beside the
# project's (build/win32/wineprefix-dpiN), so no other program ever sees the setting. The prefix
# shares the project prefix's files by hard links and has its own registry, where
# HKCU\Control Panel\Desktop LogPixels is N (Wine reads it when a process starts).
# Usage: tools/wine-dpi-run.sh DPI program.exe [arguments...]
set -euo pipefail
dpi=${1:?DPI}
shift
here=$(cd "$(dirname "$0")/.." && pwd)
base=$here/build/win32/wineprefix
prefix=$base-dpi$dpi
export WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$here/tools/wine-prefix.sh" "$base"
# made again when the project prefix was
if [ ! "$prefix/.workbench-dpi" -nt "$base/.workbench-ready" ]; then
  rm -rf "$prefix"
  cp -al "$base" "$prefix"
  for f in system.reg user.reg userdef.reg .update-timestamp; do
    rm -f "$prefix/$f"
    cp "$base/$f" "$prefix/$f"
  done
  WINEPREFIX=$prefix wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
    >/dev/null 2>&1 </dev/null
  WINEPREFIX=$prefix wineserver -w
  touch "$prefix/.workbench-dpi"
fi
export WINEPREFIX=$prefix
# the server for this prefix must not hold the caller's pipes (CTest would wait for it)
wineserver -p5 >/dev/null 2>&1 </dev/null
exec wine "$@"
