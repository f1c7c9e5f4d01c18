#!/usr/bin/env bash
# On a real X server each program's window carries an icon (_NET_WM_ICON) and the window
# class that its desktop entry names as StartupWMClass, so the task switcher and the dock
# show it as that entry. Only the full program has a launcher.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
need xvfb-run xdotool xprop
DIST="$(cd "$(dirname "$0")/../../dist" && pwd)"

# run.sh BIN PROGRAM: starts PROGRAM, writes its window's properties to HOME/props, ends it.
cat > "$WORK/run.sh" <<'INNER'
"$1/$2" > "$HOME/out" 2> "$HOME/err" &
pid=$!
for i in $(seq 100); do grep -q "FTUE will show" "$HOME/out" && break; sleep 0.1; done
for i in $(seq 50); do
    wid=$(xdotool search --name "Welcome to Marten" | head -1)
    [ -n "$wid" ] && xprop -id "$wid" WM_CLASS _NET_WM_ICON > "$HOME/props" 2>&1 &&
        ! grep -q "_NET_WM_ICON:  not found" "$HOME/props" && break
    sleep 0.1
done
kill "$pid"
wait "$pid"
INNER

identity() { # PROGRAM ENTRY
    local h class
    h="$(new_home "$1")"
    QT_QPA_PLATFORM=xcb in_home "$h" timeout -k 5 60 xvfb-run -a -s "-screen 0 1440x900x24" \
        bash "$WORK/run.sh" "$BIN" "$1"
    class="$(sed -n 's/^StartupWMClass=//p' "$DIST/$2")"
    check "$1: the window has an icon" \
        eval "grep -q '^_NET_WM_ICON(CARDINAL) = ' '$h/props' || cat '$h/props'"
    check "$1: the window class is the entry's StartupWMClass ($class)" \
        eval "[ -n '$class' ] && grep -qx 'WM_CLASS(STRING) = \"$1\", \"$class\"' '$h/props' || cat '$h/props'"
}
identity MartenOnboarding com.marten.Onboarding.desktop
identity MartenOnboarding_Simple com.marten.OnboardingSimple.desktop
check "only the full program has a launcher" \
    eval "! grep -q '^NoDisplay=true' '$DIST/com.marten.Onboarding.desktop' &&
          grep -qx 'NoDisplay=true' '$DIST/com.marten.OnboardingSimple.desktop'"

finish
