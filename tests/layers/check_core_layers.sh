#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The folders of the core include one another one way only. Prints them from the top down, or
# fails naming a loop; fails too when common, the ground floor, includes another core folder.
# Usage: check_core_layers.sh SRC (the folder that holds core/)
set -uo pipefail
core="$1/core"
[ -d "$core" ] || { echo "no folder $core" >&2; exit 2; }

edges=""
for dir in "$core"/*/; do
  from=$(basename "$dir")
  edges+="$from $from"$'\n'
  for to in $(grep -rhoE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"core/[A-Za-z0-9_]+/' "$dir" |
              sed -E 's|.*"core/([A-Za-z0-9_]+)/|\1|' | sort -u); do
    [ "$to" = "$from" ] && continue
    edges+="$from $to"$'\n'
    if [ "$from" = common ]; then
      echo "common includes core/$to: common is the ground floor and includes nothing else of the core" >&2
      failed=1
    fi
  done
done

loops=$(mktemp)
trap 'rm -f "$loops"' EXIT
if ! order=$(printf '%s' "$edges" | tsort 2>"$loops"); then
  echo "a loop between core folders (each includes the next):" >&2
  grep -v 'input contains a loop:$' "$loops" | sed 's/^tsort: / /' >&2
  exit 1
fi
echo "core folders, each including only those below it:"
echo "$order" | sed 's/^/  /'
exit "${failed:-0}"
