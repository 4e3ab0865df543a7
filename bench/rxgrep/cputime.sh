#!/usr/bin/env bash
# Median CPU time (perf stat task-clock, one run at a time) of whole processes on the corpus:
# `rxgrep --count` of each pattern, rxgrep on an empty file, and `cat` of the corpus (the raw
# read as a process). The median resists the machine's load better than perf's mean.
#   bench/rxgrep/cputime.sh RXGREP [RUNS] [CORPUS]
rx=${1:?rxgrep binary}; runs=${2:-21}; corpus=${3:-$(dirname "$0")/../../../shared/bench/corpus.txt}
empty=$(mktemp); trap 'rm -f "$empty"' EXIT
median() {  # command...: the median task-clock in ms
  for _ in $(seq "$runs"); do
    perf stat -x, -e task-clock "$@" 2>&1 >/dev/null | awk -F, '/task-clock/ {print $1}'
  done | sort -n | awk '{v[NR] = $1} END {printf "%.2f", v[int((NR + 1) / 2)]}'
}
printf 'load before: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-14s %8s ms\n' "cat (raw read)" "$(median cat "$corpus")"
printf '%-14s %8s ms\n' "empty file" "$(median "$rx" --count a "$empty")"
for p in zqzqzq '\w+@\w+' a; do
  printf '%-14s %8s ms  (%s matches)\n' "$p" "$(median "$rx" --count "$p" "$corpus")" "$("$rx" --count "$p" "$corpus")"
done
printf 'load after: %s\n' "$(cut -d' ' -f1-3 /proc/loadavg)"
