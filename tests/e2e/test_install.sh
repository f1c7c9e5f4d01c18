#!/usr/bin/env bash
# `cmake --install` into a prefix gives programs that find their media there, with the
# build tree out of reach, and desktop entries that validate.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

prefix="$WORK/prefix"
if ! cmake --install "$BIN/.." --prefix "$prefix" > "$WORK/install.log" 2>&1; then
    fail "cmake --install" "$(tail -5 "$WORK/install.log")"
    finish
    exit 1
fi
for f in bin/MartenOnboarding bin/MartenOnboarding_Simple \
    share/marten-onboarding/{glowy.gif,glowy.png,logo-google.png,logo-facebook.png} \
    share/applications/com.marten.{Onboarding,OnboardingSimple}.desktop; do
    [ -e "$prefix/$f" ] || fail "installed $f"
done
[ -e "$prefix/bin/marten" ] && fail "the stand-in main application is never installed"
[ -e "$prefix/share/polkit-1" ] && fail "no polkit action for a prefix polkit does not read"
check "desktop entries validate" desktop-file-validate "$prefix"/share/applications/*.desktop

# Run the installed copy from somewhere else entirely, with the build tree hidden.
mkdir -p "$WORK/elsewhere"
cd "$WORK/elsewhere" || exit 1
for program in MartenOnboarding MartenOnboarding_Simple; do
    h="$(new_home "installed-$program")"
    run_until "$h" "GIF found at: " in_home "$h" "$prefix/bin/$program"
    check "installed $program shows its animation from the prefix" grep -x \
        -e "GIF found at: $prefix/bin/../share/marten-onboarding/glowy.gif" \
        -e "GIF found at: $prefix/share/marten-onboarding/glowy.gif" "$h/out"
done

finish
