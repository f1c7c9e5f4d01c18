#!/usr/bin/env bash
# screen_reader.sh BIN MODE (for test_screen_reader.sh): a program by keyboard, each key waiting
# for what the reader says, each step known by its announced heading. full: welcome to the panel
# and back. In with-input-access.sh's namespace: sign-in (the full program to the "Coming soon"
# alert) and simple (a FIFO keyboard for keys.py, a fake pkexec: granted, on to the test step).
set -uo pipefail
E2E="$(cd "$(dirname "$0")" && pwd)"
source "$E2E/steps.sh"
mode="$2" program=MartenOnboarding
if [ "$mode" != full ]; then
    # The overlay on /dev hides its terminals and shared memory, which the reader needs.
    mount -t devpts -o newinstance,ptmxmode=0666 devpts /dev/pts && mount -t tmpfs tmpfs /dev/shm
fi
if [ "$mode" = simple ]; then
    program=MartenOnboarding_Simple
    rm -f /dev/input/event0 && mkfifo /dev/input/event0 && exec 3<> /dev/input/event0
    mount -t overlay overlay -o "lowerdir=${PKEXEC%/*},upperdir=$HOME/pk-up,workdir=$HOME/pk-work" "${PKEXEC%/*}"
fi
source "$E2E/orca.sh"
"$1/$program" > "$HOME/out" 2> "$HOME/err" 3>&- &
pid=$!
until_ eval 'grep -q "FTUE will show" "$HOME/out"'
until_ eval 'wid=$(xdotool search --onlyvisible --limit 1 --name "Welcome to Marten") && [ -n "$wid" ]'
xdotool windowfocus --sync "$wid"
press() { xdotool key --window "$wid" "$1"; }
# By ear (for steps.sh): "HEADING panel" on arrival; the mark is how many were read.
step_shown() {
    spoken | sed -n "s/^'\(.*\) panel\.\{0,1\}'.*/\1/p" | awk '{ last = $0 } END { printf "%d\t%s\n", NR, last }'
}
hear "speak to type, anywhere"
press Tab && hear "Next push button"
if [ "$mode" = sign-in ]; then
    advance_to "Sign up or log in"
    press Tab && hear "Continue with Google push button"
    press Tab && hear "Continue with Facebook push button"
    press space && hear "This action will be enabled shortly"
    press Escape && TRIES=50 until_ eval '[ "$(spoken | grep -c "Continue with Facebook push button")" -ge 2 ]'
    # Google asks the main application for a sign-in; the flow moves on a second later.
    press shift+Tab && press space && TRIES=150 until_ left "Sign up or log in" && advance_to "How to Use Marten"
else
    advance_to "Input Access"
    press Tab && hear "Open Input Access Panel push button"
    press space && hear "Allow input access dialog"
fi
if [ "$mode" = simple ]; then
    hear "Grant Access push button"
    # Granted, the step moves on by itself.
    press space && hear "Input Access Granted!"
    TRIES=150 until_ left "Input Access" && advance_to "How to Use Marten" && advance_to "Test It Out!"
    python3 "$E2E/keys.py" press && hear "Recording"
    python3 "$E2E/keys.py" release && hear "Not recording"
    xdotool type --delay 20 "hello world" && hear "You said: hello world"
elif [ "$mode" = full ]; then
    press Escape && TRIES=50 until_ eval '[ "$(spoken | grep -c "^.Open Input Access Panel push button")" -ge 2 ]'
fi
kill "$pid"
stop_orca
wait "$pid"
exit 0
