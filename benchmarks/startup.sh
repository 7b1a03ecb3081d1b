#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Medians over N fresh processes of the main window's and a bare window's
# start-up, offscreen, side by side: the time from launching the process to
# the window's first paint and the peak resident memory at that moment; for
# Brevan also the time and memory when the window is complete (the hidden
# pages, operations and working tables are built after the first paint).
set -euo pipefail
export LC_ALL=C
bin=${1:-build/benchmarks/bench_startup}
runs=${RUNS:-21}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
# One run: "paint-ms paint-KB complete-ms complete-KB", times from the launch.
run_once() {
  local start out
  start=${EPOCHREALTIME/./}
  out=$("$bin" "$1" 2>/dev/null | head -1)
  awk -v s="$start" -v out="$out" 'BEGIN {
    n = split(out, f, /[ ;]+/)
    for (i = 1; i < n; i++) v[f[i]] = f[i + 1]
    printf "%.2f %d %.2f %d\n", (v["first-paint-epoch-ns"] / 1000 - s) / 1000, v["peak-rss-kb"],
           (v["complete-epoch-ns"] / 1000 - s) / 1000, v["complete-peak-rss-kb"]
  }'
}
# Alternate the two so both see the same machine load.
: >/tmp/startup-bare; : >/tmp/startup-main
for _ in $(seq "$runs"); do
  run_once bare >>/tmp/startup-bare
  run_once main >>/tmp/startup-main
done
col() { cut -d' ' -f"$1" "$2" | median; }
bt=$(col 1 /tmp/startup-bare); bm=$(col 2 /tmp/startup-bare)
at=$(col 1 /tmp/startup-main); am=$(col 2 /tmp/startup-main)
ct=$(col 3 /tmp/startup-main); cm=$(col 4 /tmp/startup-main)
echo "bare QMainWindow, first paint: ${bt} ms, ${bm} KB"
echo "Brevan main window, first paint: ${at} ms, ${am} KB"
echo "Brevan main window, complete: ${ct} ms, ${cm} KB"
awk -v a="$at" -v b="$bt" -v am="$am" -v bm="$bm" -v c="$ct" -v cm="$cm" 'BEGIN {
  printf "first paint: time ratio %.2f, memory ratio %.2f\n", a / b, am / bm
  printf "complete:    time ratio %.2f, memory ratio %.2f\n", c / b, cm / bm
}'
