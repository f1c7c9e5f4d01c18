#!/usr/bin/env bash
# Both programs as native Wayland clients of a headless compositor: they decide the same
# steps as on the offscreen platform, a subscribed user's run completes by itself, and Qt has
# nothing to complain about on the way.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

plugins="$(qtpaths6 --query QT_INSTALL_PLUGINS 2> /dev/null)"
[ -n "$plugins" ] || plugins=/usr/lib/x86_64-linux-gnu/qt6/plugins
if ! command -v weston > /dev/null; then
    echo "SKIP: weston is not installed"
    exit 0
fi
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

on_offscreen() { # HOME CMD...
    QT_QPA_PLATFORM=offscreen in_home "$@"
}
# on_wayland HOME CMD...: CMD as a client of the test compositor, with no X server to fall
# back to.
on_wayland() {
    local h="$1"
    shift
    QT_QPA_PLATFORM=wayland in_home "$h" \
        env -u DISPLAY XDG_RUNTIME_DIR="$wl_runtime" WAYLAND_DISPLAY="$socket" "$@"
}

# complaints FILE: a program's error output without the private session bus's own lines.
# Qt's warnings (qt.qpa.wayland: ..., "Wayland does not support ...", QWidget::... ) and
# protocol errors all land here, so anything left is a fault.
complaints() {
    grep -v '^dbus-daemon\[' "$1"
}

# first_screen NAME PROGRAM RUNNER: a new user's run of PROGRAM, ended once the steps are
# decided and the welcome animation is up. Prints the run's home.
first_screen() {
    local name="$1" program="$2" runner="$3" h job
    h="$(new_home "$name")"
    # The shell writes its pid and becomes the program, so exactly that process is ended.
    "$runner" "$h" timeout -s TERM 20 sh -c 'echo $$ > "$0"; exec "$1"' "$h/pid" "$BIN/$program" \
        > "$h/out" 2> "$h/err" &
    job=$!
    wait_for_line "$h/out" "FTUE will show" 100 && wait_for_line "$h/out" "GIF found at: " 50
    sleep 0.3
    [ -s "$h/pid" ] && kill "$(cat "$h/pid")" 2> /dev/null
    wait "$job" 2> /dev/null
    echo "$h"
}

# --- A new user ---------------------------------------------------------------------------
for program in MartenOnboarding MartenOnboarding_Simple; do
    off="$(first_screen "offscreen-$program" "$program" on_offscreen)"
    wl="$(first_screen "wayland-$program" "$program" on_wayland)"
    if ! grep -q '^FTUE will show' "$wl/out" || ! grep -q '^GIF found at: ' "$wl/out"; then
        fail "$program on Wayland reaches the welcome step" "$(cat "$wl/out")" "$(cat "$wl/err")"
    elif [ "$(cat "$wl/out")" != "$(cat "$off/out")" ]; then
        fail "$program decides the same steps on Wayland as offscreen" \
            "offscreen:" "$(cat "$off/out")" "Wayland:" "$(cat "$wl/out")"
    else
        pass "$program decides the same steps on Wayland as offscreen"
    fi
    if [ -z "$(complaints "$wl/err")" ]; then
        pass "$program on Wayland: nothing on stderr"
    else
        fail "$program on Wayland: nothing on stderr" "$(complaints "$wl/err")"
    fi
done

# --- Signed in and subscribed: the full program completes by itself --------------------------
h="$(new_home wayland-subscribed)"
printf '{"token":"abc","has_subscription":true}' > "$h/.marten_auth_local.json"
start=$(date +%s.%N)
PATH=/usr/bin:/bin on_wayland "$h" timeout 20 "$BIN/MartenOnboarding" > "$h/out" 2> "$h/err"
status=$?
seconds="$(echo "$(date +%s.%N) - $start" | bc -l)"
conf="$h/config/Marten/Marten.conf"
if [ "$status" != 0 ]; then
    fail "subscribed on Wayland: exit status" "got $status" "$(cat "$h/err")"
elif ! awk -v s="$seconds" 'BEGIN { exit !(s >= 2.9 && s < 8) }'; then
    fail "subscribed on Wayland: ends about 3 s after it starts" "took $seconds s"
elif ! grep -qx 'has_launched_before=true' "$conf" || ! grep -qx 'ftue_completed=true' "$conf"; then
    fail "subscribed on Wayland: both flags in Marten.conf" "$(cat "$conf" 2>&1)"
else
    pass "subscribed on Wayland: completes by itself and writes both flags"
fi
if [ -z "$(complaints "$h/err")" ]; then
    pass "subscribed on Wayland: nothing on stderr"
else
    fail "subscribed on Wayland: nothing on stderr" "$(complaints "$h/err")"
fi

finish
