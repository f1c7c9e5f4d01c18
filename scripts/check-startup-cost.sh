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

# Prints "bare full simple" for a platform; nothing when a subject did not reach its frame.
counts() { # platform
    local out
    out="$(mktemp -d)"
    bash bench/profile.sh "$bin" "$out" "$1" >"$out/summary"
    awk '$1 ~ /^(bare|full|simple):$/ { gsub(",", "", $2); n[$1] = $2 }
         END { if (n["bare:"] && n["full:"] && n["simple:"])
                   print n["bare:"], n["full:"], n["simple:"] }' "$out/summary"
    rm -rf "$out"
}

# "ok", "TOO SLOW", or "implausible" when a program counts under 0.9 times the bare window:
# then the bare window paid for something once (a font cache rebuilt while it ran, say), and
# the platform is measured again.
verdict() { # bare full simple
    awk -v bare="$1" -v full="$2" -v simple="$3" -v limit="$limit" 'BEGIN {
        printf "bare %d, full %d (%.3fx), simple %d (%.3fx), limit %.2fx: ",
            bare, full, full / bare, simple, simple / bare, limit
        if (full < bare * 0.9 || simple < bare * 0.9) print "implausible"
        else print (full > bare * limit || simple > bare * limit) ? "TOO SLOW" : "ok" }'
}

status=0
for platform in xcb offscreen; do
    for attempt in 1 2; do
        measured="$(counts "$platform")"
        if [ -z "$measured" ]; then
            line="a subject did not reach its first frame under callgrind"
            break
        fi
        # shellcheck disable=SC2086 # three numbers
        line="$(verdict $measured)"
        case "$line" in *implausible) [ "$attempt" = 1 ] && echo "$platform: $line, again" ;; *) break ;; esac
    done
    echo "$platform: $line"
    case "$line" in *": ok") ;; *) status=1 ;; esac
done
exit "$status"
