#!/usr/bin/env bash
# Compares two galleries made by scripts/gallery.sh, picture by picture.
# Usage: scripts/compare-galleries.sh BEFORE_DIR AFTER_DIR
# Prints each picture that differs or exists on one side only; exits 1 if any does.
set -euo pipefail
before="${1:?usage: $0 BEFORE_DIR AFTER_DIR}"
after="${2:?usage: $0 BEFORE_DIR AFTER_DIR}"
status=0
same=0
for path in "$before"/*.png "$after"/*.png; do
    name="$(basename "$path")"
    [ -e "$before/$name" ] || { echo "only in $after: $name"; status=1; continue; }
    [ -e "$after/$name" ] || { echo "only in $before: $name"; status=1; continue; }
    [ "$path" = "$before/$name" ] || continue
    if cmp -s "$before/$name" "$after/$name"; then
        same=$((same + 1))
    else
        # The encoder is deterministic: equal pixels give equal files.
        echo "differs: $name"
        status=1
    fi
done
echo "$same pictures identical"
exit "$status"
