#!/usr/bin/env bash
# Median CPU time (perf stat task-clock, every thread of the process) and median wall time
# (perf's duration_time, taken in the same runs) of whole processes on the corpus: `rxgrep
# --count` of each pattern, rxgrep on an empty file, and `cat` of the corpus (the raw read as a
# process). Several rxgrep binaries (separated by commas) take turns run by run, so that each
# meets the same moments of the machine's load; the median resists that load better than
# perf's mean.
#   bench/rxgrep/cputime.sh RXGREP[,RXGREP...] [RUNS] [CORPUS] [PATTERN...]
IFS=, read -r -a bins <<< "${1:?rxgrep binary}"
runs=${2:-21}; corpus=${3:-$(dirname "$0")/../../../shared/bench/corpus.txt}
shift 3 2>/dev/null || shift $#
patterns=("$@")
[ ${#patterns[@]} -gt 0 ] || patterns=(zqzqzq '\w+@\w+' a ab '[ab]' '\d')
empty=$(mktemp); trap 'rm -f "$empty"' EXIT
median() { sort -n | awk '{v[NR] = $1} END {printf "%.2f", v[int((NR + 1) / 2)]}'; }
# "CPU-ms wall-ms" of one run of the command
once() {
  perf stat -x, -e task-clock,duration_time "$@" 2>&1 >/dev/null |
    awk -F, '/task-clock/ {c = $1} /duration_time/ {w = $1 / 1e6} END {print c, w}'
}
# ARGS...: for each binary in turn, run by run, the command `binary ARGS`; prints per binary
# its median CPU and wall time.
row() {
  local k r line
  local -a cpu wall
  for ((r = 0; r < runs; r++)); do
    for k in "${!bins[@]}"; do
      line=$(once "${bins[k]}" "$@")
      cpu[k]+="${line% *} "; wall[k]+="${line#* } "
    done
  done
  for k in "${!bins[@]}"; do
    printf ' %8s %8s' "$(tr ' ' '\n' <<< "${cpu[k]}" | grep . | median)" "$(tr ' ' '\n' <<< "${wall[k]}" | grep . | median)"
  done
}
printf 'load before: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-14s' "ms, median/$runs"; for b in "${bins[@]}"; do printf ' %17s' "$(basename "$b")"; done; printf '\n'
printf '%-14s' ""; for _ in "${bins[@]}"; do printf ' %8s %8s' CPU wall; done; printf '\n'
tools=("${bins[@]}"); bins=(cat)
printf '%-14s%s\n' "cat (raw read)" "$(row "$corpus")"
bins=("${tools[@]}")
printf '%-14s%s\n' "empty file" "$(row --count a "$empty")"
for p in "${patterns[@]}"; do
  printf '%-14s%s  (%s matches)\n' "$p" "$(row --count "$p" "$corpus")" "$("${bins[0]}" --count "$p" "$corpus")"
done
printf 'load after: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
