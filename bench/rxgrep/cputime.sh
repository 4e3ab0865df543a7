#!/usr/bin/env bash
# Median CPU time (perf stat task-clock, every thread of the process) and median wall time
# (perf's duration_time, taken in the same runs) of whole processes on the corpus, one run at a
# time: `rxgrep --count` of each pattern, rxgrep on an empty file, and `cat` of the corpus (the
# raw read as a process). The median resists the machine's load better than perf's mean.
#   bench/rxgrep/cputime.sh RXGREP [RUNS] [CORPUS] [PATTERN...]
rx=${1:?rxgrep binary}; runs=${2:-21}; corpus=${3:-$(dirname "$0")/../../../shared/bench/corpus.txt}
shift 3 2>/dev/null || shift $#
patterns=("$@")
[ ${#patterns[@]} -gt 0 ] || patterns=(zqzqzq '\w+@\w+' a ab '[ab]' '\d')
empty=$(mktemp); trap 'rm -f "$empty"' EXIT
median() { sort -n | awk '{v[NR] = $1} END {printf "%.2f", v[int((NR + 1) / 2)]}'; }
# command...: "CPU-ms wall-ms", the medians of the runs
measure() {
  local cpu=() wall=() line
  for _ in $(seq "$runs"); do
    line=$(perf stat -x, -e task-clock,duration_time "$@" 2>&1 >/dev/null |
           awk -F, '/task-clock/ {c = $1} /duration_time/ {w = $1 / 1e6} END {print c, w}')
    cpu+=("${line% *}"); wall+=("${line#* }")
  done
  printf '%8s %8s' "$(printf '%s\n' "${cpu[@]}" | median)" "$(printf '%s\n' "${wall[@]}" | median)"
}
printf 'load before: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-14s %8s %8s  (ms, median of %s)\n' "" CPU wall "$runs"
printf '%-14s %s\n' "cat (raw read)" "$(measure cat "$corpus")"
printf '%-14s %s\n' "empty file" "$(measure "$rx" --count a "$empty")"
for p in "${patterns[@]}"; do
  printf '%-14s %s  (%s matches)\n' "$p" "$(measure "$rx" --count "$p" "$corpus")" "$("$rx" --count "$p" "$corpus")"
done
printf 'load after: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
