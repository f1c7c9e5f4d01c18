#!/usr/bin/env bash
# The settings file and the autostart entry in a hostile state: a file QSettings cannot fully
# parse, a held lock, a full disk, a % in the main application's path. Each failure is one
# line, the program ends normally, and every file is left byte for byte as it was.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
EXPECTED_CONF=$'[General]\nftue_completed=true\nhas_launched_before=true\n'

subscribed_home() { # NAME
    local h
    h="$(new_home "$1")"
    printf '{"token":"abc","has_subscription":true}' > "$h/.marten_auth_local.json"
    echo "$h"
}

# A main application beside the onboarding, so that launch at login can succeed.
beside="$WORK/bin"
mkdir -p "$beside"
cp "$BIN/MartenOnboarding" "$beside/"
printf '#!/bin/sh\n' > "$beside/marten"
chmod +x "$beside/marten"

# run HOME [PROGRAM]: a whole run, at most 20 s; its status goes to HOME/status.
run() {
    in_home "$1" timeout 20 "${2:-$beside/MartenOnboarding}" > "$1/out" 2> "$1/err"
    echo $? > "$1/status"
}

ended_normally() { # HOME
    [ "$(cat "$1/status")" = 0 ] && tail -n1 "$1/out" | grep -qx 'MartenOnboarding main() completed'
}

# --- Settings files QSettings cannot fully parse stay as they are ---------------------------
while IFS='|' read -r name content; do
    h="$(subscribed_home "unparsed-$name")"
    mkdir -p "$h/config/Marten"
    printf "$content" > "$h/config/Marten/Marten.conf"
    cp "$h/config/Marten/Marten.conf" "$h/before"
    run "$h"
    if ended_normally "$h" && cmp -s "$h/before" "$h/config/Marten/Marten.conf" &&
        [ "$(ls -A "$h/config/Marten")" = Marten.conf ] &&
        grep -qx "Failed to save onboarding state: $h/config/Marten/Marten.conf is not a valid settings file" "$h/out"; then
        pass "unparsable settings ($name): untouched, one failure line"
    else
        fail "unparsable settings ($name)" "$(cat "$h/out")" "$(ls -A "$h/config/Marten")"
    fi
done <<'CASES'
hash-line|# written by hand\n[General]\nvolume=3\n
no-equals|[General]\nvolume=3\njust words\n
open-section|[General\nvolume=3\n
CASES

# --- A valid file keeps what it holds and gains both flags at once --------------------------
h="$(subscribed_home merged)"
mkdir -p "$h/config/Marten"
printf '[General]\nvolume=3\n\n[hotkey]\nkey=F9\n' > "$h/config/Marten/Marten.conf"
run "$h"
expected=$'[General]\nftue_completed=true\nhas_launched_before=true\nvolume=3\n\n[hotkey]\nkey=F9\n'
if ended_normally "$h" && [ "$(cat "$h/config/Marten/Marten.conf"; echo x)" = "${expected}x" ] &&
    [ "$(ls -A "$h/config/Marten")" = Marten.conf ]; then
    pass "valid settings: both flags added, the other keys kept, no lock or temporary left"
else
    fail "valid settings" "$(cat "$h/out")" "$(cat "$h/config/Marten/Marten.conf")"
fi

# --- A held lock: a folder in its place, or one naming a live process -----------------------
sleep 60 &
holder=$!
for kind in folder live; do
    h="$(subscribed_home "lock-$kind")"
    mkdir -p "$h/config/Marten"
    printf '[General]\nvolume=3\n' > "$h/config/Marten/Marten.conf"
    cp "$h/config/Marten/Marten.conf" "$h/before"
    if [ "$kind" = folder ]; then
        mkdir "$h/config/Marten/Marten.conf.lock"
    else
        printf '%s\nsleep\n%s\n' "$holder" "$(hostname)" > "$h/config/Marten/Marten.conf.lock"
    fi
    start=$(date +%s)
    run "$h"
    took=$(($(date +%s) - start))
    if ended_normally "$h" && [ "$took" -le 8 ] &&
        cmp -s "$h/before" "$h/config/Marten/Marten.conf" &&
        grep -q "^Failed to save onboarding state: .*Marten.conf is locked by another program$" "$h/out"; then
        pass "held lock ($kind): gave up after a bounded wait (${took} s in all), file untouched"
    else
        fail "held lock ($kind)" "took $took s" "$(cat "$h/out")"
    fi
done
kill "$holder"

# --- A full disk is named as such -----------------------------------------------------------
h="$(subscribed_home full-disk)"
cat > "$h/run.sh" <<'INNER'
mount -t tmpfs -o size=64k tmpfs "$XDG_CONFIG_HOME"
dd if=/dev/zero of="$XDG_CONFIG_HOME/filler" bs=4k 2>/dev/null
timeout 20 "$1/MartenOnboarding" > "$HOME/out" 2> "$HOME/err"
echo $? > "$HOME/status"
ls -A "$XDG_CONFIG_HOME" "$XDG_CONFIG_HOME"/* > "$HOME/listing" 2>&1
INNER
if unshare -m --propagation private true 2>/dev/null; then
    in_home "$h" unshare -m --propagation private bash "$h/run.sh" "$beside"
    if ended_normally "$h" &&
        grep -q '^❌ Failed to set launch at login: cannot write .*: No space left on device$' "$h/out" &&
        grep -q '^Failed to save onboarding state: cannot write .*: No space left on device$' "$h/out" &&
        ! grep -q '^\.' "$h/listing" && ! grep -q '✅' "$h/out"; then
        pass "full disk: the system's own words, no partial files left"
    else
        fail "full disk" "$(cat "$h/out")" "$(cat "$h/listing")"
    fi
else
    echo "SKIP: full disk (no mount namespaces here)"
fi

# --- A % in the main application's folder is refused ----------------------------------------
h="$(subscribed_home percent)"
mkdir -p "$h/100%bin"
cp "$beside/marten" "$h/100%bin/"
PATH="$h/100%bin:$PATH" run "$h" "$BIN/MartenOnboarding"
if ended_normally "$h" &&
    grep -qx "❌ Failed to set launch at login: the main application's path cannot be written to an autostart entry" "$h/out" &&
    [ ! -e "$h/config/autostart" ] &&
    [ "$(cat "$h/config/Marten/Marten.conf"; echo x)" = "${EXPECTED_CONF}x" ]; then
    pass "a % in the main application's path: refused with the failure line, flags saved"
else
    fail "percent in path" "$(cat "$h/out")" "$(ls -R "$h/config")"
fi

finish
