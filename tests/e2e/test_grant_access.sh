#!/usr/bin/env bash
# One press of "Grant Access" and the permission step moves on by itself: the real simple
# program under Xvfb, driven from the keyboard, in a private mount namespace where the
# keyboard node exists but /dev/uinput does not. A fake pkexec "grants" by creating
# /dev/uinput in that namespace, which is the program's own.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

need xvfb-run xdotool
if ! can_fake_input_access; then
    echo "SKIP: no mount namespaces here"
    exit 0
fi

# The session: start the program, press Space on each step's focused control, and record
# whether it completed. The presses after the grant only move on from the steps that follow
# the permission step; on the permission step itself they would reopen the panel.
cat > "$WORK/session.sh" <<'SESSION'
bin="$1"
PATH="$HOME/fakebin:$PATH" WITHOUT_UINPUT=1 "$WITH_INPUT_ACCESS" "$bin/MartenOnboarding_Simple" \
    > "$HOME/out" 2> "$HOME/err" &
pid=$!
press() { xdotool key --window "$wid" space; sleep "$1"; }
for i in $(seq 100); do grep -q "FTUE will show" "$HOME/out" && break; sleep 0.1; done
sleep 0.5
wid=$(xdotool search --name "Welcome to Marten" | head -1)
xdotool windowfocus --sync "$wid"
press 0.8 # Welcome: Next
press 0.8 # Permission step: Open System Settings
press 0   # Panel: Grant Access
for i in $(seq 50); do [ -e "$HOME/pkexec-ran" ] && break; sleep 0.1; done
sleep 4   # the watch sees the node within a second; the step moves on a second later
press 0.8 # How to use: Next
press 0.8 # Test it: Get Started
for i in $(seq 30); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill "$pid" 2>/dev/null && echo killed > "$HOME/status"
wait "$pid"
status=$?
[ -e "$HOME/status" ] || echo "$status" > "$HOME/status"
SESSION

# run NAME PKEXEC-BODY: one session with that fake pkexec; prints the home.
run() {
    local h
    h="$(new_home "$1")"
    printf '{"token":"abc"}' > "$h/.marten_auth_local.json"
    mkdir -p "$h/fakebin"
    printf '#!/bin/sh\nprintf "%%s\\n" "$@" > "$HOME/pkexec-ran"\n%s\n' "$2" > "$h/fakebin/pkexec"
    chmod +x "$h/fakebin/pkexec"
    WITH_INPUT_ACCESS="$WITH_INPUT_ACCESS" QT_QPA_PLATFORM=xcb in_home "$h" \
        xvfb-run -a -s "-screen 0 1440x900x24" bash "$WORK/session.sh" "$BIN" > /dev/null 2>&1
    echo "$h"
}

h="$(run granted ': > /dev/uinput; exit 0')"
helper="$(cd "$BIN/../libexec/marten-onboarding" && pwd)/grant-input-access"
check "pkexec runs the helper beside the program" same "$h/pkexec-ran" "$helper"
check "the permission step is shown" grep -x "FTUE will show 4 steps" "$h/out"
check "one press of Grant Access, and the flow moves on by itself to the end" completed "$h"

# The same presses when the prompt is dismissed: still on the permission step.
h="$(run dismissed 'exit 126')"
check "a dismissed prompt leaves the program on the permission step" \
    eval '[ -e "$h/pkexec-ran" ] && ! completed "$h" && same "$h/status" killed'

finish
