#!/usr/bin/env bash
# Closing the window early writes nothing; a sign-in completion notice sent from outside
# is received while the program carries on.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

# --- A completion notice from another process -------------------------------------------
h="$(new_home notice)"
cat > "$h/run.sh" <<'INNER'
"$1/MartenOnboarding" > "$HOME/out" 2> "$HOME/err" &
pid=$!
for i in $(seq 100); do grep -q "FTUE will show" "$HOME/out" && break; sleep 0.1; done
gdbus emit --session --object-path /com/marten/DistributedNotifications \
    --signal com.marten.DistributedNotifications.Notification \
    "com.marten.authCompleted" "@a{ss} {}"
for i in $(seq 50); do grep -q "Received auth completion" "$HOME/out" && break; sleep 0.1; done
sleep 0.3
kill -0 "$pid" && echo alive > "$HOME/alive"
kill "$pid"
INNER
in_home "$h" bash "$h/run.sh" "$BIN"
if grep -qx 'Received auth completion notification from main app' "$h/out" &&
    grep -A1 'Received auth completion' "$h/out" | grep -qx 'User is not authenticated' &&
    [ -e "$h/alive" ]; then
    pass "a notice sent with gdbus is received and the program carries on"
else
    fail "completion notice" "$(cat "$h/out")"
fi

# --- Closing the window before the end ----------------------------------------------------
if command -v xvfb-run >/dev/null && command -v xdotool >/dev/null; then
    h="$(new_home close)"
    cat > "$h/run.sh" <<'INNER'
"$1/MartenOnboarding" > "$HOME/out" 2> "$HOME/err" &
pid=$!
for i in $(seq 100); do grep -q "FTUE will show" "$HOME/out" && break; sleep 0.1; done
sleep 0.3
wid=$(xdotool search --name "Welcome to Marten" | head -1)
xdotool windowfocus --sync "$wid"
xdotool key ctrl+w
for i in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
wait "$pid"
echo "$?" > "$HOME/status"
INNER
    QT_QPA_PLATFORM=xcb in_home "$h" xvfb-run -a -s "-screen 0 1440x900x24" bash "$h/run.sh" "$BIN"
    if [ "$(cat "$h/status" 2>/dev/null)" = 0 ] && [ ! -e "$h/config/Marten" ] &&
        [ ! -e "$h/config/autostart" ] &&
        tail -n1 "$h/out" | grep -qx 'MartenOnboarding main() completed'; then
        pass "closing the window early exits 0 and writes nothing"
    else
        fail "closing the window early" "status $(cat "$h/status" 2>&1)" "$(cat "$h/out")" \
            "$(ls -R "$h/config")"
    fi
else
    echo "SKIP: closing the window (xvfb-run or xdotool missing)"
fi

finish
