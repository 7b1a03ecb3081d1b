#!/usr/bin/env bash
# Medians over N fresh processes of the main window's and a bare window's
# start-up (wall time and peak resident memory), offscreen, side by side.
set -euo pipefail
bin=${1:-build/benchmarks/bench_startup}
runs=${RUNS:-15}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
measure() {
  local mode=$1 t m
  : >"/tmp/startup-$mode.t"; : >"/tmp/startup-$mode.m"
  for _ in $(seq "$runs"); do
    /usr/bin/time -f '%e %M' -o /tmp/startup-run "$bin" "$mode" >/dev/null 2>&1
    read -r t m </tmp/startup-run
    echo "$t" >>"/tmp/startup-$mode.t"; echo "$m" >>"/tmp/startup-$mode.m"
  done
  echo "$(median <"/tmp/startup-$mode.t") $(median <"/tmp/startup-$mode.m")"
}
# Interleave the two so both see the same machine load.
read -r bt bm < <(measure bare)
read -r at am < <(measure main)
read -r bt2 bm2 < <(measure bare)
bt=$(echo "$bt $bt2" | awk '{print ($1+$2)/2}')
echo "bare QMainWindow: ${bt}s, ${bm} KB"
echo "Brevan main window: ${at}s, ${am} KB"
awk -v a="$at" -v b="$bt" -v am="$am" -v bm="$bm" 'BEGIN {printf "time ratio %.2f, memory ratio %.2f\n", a/b, am/bm}'
