#!/usr/bin/env bash
# A sign-in completion notice sent from another process the moment the steps are announced
# is received while the program carries on, offscreen and under X11.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

cat > "$WORK/run.sh" <<'INNER'
"$1/MartenOnboarding" > "$HOME/out" 2> "$HOME/err" &
pid=$!
for i in $(seq 500); do grep -q "FTUE will show" "$HOME/out" && break; sleep 0.02; done
gdbus emit --session --object-path /com/marten/DistributedNotifications \
    --signal com.marten.DistributedNotifications.Notification \
    "com.marten.authCompleted" "@a{ss} {}"
for i in $(seq 50); do grep -q "Received auth completion" "$HOME/out" && break; sleep 0.1; done
sleep 0.3
kill -0 "$pid" && echo alive > "$HOME/alive"
kill "$pid"
INNER
received() { # HOME
    grep -A1 -x "Received auth completion notification from main app" "$1/out" |
        grep -x "User is not authenticated" && [ -e "$1/alive" ]
}

h="$(new_home notice)"
in_home "$h" bash "$WORK/run.sh" "$BIN"
check "a notice sent with gdbus is received and the program carries on" received "$h"

if command -v xvfb-run > /dev/null; then
    h="$(new_home notice-x11)"
    QT_QPA_PLATFORM=xcb in_home "$h" timeout -k 5 60 xvfb-run -a -s "-screen 0 1440x900x24" \
        bash "$WORK/run.sh" "$BIN"
    check "under X11: a notice sent with gdbus is received and the program carries on" \
        received "$h"
else
    echo "SKIP: xvfb-run is not installed, the X11 run is left out"
fi

finish
