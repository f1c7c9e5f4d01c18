# Shared helpers for the end-to-end tests: each run gets a fresh HOME, its own XDG folders
# and its own session bus, and starts the real executables as a person would.

BIN="${1:?usage: $0 BUILD_BIN_DIR}"
passed=0
failed=0
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT

pass() { passed=$((passed + 1)); echo "PASS: $1"; }
fail() { failed=$((failed + 1)); echo "FAIL: $1"; shift; printf '      %s\n' "$@"; }

# new_home NAME: prints the path of a fresh home with private XDG folders.
new_home() {
    local h="$WORK/$1"
    mkdir -p "$h/config" "$h/runtime"
    chmod 700 "$h/runtime"
    echo "$h"
}

# in_home HOME CMD...: runs CMD with that home and a private session bus.
in_home() {
    local h="$1"
    shift
    HOME="$h" XDG_CONFIG_HOME="$h/config" XDG_RUNTIME_DIR="$h/runtime" \
        XDG_DATA_HOME="$h/data" XDG_CACHE_HOME="$h/cache" QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" \
        dbus-run-session -- "$@"
}

# Runs a command where input access is granted (see with-input-access.sh).
WITH_INPUT_ACCESS="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/with-input-access.sh"

can_fake_input_access() {
    "$WITH_INPUT_ACCESS" true 2>/dev/null
}

# wait_for_line FILE TEXT [tenths]: waits until FILE holds a line containing TEXT.
wait_for_line() {
    local i
    for ((i = 0; i < ${3:-100}; i++)); do
        grep -qF -- "$2" "$1" 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}

# stdout_lines FILE: the program's console lines, without the animation's own line.
stdout_lines() {
    grep -v '^GIF found at: ' "$1"
}

finish() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}
