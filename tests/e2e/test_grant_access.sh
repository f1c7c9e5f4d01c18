#!/usr/bin/env bash
# One press of "Grant Access" and the permission step moves on by itself: the real simple
# program under Xvfb, driven from the keyboard, in a private mount namespace where the
# keyboard node exists but /dev/uinput does not. A fake pkexec at the path the build was
# configured with "grants" by creating /dev/uinput in that namespace, which is the program's
# own; another fake first on PATH must never run. A helper that another user owns is never
# offered.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

need xvfb-run xdotool
if ! can_fake_input_access; then
    echo "SKIP: no mount namespaces here"
    exit 0
fi
pkexec="$(sed -n 's/^MARTEN_PKEXEC:FILEPATH=//p' "$BIN/../CMakeCache.txt")"
[[ "$pkexec" == /* ]] || { fail "the build names pkexec by an absolute path" "'$pkexec'"; finish; exit 1; }

# The session: start the program, press Space on each step's focused control, and record
# whether it completed. The presses after the grant only move on from the steps that follow
# the permission step; on the permission step itself they would reopen the panel.
cat > "$WORK/session.sh" <<'SESSION'
bin="$1"
# The configured pkexec's folder gets a layer holding the fake, inside the namespace.
PATH="$HOME/fakebin:$PATH" WITHOUT_UINPUT=1 "$WITH_INPUT_ACCESS" sh -c \
    'mount -t overlay overlay -o "lowerdir=${0%/*},upperdir=$HOME/pk-up,workdir=$HOME/pk-work" \
        "${0%/*}" && exec "$1"' "$PKEXEC" "$bin/MartenOnboarding_Simple" > "$HOME/out" 2> "$HOME/err" &
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

# run NAME OWNER PKEXEC-BODY: one session of a copy of the program and the helper owned by
# OWNER, with that fake pkexec; prints the home.
run() {
    local h
    h="$(new_home "$1")"
    printf '{"token":"abc"}' > "$h/.marten_auth_local.json"
    mkdir -p "$h/fakebin" "$h/pk-up" "$h/pk-work" "$h/tree/bin" "$h/tree/libexec/marten-onboarding"
    printf '#!/bin/sh\n: > "$HOME/path-pkexec-ran"\n' > "$h/fakebin/pkexec"
    printf '#!/bin/sh\nprintf "%%s\\n" "$@" > "$HOME/pkexec-ran"\n%s\n' "$3" > "$h/pk-up/${pkexec##*/}"
    chmod 755 "$h/fakebin/pkexec" "$h/pk-up/${pkexec##*/}"
    cp "$BIN/MartenOnboarding_Simple" "$h/tree/bin/"
    cp "$BIN/../libexec/marten-onboarding/grant-input-access" "$h/tree/libexec/marten-onboarding/"
    chown -R "$2" "$h/tree"
    PKEXEC="$pkexec" WITH_INPUT_ACCESS="$WITH_INPUT_ACCESS" QT_QPA_PLATFORM=xcb in_home "$h" \
        timeout -k 5 60 xvfb-run -a -s "-screen 0 1440x900x24" bash "$WORK/session.sh" "$h/tree/bin" \
        > /dev/null 2>&1
    echo "$h"
}

h="$(run granted root ': > /dev/uinput; exit 0')"
check "the configured pkexec runs the helper beside the program" \
    same "$h/pkexec-ran" "$h/tree/libexec/marten-onboarding/grant-input-access"
check "the permission step is shown" grep -x "FTUE will show 4 steps" "$h/out"
check "one press of Grant Access, and the flow moves on by itself to the end" completed "$h"
check "a pkexec first on PATH never runs" test ! -e "$h/path-pkexec-ran"

# A helper its user could rewrite: the same presses reach no pkexec at all.
h="$(run user-owned 65534:65534 ': > /dev/uinput; exit 0')"
check "a helper owned by another user: no Grant Access, nothing run" \
    eval '[ ! -e "$h/pkexec-ran" ] && [ ! -e "$h/path-pkexec-ran" ] && same "$h/status" killed'

finish
