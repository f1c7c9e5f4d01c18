#!/usr/bin/env bash
# A session bus that accepts the connection and never answers: the window never waits for
# it, the program says so once after 2 s, completes on time and ends at once when asked.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
SILENT_BUS="$(cd "$(dirname "$0")/../../tools/silent-bus" && pwd)/silent_bus.py"
EXPECTED_CONF=$'[General]\nftue_completed=true\nhas_launched_before=true\n'

subscribed_home() { # NAME
    local h
    h="$(new_home "$1")"
    printf '{"token":"abc","has_subscription":true}' > "$h/.marten_auth_local.json"
    echo "$h"
}

# on_bus HOME ADDRESS CMD...: becomes CMD with that home on the given bus address (run it in
# a subshell or in the background).
on_bus() {
    local h="$1" address="$2"
    shift 2
    HOME="$h" XDG_CONFIG_HOME="$h/config" XDG_RUNTIME_DIR="$h/runtime" QT_QPA_PLATFORM=offscreen \
        DBUS_SESSION_BUS_ADDRESS="$address" exec "$@"
}

# elapsed START: seconds since START (from date +%s%N), with two decimals.
elapsed() { echo "scale=2; ($(date +%s%N) - $1) / 1000000000" | bc; }

# silent_address HOME KIND: starts a bus of that kind (silent socket or stopped daemon) and
# prints its address; the process ids go to HOME/bus.pids.
silent_address() {
    local h="$1"
    if [ "$2" = socket ]; then
        python3 "$SILENT_BUS" "$h/bus" > /dev/null 2>&1 &
        echo $! > "$h/bus.pids"
        for _ in $(seq 50); do [ -S "$h/bus" ] && break; sleep 0.1; done
        echo "unix:path=$h/bus"
    else
        dbus-daemon --session --fork --print-address=1 --print-pid=3 3> "$h/bus.pids"
        kill -STOP "$(cat "$h/bus.pids")"
    fi
}

stop_bus() { kill -CONT $(cat "$1/bus.pids") 2>/dev/null; kill $(cat "$1/bus.pids") 2>/dev/null; }

for kind in socket daemon; do
    # --- A subscribed user completes on time -------------------------------------------------
    h="$(subscribed_home "complete-$kind")"
    address="$(silent_address "$h" "$kind")"
    start=$(date +%s%N)
    (on_bus "$h" "$address" timeout 10 "$BIN/MartenOnboarding" > "$h/out" 2> "$h/err")
    status=$?
    took=$(elapsed "$start")
    stop_bus "$h"
    if [ "$status" = 0 ] && [ "$(grep -c '^Main app messaging unavailable: ' "$h/out")" = 1 ] &&
        [ "$(echo "$took < 5" | bc)" = 1 ] &&
        [ "$(cat "$h/config/Marten/Marten.conf"; echo x)" = "${EXPECTED_CONF}x" ] &&
        tail -n1 "$h/out" | grep -qx 'MartenOnboarding main() completed'; then
        pass "silent bus ($kind): one unavailable line, completes in ${took} s"
    else
        fail "silent bus ($kind)" "status $status after ${took} s" "$(cat "$h/out")"
    fi

    # --- Closing early ends the program at once and writes nothing ---------------------------
    h="$(new_home "close-$kind")"
    address="$(silent_address "$h" "$kind")"
    on_bus "$h" "$address" timeout 10 "$BIN/MartenOnboarding" > "$h/out" 2> "$h/err" &
    pid=$!
    wait_for_line "$h/out" "FTUE will show" 50
    sleep 0.5 # the subscription is under way and stuck by now
    start=$(date +%s%N)
    kill -TERM "$pid"
    wait "$pid"
    status=$?
    took=$(elapsed "$start")
    stop_bus "$h"
    if [ "$status" = 0 ] && [ "$(echo "$took < 1.5" | bc)" = 1 ] &&
        [ -z "$(ls -A "$h/config")" ] &&
        tail -n1 "$h/out" | grep -qx 'MartenOnboarding main() completed'; then
        pass "silent bus ($kind): ended early in ${took} s, nothing written"
    else
        fail "silent bus ($kind), ended early" "status $status after ${took} s" "$(cat "$h/out")" \
            "$(ls -R "$h/config")"
    fi
done

finish
