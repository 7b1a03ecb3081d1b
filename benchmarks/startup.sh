#!/usr/bin/env bash
# Medians over N fresh processes of the main window's and a bare window's
# start-up, offscreen, side by side: the time from launching the process to
# the window's first paint, and the peak resident memory at that moment.
set -euo pipefail
export LC_ALL=C
bin=${1:-build/benchmarks/bench_startup}
runs=${RUNS:-21}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
# One run: prints "milliseconds-from-launch peak-KB".
run_once() {
  local start out paint kb
  start=${EPOCHREALTIME/./}
  out=$("$bin" "$1" 2>/dev/null)
  paint=$(sed -n 's/.*first-paint-epoch-ns \([0-9]*\).*/\1/p' <<<"$out")
  kb=$(sed -n 's/.*peak-rss-kb \([0-9]*\).*/\1/p' <<<"$out")
  awk -v p="$paint" -v s="$start" -v kb="$kb" 'BEGIN {printf "%.2f %d\n", (p / 1000 - s) / 1000, kb}'
}
# Alternate the two so both see the same machine load.
: >/tmp/startup-bare; : >/tmp/startup-main
for _ in $(seq "$runs"); do
  run_once bare >>/tmp/startup-bare
  run_once main >>/tmp/startup-main
done
read -r bt < <(cut -d' ' -f1 /tmp/startup-bare | median)
read -r bm < <(cut -d' ' -f2 /tmp/startup-bare | median)
read -r at < <(cut -d' ' -f1 /tmp/startup-main | median)
read -r am < <(cut -d' ' -f2 /tmp/startup-main | median)
echo "bare QMainWindow: ${bt} ms, ${bm} KB"
echo "Brevan main window: ${at} ms, ${am} KB"
awk -v a="$at" -v b="$bt" -v am="$am" -v bm="$bm" 'BEGIN {printf "time ratio %.2f, memory ratio %.2f\n", a/b, am/bm}'
