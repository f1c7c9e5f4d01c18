#!/usr/bin/env bash
# Each row of the step decision, through the real programs: the console lines in order and
# the step count.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

NOT="User is not authenticated"
FULL_AUTH="User is authenticated (found valid token in .marten_auth_local.json)"
SIMPLE_AUTH="User is authenticated (found token in .marten_auth_local.json)"
NOSUB="No subscription status found"

# row NAME PROGRAM ACCESS(yes|no) ACCOUNT(none|signed-in) EXPECTED-LINES...
row() {
    local name="$1" program="$2" access="$3" account="$4" h runner=()
    shift 4
    h="$(new_home "$name")"
    [ "$account" = signed-in ] && printf '{"token":"abc"}' > "$h/.marten_auth_local.json"
    [ "$access" = yes ] && runner=("$WITH_INPUT_ACCESS")
    run_until "$h" "FTUE will show" in_home "$h" "${runner[@]}" "$BIN/$program"
    # The animation's line may or may not be there yet. SIGTERM ends the program as closing
    # its window does.
    grep -v '^GIF found at: ' "$h/out" > "$h/lines"
    check "$name" same "$h/lines" \
        "$(printf '%s\n' "Starting MartenOnboarding..." "$@" "MartenOnboarding main() completed")"
}

row "full, no access, signed out" MartenOnboarding no none "$NOT" "$NOT" "FTUE will show 4 steps"
row "full, no access, signed in" MartenOnboarding no signed-in \
    "$FULL_AUTH" "$NOSUB" "$FULL_AUTH" "$NOSUB" "FTUE will show 4 steps"
row "simple, no access, signed out" MartenOnboarding_Simple no none "$NOT" "FTUE will show 5 steps"
row "simple, no access, signed in" MartenOnboarding_Simple no signed-in "$SIMPLE_AUTH" "FTUE will show 4 steps"

if can_fake_input_access; then
    row "full, access, signed out" MartenOnboarding yes none "$NOT" "$NOT" "FTUE will show 3 steps"
    row "full, access, signed in" MartenOnboarding yes signed-in \
        "$FULL_AUTH" "$NOSUB" "$FULL_AUTH" "$NOSUB" "FTUE will show 3 steps"
    row "simple, access, signed out" MartenOnboarding_Simple yes none "$NOT" "FTUE will show 4 steps"
    row "simple, access, signed in" MartenOnboarding_Simple yes signed-in "$SIMPLE_AUTH" "FTUE will show 3 steps"
else
    echo "SKIP: rows with input access (no mount namespaces here)"
fi

finish
