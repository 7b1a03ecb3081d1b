#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# make docs: the pictures of docs/guida.md, taken by the program itself
# (tools/shootpages --guide) on the sample appraisal, and the report's pages
# drawn from the PDF it writes. Run after a change that shows on screen.
#   make-docs.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=docs/img
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

QT_QPA_PLATFORM=offscreen "$build/tools/shootpages" "$tmp" --guide
# The report: the cover, the unit and the results, at a readable size.
for page in 1 3 4 11; do
  pdftoppm -png -r 60 -f "$page" -l "$page" -singlefile "$tmp/report.pdf" "$tmp/report-$(printf '%02d' "$page")"
done
# The page "Quotazioni OMI", written on its own.
pdftoppm -png -r 60 -f 1 -l 1 -singlefile "$tmp/report-omi.pdf" "$tmp/report-13"
mkdir -p "$out"
rm -f "$out"/*.png
cp "$tmp"/*.png "$out"/
echo "docs: $(ls "$out" | wc -l) immagini in $out"
