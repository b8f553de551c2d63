#!/usr/bin/env bash
# Time from process start to first paint and peak RSS of programs under Xvfb, seen from outside
# them by first_paint_watch (the programs carry no hook). The programs take turns, so that load
# from elsewhere falls on all of them alike; medians of RUNS turns (default 15), and the ratio of
# each program's median to the last one's.
# Usage: [RUNS=N] bench/first_paint.sh WATCH PROGRAM... (DISPLAY must name a running X server)
set -euo pipefail
watch=$1
shift
runs=${RUNS:-15}
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
declare -A times rss
for ((i = 0; i < runs; i++)); do
    for program in "$@"; do
        out=$(HOME=$home "$watch" "$program")
        times[$program]+="$(sed -n 's/^first-paint //p' <<<"$out") "
        rss[$program]+="$(sed -n 's/^rss //p' <<<"$out") "
    done
done
median() { printf '%s\n' $1 | sort -n | sed -n "$(((runs + 1) / 2))p"; }
last=${!#}
base=$(median "${times[$last]}")
for program in "$@"; do
    t=$(median "${times[$program]}")
    ratio=$(awk -v t="$t" -v b="$base" 'BEGIN { printf "%.2f", t / b }')
    echo "$(basename "$program"): first paint $t ms (${ratio}x), peak RSS $(median "${rss[$program]}") KiB (median of $runs)"
done
