#!/usr/bin/env bash
# Instructions per key press, counted by callgrind: each engine types the text (one stats dump
# per distinct key prefix, collected only inside the press); every dump stands for as many key
# presses as its prefix is typed in the text, so the figures cover every key press, like the
# timings of bench_search --report.
#
#   bench/search/count-instructions.sh [--words N] [--chr FILE] [--text FILE] [ENGINE...]
#                                                    (engines: tessaline sqlite marisa)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
bench="$here/build/native/bench/search/bench_search"
words=()
while [ $# -ge 2 ]; do
  case "$1" in
    --words | --chr | --text) words+=("$1" "$2"); shift 2 ;;
    *) break ;;
  esac
done
engines=("$@")
[ ${#engines[@]} -gt 0 ] || engines=(tessaline sqlite marisa)
cmake --build "$here/build/native" --target bench_search >/dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
printf '%-10s %10s %10s %10s %10s\n' engine presses median p99 worst
for engine in "${engines[@]}"; do
  rm -f "$work"/cg.*
  valgrind --tool=callgrind --collect-atstart=no --dump-instr=no --dump-line=no \
    --callgrind-out-file="$work/cg.%p" "$bench" --count "$engine" --weights "$work/weights" \
    "${words[@]}" >/dev/null 2>&1
  # Dump k (in order) holds one key press; its "summary:" line is the instruction count, and line
  # k of the weights file how many key presses of the text it stands for.
  for f in $(cd "$work" && ls cg.*.* | sort -t. -k3 -n); do
    grep -h '^summary:' "$work/$f" | awk '{print $2}'
  done > "$work/per-prefix"
  paste "$work/per-prefix" "$work/weights" | awk '{for (i = 0; i < $2; i++) print $1}' | sort -n \
    > "$work/counts"
  awk -v name="$engine" '{a[NR]=$1} END {
    if (NR == 0) { printf "%-10s no counts\n", name; exit }
    p = int(NR * 0.99); if (p < 1) p = 1
    printf "%-10s %10d %10d %10d %10d\n", name, NR, a[int((NR+1)/2)], a[p], a[NR] }' "$work/counts"
done
