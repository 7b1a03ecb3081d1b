#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# brevan-export as whole processes, medians over N runs taken in turn so all
# see the same machine load: --json on a full appraisal against a bare
# QCoreApplication that opens the same SQLite file, and --pdf of the eleven
# pages with three 4000 × 3000 photographs; then one undo and one redo of a
# field edit in the main window.
#   benchmarks/export.sh [BUILD_DIR]     (RUNS=11 by default)
set -euo pipefail
export LC_ALL=C
build=${1:-build}
runs=${RUNS:-11}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
bench=$build/benchmarks/bench_export
export_cmd=$build/src/export/brevan-export
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" make "$work/stime" >/dev/null
appraisal="$work/stime/Stima Foto.db"
median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
ms() { local s=${EPOCHREALTIME/./}; "$@" >/dev/null; local e=${EPOCHREALTIME/./}; echo $(((e - s) / 1000)); }
: >"$work/bare"; : >"$work/version"; : >"$work/json"; : >"$work/pdf"
for _ in $(seq "$runs"); do
  ms "$bench" bare "$appraisal" >>"$work/bare"
  ms "$export_cmd" --version >>"$work/version"
  ms "$export_cmd" "$appraisal" --json >>"$work/json"
  ms "$export_cmd" "$appraisal" --pdf "$work/out.pdf" >>"$work/pdf"
done
b=$(median <"$work/bare"); v=$(median <"$work/version"); j=$(median <"$work/json"); p=$(median <"$work/pdf")
echo "bare QCoreApplication opening the appraisal table: ${b} ms"
echo "brevan-export --version: ${v} ms"
echo "brevan-export --json (full appraisal): ${j} ms"
echo "brevan-export --pdf (11 pages, three 4000x3000 photographs): ${p} ms, $(stat -c %s "$work/out.pdf") bytes"
awk -v j="$j" -v b="$b" -v v="$v" 'BEGIN { printf "--json: %.2f x the bare process, %.2f x --version\n", j / b, j / v }'
"$bench" undo "$appraisal"
