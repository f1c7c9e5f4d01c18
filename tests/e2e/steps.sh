# Sourced by the walks on X ($wid: the window): a step is known by its heading, never its place.
# step_shown prints a mark that changes with every step, a tab and the heading: here from the
# accessibility tree (atspi.py: the bar's "Step 2 of 4"); screen_reader.sh tells it by ear.
STEPS_SH_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$STEPS_SH_DIR/until.sh"
atspi() { /usr/bin/python3 "$STEPS_SH_DIR/atspi.py" "$@"; }
step_shown() { atspi step; }
# Before the program starts, where the accessibility bus runs: Qt's variable asks for the
# bridge (the desktop's setting would be written to the home).
ask_for_accessibility() {
    gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
        --method org.a11y.Bus.GetAddress > /dev/null && export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
}
# left HEADING: a step shows, and its heading is another.
left() { local shown && shown="$(step_shown)" && [ "${shown#*$'\t'}" != "$1" ]; }
# towards HEADING: true on that step; otherwise Ctrl+Return, false once another step shows.
towards() {
    local shown && shown="$(step_shown)" || return 1
    [ "${shown#*$'\t'}" = "$1" ] && return 0
    xdotool key --window "$wid" ctrl+Return
    TRIES=150 until_ eval '[ "$(step_shown)" != "$shown" ]'
    return 1
}
# advance_to HEADING: from step to step until the one headed HEADING shows.
advance_to() { TRIES=20 until_ towards "$1"; }
# click NAME: the push button NAME clicked with the mouse, where it shows.
click() {
    local x y && read -r x y <<< "$(atspi centre "$1")" && [ -n "$y" ] && xdotool mousemove "$x" "$y" click 1
}
