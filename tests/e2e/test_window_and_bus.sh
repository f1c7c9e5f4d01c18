#!/usr/bin/env bash
# A sign-in completion notice sent from another process is received while the program
# carries on.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

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
check "a notice sent with gdbus is received and the program carries on" \
    eval 'grep -A1 -x "Received auth completion notification from main app" "$h/out" |
        grep -x "User is not authenticated" && [ -e "$h/alive" ]'

finish
