#!/usr/bin/env bash
# Both programs as Wayland clients of a headless compositor: the same steps as offscreen, a
# subscribed run completing by itself, nothing from Qt on stderr.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
need weston
plugins="$(qtpaths6 --query QT_INSTALL_PLUGINS 2> /dev/null || echo /usr/lib/x86_64-linux-gnu/qt6/plugins)"
[ -e "$plugins/platforms/libqwayland-generic.so" ] ||
    { echo "SKIP: Qt's Wayland platform plugin is not installed (qt6-wayland)"; exit 0; }

# The compositor's own runtime folder, shared by the programs; its output goes to its log.
wl_runtime="$WORK/wayland-runtime" socket="marten-e2e-$$"
mkdir -m 700 "$wl_runtime"
env -u WAYLAND_DISPLAY -u DISPLAY XDG_RUNTIME_DIR="$wl_runtime" \
    weston --backend=headless-backend.so --socket="$socket" --idle-time=0 > "$WORK/weston.log" 2>&1 &
weston_pid=$!
trap 'kill "$weston_pid" 2> /dev/null; wait "$weston_pid" 2> /dev/null; rm -rf "$WORK"' EXIT
until_ eval '[ -S "$wl_runtime/$socket" ] || ! kill -0 "$weston_pid" 2> /dev/null'
[ -S "$wl_runtime/$socket" ] || { fail "weston starts" "$(tail -5 "$WORK/weston.log")"; finish; exit 1; }

# on_wayland HOME CMD...: CMD as a client of the test compositor, no X server to fall back to.
on_wayland() {
    QT_QPA_PLATFORM=wayland in_home "$1" \
        env -u DISPLAY XDG_RUNTIME_DIR="$wl_runtime" WAYLAND_DISPLAY="$socket" "${@:2}"
}
# quiet HOME: nothing on stderr but the session bus's lines (Qt's warnings land there).
quiet() { ! grep -v '^dbus-daemon\[' "$1/err"; }

for program in MartenOnboarding MartenOnboarding_Simple; do
    off="$(new_home "offscreen-$program")" wl="$(new_home "wayland-$program")"
    QT_QPA_PLATFORM=offscreen run_until "$off" "GIF found at: " in_home "$off" "$BIN/$program"
    run_until "$wl" "GIF found at: " on_wayland "$wl" "$BIN/$program"
    check "$program decides the same steps on Wayland as offscreen, nothing on stderr" \
        eval 'grep "^GIF found at: " "$wl/out" && diff "$off/out" "$wl/out" && quiet "$wl"'
done

h="$(subscribed_home wayland-subscribed)"
FAST=1 PATH=/usr/bin:/bin run_to_end "$h" on_wayland "$h" "$BIN/MartenOnboarding"
check "subscribed on Wayland: completes by itself, writes both flags, nothing on stderr" \
    eval 'completed "$h" && quiet "$h"'

finish
