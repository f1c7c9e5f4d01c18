#!/usr/bin/env bash
# By ear: the screen reader (speech logged, not played) under Xvfb, the full program by
# keyboard: each step read on arrival, heading and explanation, the first Tab on the step's
# own control; the panel read as a dialog, title and explanation.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
need xvfb-run xdotool gdbus orca python3
E2E="$(cd "$(dirname "$0")" && pwd)"
# what HOME: the utterances, one a line.
what() { bash "$E2E/spoken.sh" "$1/orca.log"; }
# said HOME TEXT...: every TEXT was said, in this order (each a part of one utterance).
said() {
    local h="$1" line=0 n
    shift
    for text; do
        n=$(what "$h" | grep -nF -- "$text" | cut -d: -f1 | awk -v after="$line" '$1 > after' | head -1)
        [ -n "$n" ] || { echo "never said after utterance $line: $text"; what "$h"; return 1; }
        line=$n
    done
}
# after HOME KEY TEXT: the first utterance after the key's own echo holds TEXT.
after() { what "$1" | grep -A1 -x "'$2 '.*" | sed -n 2p | grep -qF -- "$3" || { what "$1"; return 1; }; }

h="$(new_home permissions)"
QT_QPA_PLATFORM=xcb in_home "$h" timeout -k 5 120 xvfb-run -a -s "-screen 0 1440x900x24" \
    bash "$E2E/screen_reader.sh" "$BIN" > /dev/null 2>&1
if ! grep -q "Startup complete" "$h/orca.log" 2> /dev/null; then
    echo "SKIP: the screen reader does not start here"
    exit 0
fi
check "welcome: heading and explanation on arrival; the first Tab on Next, not Close" \
    eval 'said "$h" "Welcome to Marten panel" "speak to type, anywhere" && after "$h" tab "Next push button"'
check "permission step: heading, then explanation, on arrival" \
    eval 'said "$h" "Input Access panel" "Marten needs input access to type in your applications"'
check "input-access panel: read as a dialog, its title and then its explanation; Escape returns to its opener" \
    eval 'said "$h" "Allow input access dialog Marten needs to see when you press the right Super key" \
        "Open Input Access Panel push button"'

finish
