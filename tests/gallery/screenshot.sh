#!/usr/bin/env bash
# Photographs every page of the control gallery on the test display, each beside the gallery's
# index: OUTPUT_FOLDER/gallery-<Page>.png.
# Usage: screenshot.sh Gallery.exe OUTPUT_FOLDER PAGES_FOLDER (the pages' design files name them)
# Exit 77 (skipped) without a display.
set -eu
exe=$1
out=$2
pages=$3
tools=$(cd "$(dirname "$0")/../../tools" && pwd)
[ -n "${DISPLAY:-}" ] || { echo "no DISPLAY: screenshot skipped"; exit 77; }
command -v xdotool >/dev/null || { echo "xdotool missing: screenshot skipped"; exit 77; }
mkdir -p "$out"

program=
close_program() {
  [ -n "$program" ] || return 0
  "$tools/wine-run.sh" taskkill /im Gallery.exe >/dev/null 2>&1 </dev/null || true
  wait "$program" 2>/dev/null || true
  program=
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
# (no date chunks in the file, so that two grabs of the same pixels compare equal)
grab() { xwd -root -display "$DISPLAY" -silent | convert xwd:- -crop "$2" +repage -define png:exclude-chunks=date,time "$1"; }
# settled: two grabs in a row alike, with many distinct colours (a window, not an empty screen)
settled() {
  if [ -f "$2" ] && cmp -s "$1" "$2" && [ "$(convert "$1" -format %k info:)" -gt 50 ]; then return 0; fi
  cp "$1" "$2"
  return 1
}
shoot() {
  local file=$1 geometry=$2 previous=$1.previous.png
  rm -f "$previous"
  wait_for "grab \"$file\" $geometry && settled \"$file\" \"$previous\""
  rm -f "$previous"
}
# The page stands beside the index once the gallery has placed it.
placed() {
  local ix iw
  eval "$(xdotool getwindowgeometry --shell "$1")"
  ix=$X; iw=$WIDTH
  eval "$(xdotool getwindowgeometry --shell "$2")"
  [ "$X" -ge $((ix + iw - 1)) ]
}
# The rectangle holding both windows: the index at the left, the page beside it.
geometry_of() {
  local index=$1 page=$2 x1 y1 x2 y2
  eval "$(xdotool getwindowgeometry --shell "$index")"
  x1=$X; y1=$Y; x2=$((X + WIDTH)); y2=$((Y + HEIGHT))
  eval "$(xdotool getwindowgeometry --shell "$page")"
  [ "$X" -lt "$x1" ] && x1=$X
  [ "$Y" -lt "$y1" ] && y1=$Y
  [ $((X + WIDTH)) -gt "$x2" ] && x2=$((X + WIDTH))
  [ $((Y + HEIGHT)) -gt "$y2" ] && y2=$((Y + HEIGHT))
  echo "$((x2 - x1))x$((y2 - y1))+$x1+$y1"
}

shots=
for design in "$pages"/*.frm; do
  page=$(basename "$design" .frm)
  "$tools/wine-run.sh" "$exe" "$page" >/dev/null 2>&1 </dev/null &
  program=$!
  index= window=
  wait_for 'index=$(xdotool search --name "^控件库画廊$" 2>/dev/null | head -1); [ -n "$index" ]'
  wait_for 'window=$(xdotool search --name "^$page - 控件库画廊$" 2>/dev/null | head -1); [ -n "$window" ]'
  wait_for 'placed "$index" "$window"'
  shoot "$out/gallery-$page.png" "$(geometry_of "$index" "$window")"
  shots="$shots $out/gallery-$page.png"
  close_program
done
echo "screenshots:$shots"
