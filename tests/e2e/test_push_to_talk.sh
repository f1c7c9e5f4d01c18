#!/usr/bin/env bash
# Access granted from the permission step (a fake at the configured pkexec path creates
# /dev/uinput; one on PATH never runs), then push to talk with the real key reader, via
# session.sh. 1,100 keyboards, 1,024 files: 32 read and kept. Another user's helper: no offer.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

need Xvfb xdotool xclip python3 gdbus
need_atspi
can_fake_input_access || { echo "SKIP: no mount namespaces here"; exit 0; }
pkexec="$(sed -n 's/^MARTEN_PKEXEC:FILEPATH=//p' "$BIN/../CMakeCache.txt")"
[[ "$pkexec" == /* ]] || { fail "the build names pkexec by an absolute path" "'$pkexec'"; finish; exit 1; }

# run MODE OWNER KEYBOARDS: a signed-in session.sh of a copy whose helper OWNER owns; the home.
run() {
    local h
    h="$(new_home "$1")"
    printf '{"token":"abc"}' > "$h/.marten_auth_local.json"
    mkdir -p "$h/fakebin" "$h/pk-up" "$h/pk-work" "$h/tree/bin" "$h/tree/libexec/marten-onboarding"
    printf '#!/bin/sh\n: > "$HOME/path-pkexec-ran"\n' > "$h/fakebin/pkexec"
    printf '#!/bin/sh\nprintf "%%s\\n" "$@" > "$HOME/pkexec-ran"\n: > /dev/uinput\n' > "$h/pk-up/${pkexec##*/}"
    chmod 755 "$h/fakebin/pkexec" "$h/pk-up/${pkexec##*/}"
    cp "$BIN/MartenOnboarding_Simple" "$h/tree/bin/"
    cp "$BIN/../libexec/marten-onboarding/grant-input-access" "$h/tree/libexec/marten-onboarding/"
    chown -R "$2" "$h/tree"
    KEYBOARDS="$3" PKEXEC="$pkexec" WITHOUT_UINPUT=1 QT_QPA_PLATFORM=xcb in_home "$h" timeout -k 5 120 \
        bash "$(dirname "$0")/xvfb.sh" "$WITH_INPUT_ACCESS" \
        bash "$(dirname "$0")/session.sh" "$1" > /dev/null 2>&1
    echo "$h"
}

h="$(run granted root 1100)"
check "the permission step is shown; the configured pkexec, not one on PATH, runs the helper beside the program" \
    eval 'grep -qx "FTUE will show [1-9][0-9]* steps" "$h/out" && [ ! -e "$h/path-pkexec-ran" ] &&
        same "$h/pkexec-ran" "$h/tree/libexec/marten-onboarding/grant-input-access"'
check "granted, the flow moves on to the test step, which reads 32 of 1,100 keyboards and keeps them open; leaving it closes them" \
    eval 'same "$h/reading" yes && same "$h/keyboards" 32 && same "$h/kept-open" yes && same "$h/closed" yes'
check "the key pressed: the microphone turns red, and only then; released, then typed: the card shows it" \
    eval 'same "$h/grey-idle" yes && same "$h/red" yes && same "$h/transcript" "hello world" && same "$h/still-reading" yes'
check "nothing is printed about keys; Tab, then Space on Get Started completes" \
    eval '! grep -qi "hello\|event0" "$h/out" "$h/err" && completed "$h"'
echo "press to red microphone: median $(cat "$h/bench" 2>&1) ms of 20 presses, load $(cut -d' ' -f1-3 /proc/loadavg)"

h="$(run user-owned 65534:65534 1)"
check "a helper owned by another user: no Grant Access, nothing run" \
    eval '[ -s "$h/clipboard" ] && [ ! -e "$h/pkexec-ran" ] && [ ! -e "$h/path-pkexec-ran" ] &&
        same "$h/status" killed'

finish
