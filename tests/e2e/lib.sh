# End-to-end helpers: each run of the real executables gets a fresh HOME, XDG folders and bus.

BIN="${1:?usage: $0 BUILD_BIN_DIR}"
passed=0 failed=0
WORK="$(mktemp -d)"
trap '[ -n "${KEEP_WORK:-}" ] || rm -rf "$WORK"' EXIT

fail() { failed=$((failed + 1)); echo "FAIL: $1"; shift; printf '      %s\n' "$@"; }

# new_home NAME: prints the path of a fresh home with private XDG folders.
new_home() { mkdir -p "$WORK/$1/config" && install -d -m 700 "$WORK/$1/runtime" && echo "$WORK/$1"; }

# in_home HOME CMD...: runs CMD with that home and a private session bus.
in_home() {
    HOME="$1" XDG_CONFIG_HOME="$1/config" XDG_RUNTIME_DIR="$1/runtime" \
        XDG_DATA_HOME="$1/data" XDG_CACHE_HOME="$1/cache" QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" \
        dbus-run-session -- "${@:2}"
}

WITH_INPUT_ACCESS="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/with-input-access.sh"
can_fake_input_access() { "$WITH_INPUT_ACCESS" true 2>/dev/null; }

source "$(dirname "${BASH_SOURCE[0]}")/until.sh"

# check NAME CMD...: one result from CMD's status; what CMD printed explains a failure.
check() {
    local name="$1" out && shift
    if out="$("$@" 2>&1)"; then passed=$((passed + 1)) && echo "PASS: $name"; else fail "$name" "$out"; fi
}

need() { local t; for t; do command -v "$t" > /dev/null || { echo "SKIP: $t is not installed"; exit 0; }; done; }
# need_atspi: steps.sh reads the accessibility tree through the system's python3.
need_atspi() {
    /usr/bin/python3 -c 'import gi; gi.require_version("Atspi", "2.0")' 2> /dev/null ||
        { echo "SKIP: python3-gi or gir1.2-atspi-2.0 is not installed"; exit 0; }
}

# same FILE TEXT: FILE holds exactly TEXT, or says what it holds instead.
same() { [ "$(cat "$1" 2>&1)" = "$2" ] || { echo "$1 holds:"; cat "$1" 2>&1; return 1; }; }

subscribed_home() { new_home "$1" && printf '{"token":"abc","has_subscription":true}' > "$WORK/$1/.marten_auth_local.json"; }

# FAST=1 run_to_end: the program alone on a clock five times as fast (libfaketime; not under a
# sanitizer, whose runtime must load first), for runs that only wait out its own timers.
FASTER_CLOCK=()
lib="$(compgen -G '/usr/lib/*/faketime/libfaketime.so.1' | head -1)"
[ -n "$lib" ] && [ -z "${ASAN_OPTIONS:-}" ] && FASTER_CLOCK=(env LD_PRELOAD="$lib" FAKETIME="+0 x5")

# run_to_end HOME CMD... PROGRAM: CMD... PROGRAM for 20 s at most; HOME/out, err and status.
run_to_end() {
    local h="$1" clock=() && shift
    [ -n "${FAST:-}" ] && clock=("${FASTER_CLOCK[@]}")
    "${@:1:$#-1}" timeout -k 5 20 "${clock[@]}" "${@: -1}" > "$h/out" 2> "$h/err"
    echo "$?" > "$h/status"
}

# ended HOME: status 0 and the program's last line its normal end, whatever it wrote.
ended() {
    same "$1/status" 0 && tail -n1 "$1/out" | grep -qx 'MartenOnboarding main() completed' ||
        { cat "$1/out"; return 1; }
}

# completed HOME: ended, with both flags written.
completed() {
    local conf="$1/config/Marten/Marten.conf"
    ended "$1" && grep -qx 'has_launched_before=true' "$conf" 2> /dev/null &&
        grep -qx 'ftue_completed=true' "$conf" || { cat "$conf" 2>&1; return 1; }
}

# start_until HOME TEXT CMD... PROGRAM: as run_to_end in the background, returning 0.5 s after
# TEXT is printed; PROGRAM's pid in HOME/pid for stop_with.
start_until() {
    local h="$1" text="$2" && shift 2
    rm -f "$h/pid"
    "${@:1:$#-1}" timeout -k 5 -s TERM 20 sh -c 'echo $$ > "$0"; exec "$1"' "$h/pid" "${@: -1}" \
        > "$h/out" 2> "$h/err" &
    STARTED=$!
    until_ grep -qsF -- "$text" "$h/out" && [ -z "${AT_ONCE:-}" ] && sleep 0.5
}

# run_until HOME TEXT CMD... PROGRAM: as start_until, then ends PROGRAM at once.
run_until() {
    AT_ONCE=1 start_until "$@"
    [ -s "$1/pid" ] && kill "$(cat "$1/pid")" 2> /dev/null
    wait "$STARTED" 2> /dev/null
}

# What Marten.conf holds after a completed run that found no such file.
FLAGS_ONLY=$'[General]\nftue_completed=true\nhas_launched_before=true\n'

# same_bytes FILE TEXT: FILE holds exactly TEXT, down to the last newline.
same_bytes() { printf '%s' "$2" | cmp -s - "$1" || { echo "$1 holds:"; cat "$1" 2>&1; return 1; }; }

# with_main_app DIR: a copy of the full program in DIR, with a main application beside it.
with_main_app() { mkdir -p "$1" && cp "$BIN/MartenOnboarding" "$1/" && install /dev/null "$1/marten"; }

# stop_with HOME SIGNAL: ends start_until's program; status to HOME/status, seconds to HOME/took.
stop_with() {
    local start && start=$(date +%s%N)
    kill -s "$2" "$(cat "$1/pid")"
    wait "$STARTED"; echo $? > "$1/status"
    echo "scale=2; ($(date +%s%N) - $start) / 1000000000" | bc > "$1/took"
}

# within HOME SECONDS: what HOME/took notes is less than SECONDS.
within() { [ "$(echo "$(cat "$1/took") < $2" | bc)" = 1 ] || { echo "took $(cat "$1/took") s"; return 1; }; }

finish() { echo "$passed passed, $failed failed" && [ "$failed" -eq 0 ]; }
