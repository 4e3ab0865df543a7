#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's private 32-bit prefix.
# Used as CMAKE_CROSSCOMPILING_EMULATOR and by ./run; the display is whatever DISPLAY says
# (the prefix falls back to Wine's null driver when there is none).
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/build/win32/wineprefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
exec wine "$@"
