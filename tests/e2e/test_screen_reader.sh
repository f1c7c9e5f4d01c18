#!/usr/bin/env bash
# Followed by ear: Orca (speech logged, not played) under Xvfb on private buses, both programs
# walked by keyboard (screen_reader.sh). Each step is read on arrival; the first Tab reaches the
# step's own control; the panel and the alert are read as what they are; changes are announced.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
need Xvfb xdotool gdbus orca python3
E2E="$(cd "$(dirname "$0")" && pwd)"
# what HOME: the utterances, one a line.
what() { bash "$E2E/spoken.sh" "$1/orca.log"; }
# said HOME TEXT...: every TEXT was said, in this order (each a part of one utterance).
said() {
    local h="$1" line=0 n
    shift
    for text; do
        n=$(what "$h" | grep -nF -- "$text" | cut -d: -f1 | awk -v after="$line" '$1 > after' | head -1)
        [ -n "$n" ] || { echo "never said after utterance $line: $text"; what "$h"; walked "$h"; return 1; }
        line=$n
    done
}
# after HOME KEY TEXT: the first utterance after the key's own echo holds TEXT.
after() { what "$1" | grep -A1 -x "'$2 '.*" | sed -n 2p | grep -qF -- "$3" || { what "$1"; return 1; }; }

# walk NAME MODE [RUNNER...]: one screen_reader.sh session in a fresh home (errors in
# HOME/walk); prints the home. A walk whose buses were too slow for the start-up limit (no
# accessibility, by design) or whose X server failed says nothing of speech: walked again.
walked_once() {
    local h && h="$(new_home "$1")"
    rm -rf "$h/config" "$h/runtime" "$h"/{orca.log,out,err,unheard,walk} && h="$(new_home "$1")"
    QT_QPA_PLATFORM=xcb in_home "$h" timeout -k 5 120 bash "$E2E/xvfb.sh" \
        "${@:3}" bash "$E2E/screen_reader.sh" "$2" "$1" > "$h/walk" 2>&1
    echo "status $?" >> "$h/walk"
    grep -q "^Accessibility off\|^Main app messaging unavailable" "$h/out" 2> /dev/null ||
        grep -qx "status 125" "$h/walk" || return 0
    echo "walked again after: $(head -1 "$h/walk") $(grep -m1 "unavailable\|off" "$h/out" 2> /dev/null)" >> "$WORK/retries"
    return 1
}
walk() { local TRIES=2 && until_ walked_once "$@"; echo "$WORK/$1"; }
# walked HOME: how the walk ended, what the program printed, what was never heard.
walked() { cat "$1/walk" "$1/out" "$1/err" "$1/unheard" 2> /dev/null | tail -n 20; }
# started HOME: the reader listened in that walk, or says why not.
started() { grep -q "Startup complete" "$1/orca.log" 2> /dev/null || { echo "the screen reader did not start"; walked "$1"; return 1; }; }
h="$(walk full "$BIN")"
# Skipped only where the reader itself would not start (77).
if grep -qx "status 77" "$h/walk"; then
    echo "SKIP: the screen reader does not start here"
    exit 0
fi
started "$h" || exit 1
check "welcome: heading and explanation on arrival; the first Tab on Next, not Close" \
    eval 'said "$h" "Welcome to Marten panel" "speak to type, anywhere" && after "$h" tab "Next push button"'
check "permission step: heading, then explanation, on arrival" \
    eval 'said "$h" "Input Access panel" "Marten needs input access to type in your applications"'
check "input-access panel: read as a dialog, its title and then its explanation; Escape returns to its opener" \
    eval 'said "$h" "Allow input access dialog Marten needs to see when you press the right Super key" \
        "Open Input Access Panel push button"'

can_fake_input_access || { finish; exit; }
h="$(walk sign-in "$BIN" "$WITH_INPUT_ACCESS")"
grep -qx "status 77" "$h/walk" && { echo "SKIP: the screen reader does not start in a mount namespace here"; finish; exit; }
started "$h" || { finish; exit 1; }
check "sign-in step: heading on arrival; the alert read with its title and explanation, Escape back on its opener; then the how-to step read on arrival" \
    eval 'said "$h" "Sign up or log in panel" "Continue with Google push button" "alert Coming soon" \
        "This action will be enabled shortly" "Continue with Facebook push button" "How to Use Marten panel" \
        "Press the right Super key"'
# The simple program with its root-owned helper, and a fake pkexec creating /dev/uinput.
pkexec="$(sed -n 's/^MARTEN_PKEXEC:FILEPATH=//p' "$BIN/../CMakeCache.txt")"
tree="$WORK/tree" && mkdir -p "$tree/bin" "$tree/libexec/marten-onboarding" "$WORK/simple/pk-up" "$WORK/simple/pk-work"
cp "$BIN/MartenOnboarding_Simple" "$tree/bin/" && cp "$BIN/../libexec/marten-onboarding/grant-input-access" "$tree/libexec/marten-onboarding/"
printf '#!/bin/sh\n: > /dev/uinput\n' > "$WORK/simple/pk-up/${pkexec##*/}" && chmod 755 "$WORK/simple/pk-up/${pkexec##*/}"
printf '{"token":"abc"}' > "$(new_home simple)/.marten_auth_local.json"
h="$(PKEXEC="$pkexec" WITHOUT_UINPUT=1 walk simple "$tree/bin" "$WITH_INPUT_ACCESS")"
started "$h" || { finish; exit 1; }
# A busy reader may drop the panel's "Access granted." for the step's notice: only that counts.
check "simple program: access granted announced; the how-to step read on arrival" \
    eval 'said "$h" "Grant Access push button" "notification Input Access Granted!" \
        "How to Use Marten panel" "Hold the right Super key"'
check "test step: the key held and released is announced, then the typed transcript once it rests" \
    eval 'said "$h" "Test It Out! panel" "notification Recording" "notification Not recording" "notification You said: hello world"'
[ -s "$WORK/retries" ] && cat "$WORK/retries"
finish
