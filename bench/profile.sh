#!/usr/bin/env bash
# Counts the instructions each subject runs from exec to its first frame (callgrind, so the
# counts repeat from run to run, unlike times) and lists where the programs spend them.
# Usage: bench/profile.sh BUILD_BIN_DIR [OUT_DIR] [offscreen|xcb]
# With xcb an Xvfb server is started for the run on the first free display from :90 on.
set -euo pipefail
bin="$(cd "${1:?usage: $0 BUILD_BIN_DIR [OUT_DIR] [offscreen|xcb]}" && pwd)"
out="${2:-$(mktemp -d)}"
platform="${3:-offscreen}"
mkdir -p "$out"
home="$(mktemp -d)"
xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$home"
}
trap cleanup EXIT
mkdir -m 700 "$home/runtime"
export HOME="$home" XDG_RUNTIME_DIR="$home/runtime" XDG_CONFIG_HOME="$home/config"
export QT_QPA_PLATFORM="$platform" BENCH_EXIT_AT_FIRST_FRAME=1
if [ "$platform" = xcb ]; then
    for n in $(seq 90 139); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
    done
    Xvfb ":$n" -screen 0 1440x900x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.05; done
    export DISPLAY=":$n"
fi

profile() { # name command...
    local name="$1"
    shift
    dbus-run-session -- valgrind --tool=callgrind --callgrind-out-file="$out/$name.out" \
        "$@" >/dev/null 2>"$out/$name.log"
    local total
    total=$(callgrind_annotate "$out/$name.out" 2>/dev/null | awk '/PROGRAM TOTALS/ {print $1}')
    echo "$name: $total instructions to the first frame"
}

profile bare "$bin/bench_bare_window" 1
profile full "$bin/bench_onboarding" full 1
profile simple "$bin/bench_onboarding" simple 1
echo "callgrind files in $out; the biggest inclusive costs of the full program:"
callgrind_annotate --inclusive=yes "$out/full.out" 2>/dev/null | sed -n '/file:function/,$p' |
    sed -n '2,41p' | cut -c1-160
