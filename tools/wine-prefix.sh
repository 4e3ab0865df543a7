#!/usr/bin/env bash
# Creates the project's private Wine prefix once: 32-bit, null-driver fallback, unmanaged
# windows, Chinese font replacements and links, Wine's own TrueType fonts.
# Usage: tools/wine-prefix.sh PREFIX   (does nothing when PREFIX is already complete)
set -euo pipefail
prefix=${1:?prefix folder}
here=$(cd "$(dirname "$0")" && pwd)
[ -f "$prefix/.workbench-ready" ] && exit 0
export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$prefix"
wineboot -i >/dev/null 2>&1 </dev/null
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d 'x11,null' /f >/dev/null 2>&1 </dev/null
# without a window manager, hiding a shown top-level window otherwise waits two seconds
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
reg=$(mktemp --suffix=.reg)
iconv -f UTF-8 -t UTF-16 "$here/wine-fonts-cjk.reg.txt" > "$reg"   # reg import wants UTF-16LE with a BOM
wine reg import "$reg" >/dev/null 2>&1 </dev/null
rm -f "$reg"
# Debian's Wine does not load its own Tahoma and Marlett; the bold Tahoma breaks CJK linking
for f in /usr/share/wine/fonts/*.ttf; do
  [ -e "$f" ] || { echo "wine-prefix: Wine's fonts are missing (package fonts-wine)" >&2; break; }
  case "$f" in *tahomabd.ttf) ;; *) cp "$f" "$prefix/drive_c/windows/Fonts/" ;; esac
done
wineserver -w
touch "$prefix/.workbench-ready"
