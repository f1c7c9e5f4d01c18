#!/usr/bin/env bash
# "Continue with Google" pressed twice within the second before the flow moves on: the
# second press does nothing (one request, one step), and nothing is written.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

need xvfb-run xdotool
can_fake_input_access || { echo "SKIP: a double press (no mount namespaces here)"; exit 0; }

h="$(new_home double-press)"
cat > "$h/run.sh" <<'INNER'
"$1/MartenOnboarding" > "$HOME/out" 2> "$HOME/err" &
pid=$!
for i in $(seq 100); do grep -q "FTUE will show" "$HOME/out" && break; sleep 0.1; done
sleep 0.5
wid=$(xdotool search --name "Welcome to Marten" | head -1)
xdotool windowfocus --sync "$wid"
# With input access granted the steps are welcome, sign-in, purchase; the window is 809x500.
xdotool mousemove --window "$wid" 404 426 click 1 # Next
sleep 1
xdotool mousemove --window "$wid" 404 161 click --repeat 2 --delay 150 1 # Continue with Google
sleep 2
kill -0 "$pid" && echo alive > "$HOME/alive"
kill -TERM "$pid"
wait "$pid"
echo $? > "$HOME/status"
INNER
QT_QPA_PLATFORM=xcb in_home "$h" timeout -k 5 60 "$WITH_INPUT_ACCESS" \
    xvfb-run -a -s "-screen 0 1440x900x24" bash "$h/run.sh" "$BIN"
check "a second press while the move is pending does nothing" \
    eval '[ -e "$h/alive" ] && same "$h/status" 0 && [ -z "$(ls -A "$h/config")" ] &&
        [ "$(grep -cx "=== handleSignIn called ===" "$h/out")" = 1 ]'

finish
