#!/usr/bin/env bash
# Both programs as native Wayland clients of a headless compositor: they decide the same
# steps as on the offscreen platform, a subscribed user's run completes by itself, and Qt has
# nothing to complain about on the way.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

plugins="$(qtpaths6 --query QT_INSTALL_PLUGINS 2> /dev/null)"
[ -n "$plugins" ] || plugins=/usr/lib/x86_64-linux-gnu/qt6/plugins
need weston
if [ ! -e "$plugins/platforms/libqwayland-generic.so" ]; then
    echo "SKIP: Qt's Wayland platform plugin is not installed (qt6-wayland)"
    exit 0
fi

# --- The compositor ---------------------------------------------------------------------
# It gets its own runtime folder, which the programs share as they would in a session. What
# weston and its helper clients print goes to its log, never into a program's output.
wl_runtime="$WORK/wayland-runtime"
mkdir -p "$wl_runtime"
chmod 700 "$wl_runtime"
socket="marten-e2e-$$"
env -u WAYLAND_DISPLAY -u DISPLAY XDG_RUNTIME_DIR="$wl_runtime" \
    weston --backend=headless-backend.so --socket="$socket" --idle-time=0 \
    > "$WORK/weston.log" 2>&1 &
weston_pid=$!
trap 'kill "$weston_pid" 2> /dev/null; wait "$weston_pid" 2> /dev/null; rm -rf "$WORK"' EXIT
for ((i = 0; i < 100; i++)); do
    [ -S "$wl_runtime/$socket" ] && break
    kill -0 "$weston_pid" 2> /dev/null || break
    sleep 0.1
done
if [ ! -S "$wl_runtime/$socket" ]; then
    fail "weston starts" "$(tail -5 "$WORK/weston.log")"
    finish
    exit 1
fi

# on_wayland HOME CMD...: CMD as a client of the test compositor, with no X server to fall
# back to.
on_wayland() {
    QT_QPA_PLATFORM=wayland in_home "$1" \
        env -u DISPLAY XDG_RUNTIME_DIR="$wl_runtime" WAYLAND_DISPLAY="$socket" "${@:2}"
}
# quiet HOME: nothing on stderr but the private session bus's own lines. Qt's warnings
# (qt.qpa.wayland: ..., "Wayland does not support ...", QWidget::...) and protocol errors all
# land there, so anything else is a fault.
quiet() {
    ! grep -v '^dbus-daemon\[' "$1/err"
}

# A new user: the same console lines up to the welcome animation as on the offscreen platform.
for program in MartenOnboarding MartenOnboarding_Simple; do
    off="$(new_home "offscreen-$program")" wl="$(new_home "wayland-$program")"
    QT_QPA_PLATFORM=offscreen run_until "$off" "GIF found at: " in_home "$off" "$BIN/$program"
    run_until "$wl" "GIF found at: " on_wayland "$wl" "$BIN/$program"
    check "$program decides the same steps on Wayland as offscreen" \
        eval 'grep "^GIF found at: " "$wl/out" && diff "$off/out" "$wl/out"'
    check "$program on Wayland: nothing on stderr" quiet "$wl"
done

h="$(subscribed_home wayland-subscribed)"
FAST=1 PATH=/usr/bin:/bin run_to_end "$h" on_wayland "$h" "$BIN/MartenOnboarding"
check "subscribed on Wayland: completes by itself and writes both flags" completed "$h"
check "subscribed on Wayland: nothing on stderr" quiet "$h"

finish
