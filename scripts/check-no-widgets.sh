#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Fails when one of the programs given loads QtWidgets, directly or through
# another library: the commands that draw nothing on screen must run where
# no widget library is installed.
#   scripts/check-no-widgets.sh PROGRAM...
set -euo pipefail
status=0
for program in "$@"; do
  libraries=$(ldd "$program")
  if grep -q 'libQt6Widgets' <<<"$libraries"; then
    echo "$program: carica QtWidgets" >&2
    status=1
  else
    echo "$program: senza QtWidgets"
  fi
done
exit "$status"
