#!/usr/bin/env bash
# Guards the start-up cost without a clock: counts the instructions from exec to the first
# frame (bench/profile.sh, under callgrind, so the counts repeat on a busy machine) on X11
# (Xvfb) and offscreen, and fails when either program needs more than 1.15 times the bare
# window's count on the same platform.
# Usage: scripts/check-startup-cost.sh [BUILD_BIN_DIR]   (build/bin by default)
set -euo pipefail
cd "$(dirname "$0")/.."
bin="${1:-build/bin}"
limit=1.15
status=0
for platform in xcb offscreen; do
    out="$(mktemp -d)"
    bash bench/profile.sh "$bin" "$out" "$platform" >"$out/summary"
    count() { # subject
        awk -v subject="$1:" '$1 == subject { gsub(",", "", $2); print $2 }' "$out/summary"
    }
    bare="$(count bare)" full="$(count full)" simple="$(count simple)"
    rm -rf "$out"
    if [ -z "$bare" ] || [ -z "$full" ] || [ -z "$simple" ]; then
        echo "$platform: a subject did not reach its first frame under callgrind" >&2
        status=1
        continue
    fi
    verdict="$(awk -v bare="$bare" -v full="$full" -v simple="$simple" -v limit="$limit" 'BEGIN {
        printf "bare %d, full %d (%.3fx), simple %d (%.3fx), limit %.2fx: ",
            bare, full, full / bare, simple, simple / bare, limit
        print (full > bare * limit || simple > bare * limit) ? "TOO SLOW" : "ok" }')"
    echo "$platform: $verdict"
    case "$verdict" in *"TOO SLOW") status=1 ;; esac
done
exit "$status"
