#!/usr/bin/env bash
# One press of "Grant Access" and the permission step moves on by itself: the real simple
# program under Xvfb, driven from the keyboard, in a private mount namespace where the
# keyboard node exists but /dev/uinput does not. A fake pkexec "grants" by creating
# /dev/uinput in that namespace, which is the program's own.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

if ! command -v xvfb-run >/dev/null || ! command -v xdotool >/dev/null; then
    echo "SKIP: xvfb-run or xdotool missing"
    finish
    exit
fi
if ! can_fake_input_access; then
    echo "SKIP: no mount namespaces here"
    finish
    exit
fi

# The namespace: like with-input-access.sh, without /dev/uinput.
cat > "$WORK/without-uinput.sh" <<'NS'
set -euo pipefail
ov="$(mktemp -d)"
trap 'rm -rf "$ov"' EXIT
mkdir -p "$ov/upper" "$ov/work"
unshare -m --propagation private bash -c '
    set -e
    mount -t overlay overlay -o "lowerdir=/dev,upperdir=$0/upper,workdir=$0/work" /dev
    mkdir -p /dev/input && : > /dev/input/event0 && rm -f /dev/uinput
    mount -t tmpfs tmpfs /sys/class
    mkdir -p /sys/class/input/event0/device/capabilities
    echo fffffffffffffffe > /sys/class/input/event0/device/capabilities/key
    "$@"' "$ov" "$@"
NS

# The session: start the program, press Space on each step's focused control, and record
# whether it completed. The presses after the grant only move on from the steps that follow
# the permission step; on the permission step itself they would reopen the panel.
cat > "$WORK/session.sh" <<'SESSION'
bin="$1"
PATH="$HOME/fakebin:$PATH" bash "$WORK_DIR/without-uinput.sh" \
    "$bin/MartenOnboarding_Simple" > "$HOME/out" 2> "$HOME/err" &
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
SESSION

# run NAME PKEXEC-BODY: one session with that fake pkexec; prints the home.
run() {
    local h
    h="$(new_home "$1")"
    printf '{"token":"abc"}' > "$h/.marten_auth_local.json"
    mkdir -p "$h/fakebin"
    printf '#!/bin/sh\nprintf "%%s\\n" "$@" > "$HOME/pkexec-ran"\n%s\n' "$2" > "$h/fakebin/pkexec"
    chmod +x "$h/fakebin/pkexec"
    WORK_DIR="$WORK" QT_QPA_PLATFORM=xcb in_home "$h" \
        xvfb-run -a -s "-screen 0 1440x900x24" bash "$WORK/session.sh" "$BIN" > /dev/null 2>&1
    echo "$h"
}

completed() { # HOME
    grep -qx 'ftue_completed=true' "$1/config/Marten/Marten.conf" 2>/dev/null &&
        tail -n1 "$1/out" | grep -qx 'MartenOnboarding main() completed'
}

h="$(run granted ': > /dev/uinput; exit 0')"
helper="$(cd "$BIN/../libexec/marten-onboarding" && pwd)/grant-input-access"
if [ "$(cat "$h/pkexec-ran" 2>/dev/null)" != "$helper" ]; then
    fail "pkexec runs the helper beside the program" "got: $(cat "$h/pkexec-ran" 2>&1)" \
        "$(cat "$h/err")"
elif ! grep -qx "FTUE will show 4 steps" "$h/out"; then
    fail "the permission step is shown" "$(cat "$h/out")"
elif completed "$h"; then
    pass "one press of Grant Access, and the flow moves on by itself to the end"
else
    fail "the flow moves on after the grant" "$(cat "$h/out")" "$(cat "$h/err")"
fi

# The same presses when the prompt is dismissed: still on the permission step.
h="$(run dismissed 'exit 126')"
if [ -e "$h/pkexec-ran" ] && ! completed "$h" && [ "$(cat "$h/status" 2>/dev/null)" = killed ]; then
    pass "a dismissed prompt leaves the program on the permission step"
else
    fail "a dismissed prompt" "$(cat "$h/out")" "$(cat "$h/err")"
fi

finish
