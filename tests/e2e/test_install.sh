#!/usr/bin/env bash
# `cmake --install` into a prefix gives programs that find their media there, with the
# build tree out of reach, and desktop entries that validate.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

build="$(cd "$BIN/.." && pwd)"
prefix="$WORK/prefix"
if ! cmake --install "$build" --prefix "$prefix" > "$WORK/install.log" 2>&1; then
    fail "cmake --install" "$(tail -5 "$WORK/install.log")"
    finish
    exit 1
fi

for f in bin/MartenOnboarding bin/MartenOnboarding_Simple \
    share/marten-onboarding/glowy.gif share/marten-onboarding/glowy.png \
    share/marten-onboarding/logo-google.png share/marten-onboarding/logo-facebook.png \
    share/applications/com.marten.Onboarding.desktop \
    share/applications/com.marten.OnboardingSimple.desktop; do
    [ -e "$prefix/$f" ] || fail "installed $f"
done
[ -e "$prefix/bin/marten" ] && fail "the stand-in main application is never installed"
if desktop-file-validate "$prefix"/share/applications/*.desktop; then
    pass "desktop entries validate"
else
    fail "desktop entries validate"
fi

# Run the installed copy from somewhere else entirely, with the build tree hidden.
run_installed() { # PROGRAM
    local h
    h="$(new_home "installed-$1")"
    mkdir -p "$WORK/elsewhere"
    (cd "$WORK/elsewhere" &&
        in_home "$h" timeout -s TERM 5 "$prefix/bin/$1" > "$h/out" 2> "$h/err") &
    local pid=$!
    wait_for_line "$h/out" "GIF found at: " 50
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    if grep -qx "GIF found at: $prefix/bin/../share/marten-onboarding/glowy.gif" "$h/out" ||
        grep -qx "GIF found at: $prefix/share/marten-onboarding/glowy.gif" "$h/out"; then
        pass "installed $1 shows its animation from the prefix"
    else
        fail "installed $1 finds its media" "$(cat "$h/out")"
    fi
}
run_installed MartenOnboarding
run_installed MartenOnboarding_Simple

finish
