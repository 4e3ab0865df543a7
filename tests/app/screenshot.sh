#!/usr/bin/env bash
# Photographs the running workbench on the test display: once after a match run (narrow window),
# once with the reference panel open. Usage: screenshot.sh RegexWorkbench.exe OUTPUT_FOLDER
# Exit 77 (skipped) without a display.
set -eu
exe=$1
out=$2
tools=$(cd "$(dirname "$0")/../../tools" && pwd)
[ -n "${DISPLAY:-}" ] || { echo "no DISPLAY: screenshot skipped"; exit 77; }
command -v xdotool >/dev/null || { echo "xdotool missing: screenshot skipped"; exit 77; }
mkdir -p "$out"

"$tools/wine-run.sh" "$exe" >/dev/null 2>&1 </dev/null &
program=$!
close_program() {
  "$tools/wine-run.sh" taskkill /im RegexWorkbench.exe >/dev/null 2>&1 </dev/null || true
  wait "$program" 2>/dev/null || true
}
trap close_program EXIT

# polls with a bound; each step is short
wait_for() {
  local i
  for i in $(seq 1 300); do
    if eval "$1"; then return 0; fi
    sleep 0.1
  done
  echo "timed out: $1" >&2
  return 1
}

window=
wait_for 'window=$(xdotool search --name "正则表达式匹配工具" 2>/dev/null | head -1); [ -n "$window" ]'

# A picture of the window once it has settled: two grabs in a row alike, with many distinct
# colours (a window, not an empty screen).
shoot() {
  local file=$1 geometry=$2 previous=$1.previous.png
  rm -f "$previous"
  wait_for "grab \"$file\" $geometry && settled \"$file\" \"$previous\""
  rm -f "$previous"
}
# no date chunks: two grabs of the same pixels must compare equal however slowly they come
grab() { xwd -root -display "$DISPLAY" -silent | convert xwd:- -crop "$2" +repage -define png:exclude-chunks=date,time "$1"; }
settled() {
  if [ -f "$2" ] && cmp -s "$1" "$2" && [ "$(convert "$1" -format %k info:)" -gt 50 ]; then return 0; fi
  cp "$1" "$2"
  return 1
}

geometry() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
  echo "${WIDTH}x${HEIGHT}+${X}+${Y}"
}

# keys typed before the window has settled may be lost: wait until it shows still
shoot "$out/startup.png" "$(geometry)"
rm -f "$out/startup.png"

# the focus starts in the source box; Tab goes to the pattern box, Return runs the match
xdotool type --delay 20 'banana bandana cabana'
xdotool key Tab
xdotool type --delay 20 'an+a'
xdotool key Return
shoot "$out/workbench-narrow.png" "$(geometry)"

# Command2 (参考和帮助 >) sits at 9120..10575 x 9060..9435 twips of the client area
eval "$(xdotool getwindowgeometry --shell "$window")"
dpi=$(xdpyinfo 2>/dev/null | awk '/resolution:/ { split($2, r, "x"); print r[1]; exit }' || true)
dpi=${dpi:-96}
px() { echo $(( ($1 * dpi + 720) / 1440 )); }
client_h=$(px 9540)

xdotool mousemove --window "$window" $(( $(px 9847) )) $(( HEIGHT - client_h - 3 + $(px 9247) )) click 1
wait_for '[ "$(geometry | cut -dx -f1)" -gt "$WIDTH" ]'
shoot "$out/workbench-wide.png" "$(geometry)"
echo "screenshots: $out/workbench-narrow.png $out/workbench-wide.png"
