#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Puts the licence's SPDX line at the top of every source file of the project
# that does not carry one yet:
#   // SPDX-License-Identifier: GPL-2.0-or-later    C++ sources and headers, JavaScript
#   # SPDX-License-Identifier: GPL-2.0-or-later     shell scripts, CMake files, Makefile
# A "#!" line stays the first line, the SPDX line goes right under it.
# Running it again changes nothing.
#
#   spdx-headers.sh [--check] [ROOT]
#
# ROOT is the project's folder (default: the one this script is in). In a
# git checkout the files are the tracked ones, otherwise every file under
# ROOT except build folders. Test fixtures, documentation and data files are
# left alone. --check changes nothing: it lists the files without the line
# and ends with status 1 when there are any.
set -euo pipefail

LICENSE_ID="GPL-2.0-or-later"

check=0
if [ "${1:-}" = --check ]; then
  check=1
  shift
fi
root=${1:-$(dirname "$(realpath "$0")")/..}
[ -d "$root" ] || { echo "spdx-headers: $root is not a folder" >&2; exit 2; }
root=$(realpath "$root")

# The comment that opens a line in FILE's language, or nothing when FILE is
# not a source file of ours.
comment_for() {
  local path=$1 name=${1##*/}
  case "$path" in
    tests/fixtures/* | fuzz/corpus/* | docs/* | dist/debian/*) return ;;
  esac
  case "$name" in
    *.cpp | *.h | *.hpp | *.cc | *.c | *.mjs | *.js | *.cpp.in | *.h.in) echo "//" ;;
    *.sh | *.bash | *.cmake | CMakeLists.txt | Makefile | *.py) echo "#" ;;
    *.*) ;;
    *)
      # A script without an extension (.ci/run): known by its "#!" line.
      if head -c 64 "$root/$path" 2>/dev/null | head -1 | grep -Eq '^#!.*(sh|bash|python3?)([[:space:]]|$)'; then
        echo "#"
      fi
      ;;
  esac
}

list_files() {
  if git -C "$root" rev-parse --is-inside-work-tree > /dev/null 2>&1; then
    git -C "$root" ls-files -z
  else
    (cd "$root" && find . -type d \( -name .git -o -name 'build*' -o -name node_modules \) -prune -o -type f -print0 |
      sed -z 's|^\./||')
  fi
}

# Whether one of FILE's first lines already names its licence.
has_identifier() {
  head -n 3 "$1" | grep -q 'SPDX-License-Identifier:'
}

changed=0
missing=0
tmp=""
trap 'if [ -n "$tmp" ]; then rm -f "$tmp"; fi' EXIT
while IFS= read -r -d '' path; do
  file="$root/$path"
  [ -f "$file" ] && [ ! -L "$file" ] || continue
  prefix=$(comment_for "$path")
  [ -n "$prefix" ] || continue
  has_identifier "$file" && continue
  missing=$((missing + 1))
  if [ "$check" -eq 1 ]; then
    echo "$path"
    continue
  fi
  line="$prefix SPDX-License-Identifier: $LICENSE_ID"
  first=$(head -n 1 "$file")
  # A file written with CRLF line ends gets the line with CRLF too.
  eol=$'\n'
  case "$first" in *$'\r') eol=$'\r\n' ;; esac
  tmp=$(mktemp "$file.spdx.XXXXXX")
  if [ "${first:0:2}" = "#!" ]; then
    # $first keeps a CR of its own; only the LF went.
    { printf '%s\n' "$first"; printf '%s%s' "$line" "$eol"; tail -n +2 "$file"; } > "$tmp"
  else
    { printf '%s%s' "$line" "$eol"; cat "$file"; } > "$tmp"
  fi
  chmod --reference="$file" "$tmp"
  mv -f "$tmp" "$file"
  tmp=""
  changed=$((changed + 1))
done < <(list_files)

if [ "$check" -eq 1 ]; then
  [ "$missing" -eq 0 ] || { echo "spdx-headers: $missing file senza SPDX-License-Identifier" >&2; exit 1; }
else
  echo "spdx-headers: $changed file aggiornati"
fi
