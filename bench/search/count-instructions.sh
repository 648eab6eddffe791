#!/usr/bin/env bash
# Instructions per key press, counted by callgrind: each engine types the text (one stats dump
# per distinct key prefix, collected only inside the press) and the dumps are summarised.
#
#   bench/search/count-instructions.sh [--words N] [ENGINE...]      (engines: tessaline sqlite marisa)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
bench="$here/build/native/bench/search/bench_search"
words=()
if [ "${1:-}" = "--words" ]; then words=(--words "$2"); shift 2; fi
engines=("$@")
[ ${#engines[@]} -gt 0 ] || engines=(tessaline sqlite marisa)
cmake --build "$here/build/native" --target bench_search >/dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
printf '%-10s %10s %10s %10s %10s\n' engine presses median p99 worst
for engine in "${engines[@]}"; do
  rm -f "$work"/cg.*
  valgrind --tool=callgrind --collect-atstart=no --dump-instr=no --dump-line=no \
    --callgrind-out-file="$work/cg.%p" "$bench" --count "$engine" "${words[@]}" >/dev/null 2>&1
  # Each dump after the first holds one key press; its "summary:" line is the instruction count.
  grep -h '^summary:' "$work"/cg.*.* 2>/dev/null | awk '{print $2}' | sort -n > "$work/counts"
  awk -v name="$engine" '{a[NR]=$1} END {
    if (NR == 0) { printf "%-10s no counts\n", name; exit }
    p = int(NR * 0.99); if (p < 1) p = 1
    printf "%-10s %10d %10d %10d %10d\n", name, NR, a[int((NR+1)/2)], a[p], a[NR] }' "$work/counts"
done
