#!/usr/bin/env bash
# Time from process start to first paint and peak RSS of a program under Xvfb, median of N runs.
# Usage: bench/first_paint.sh PROGRAM [RUNS]   (DISPLAY must name a running X server, e.g. Xvfb)
set -euo pipefail
program=$1
runs=${2:-15}
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
times=() rss=()
for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    out=$(HOME=$home TERQ_BENCH_FIRST_PAINT=1 /usr/bin/time -f 'rss %M' "$program" 2>&1)
    paint=$(sed -n 's/^first-paint //p' <<<"$out")
    times+=($(((paint - start) / 1000000)))
    rss+=($(sed -n 's/^rss //p' <<<"$out"))
done
median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }
echo "$(basename "$program"): first paint $(median "${times[@]}") ms, peak RSS $(median "${rss[@]}") KiB (median of $runs)"
