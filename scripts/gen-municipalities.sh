#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Regenerates src/data/comuni.tsv from the npm packages pinned in
# scripts/municipalities/ (package.json and package-lock.json).
# Not part of the build: run it by hand (or `make municipalities`), check the
# diff, commit the result. It needs npm and the registry; the build does not.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

command -v npm >/dev/null || { echo "gen-municipalities: npm is needed (apt-get install npm)" >&2; exit 1; }
cp "$here/municipalities/package.json" "$here/municipalities/package-lock.json" "$work/"
(cd "$work" && npm ci --no-audit --no-fund --silent)
# Written beside the list first: a run that stops leaves the committed list as it was.
out="$here/../src/data/comuni.tsv"
node "$here/gen-municipalities.mjs" "$work/node_modules" "$out.new"
mv "$out.new" "$out"
