#!/usr/bin/env bash
# Plants the faults listed in scripts/mutants.list one at a time in a throw-away copy of this
# tree, rebuilds, runs the tests each fault names, and reports which faults the tests caught.
# A maintainer's tool for judging the test suite; it is not part of the test command.
#
#   bash scripts/mutants.sh [--only N,M,...] [--match REGEX] [--list] [--keep] [--baseline]
#
#   --only N,M   plant only these faults (numbers as --list prints them)
#   --match RE   plant only the faults whose description matches RE (grep -E, any case)
#   --list       print the numbered faults and whether each snippet is found once, then stop
#   --baseline   first run each named test set on the unchanged copy; a set that fails there
#                would make its faults look caught, so the run stops
#   --keep       leave the copy (and its build folder) in place for the next run
#
# Each line of the list is five fields separated by " @@ ":
#   FILE @@ SNIPPET @@ REPLACEMENT @@ CTEST REGEX @@ DESCRIPTION
# SNIPPET must occur exactly once in FILE, or the fault is reported "stale" and not run.
# In SNIPPET and REPLACEMENT, \n stands for a line break. Lines starting with # are comments.
set -uo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
LIST="$ROOT/scripts/mutants.list"
COPY="${MUTANTS_COPY:-${TMPDIR:-/tmp}/marten-mutants}"
TEST_TIMEOUT="${MUTANTS_TEST_TIMEOUT:-600}"
only="" match="" list_only=0 keep=0 baseline=0

while [ $# -gt 0 ]; do
    case "$1" in
    --only) only="${2:?--only needs a list}"; shift 2 ;;
    --match) match="${2:?--match needs a regex}"; shift 2 ;;
    --list) list_only=1; shift ;;
    --keep) keep=1; shift ;;
    --baseline) baseline=1; shift ;;
    *) echo "unknown option: $1" >&2; exit 2 ;;
    esac
done

# The faults as records separated by \x1f, so that empty fields survive "read": number,
# file, snippet, replacement, regex, description.
faults() {
    python3 - "$LIST" <<'EOF'
import sys
n = 0
for raw in open(sys.argv[1], encoding="utf-8"):
    line = raw.rstrip("\n")
    if not line.strip() or line.lstrip().startswith("#"):
        continue
    parts = line.split(" @@ ")
    if len(parts) != 5:
        sys.exit(f"mutants.list: not five fields: {line}")
    n += 1
    print("\x1f".join([str(n)] + parts))
EOF
}

# count FILE SNIPPET: how often SNIPPET occurs in FILE.
count() {
    python3 -c 'import sys; s=sys.argv[2].replace("\\n","\n"); print(open(sys.argv[1],encoding="utf-8").read().count(s) if s else 0)' "$1" "$2" 2>/dev/null || echo 0
}

# plant FILE SNIPPET REPLACEMENT: puts REPLACEMENT in place of the one SNIPPET in FILE.
plant() {
    python3 - "$1" "$2" "$3" <<'EOF'
import sys
path, old, new = sys.argv[1], sys.argv[2].replace("\\n", "\n"), sys.argv[3].replace("\\n", "\n")
text = open(path, encoding="utf-8").read()
open(path, "w", encoding="utf-8").write(text.replace(old, new, 1))
EOF
}

selected() {
    local n="$1" desc="$2"
    if [ -n "$only" ] && [[ ",$only," != *",$n,"* ]]; then return 1; fi
    if [ -n "$match" ] && ! grep -qiE -- "$match" <<< "$desc"; then return 1; fi
    return 0
}

if [ "$list_only" = 1 ]; then
    while IFS=$'\x1f' read -r n file snippet _ regex desc; do
        selected "$n" "$desc" || continue
        c=$(count "$ROOT/$file" "$snippet")
        state=ok; [ "$c" = 1 ] || state="stale($c)"
        printf '%3s %-9s %-40s %s\n' "$n" "$state" "$file" "$desc"
    done < <(faults)
    exit 0
fi

export CCACHE_DIR="${CCACHE_DIR:-/work/.ccache}" CCACHE_NOHASHDIR=1
# Paths below the copy's parent are hashed relative to it, so the copy shares the cache
# with a build of the tree itself.
export CCACHE_BASEDIR="$(dirname "$COPY")"
export QT_QPA_PLATFORM=offscreen

echo "copying the tree to $COPY"
mkdir -p "$COPY"
# Tracked and new files as they are now, not only what is committed. Only files whose bytes
# differ are written (with a new time), so a kept copy's build folder rebuilds just those.
(cd "$ROOT" && git ls-files -z --cached --others --exclude-standard) | python3 -c '
import os, shutil, sys
root, copy = sys.argv[1], sys.argv[2]
for name in sys.stdin.buffer.read().decode().split("\0"):
    src, dst = os.path.join(root, name), os.path.join(copy, name)
    if not name or not os.path.isfile(src):
        continue
    try:
        same = open(src, "rb").read() == open(dst, "rb").read()
    except OSError:
        same = False
    if not same:
        os.makedirs(os.path.dirname(dst), exist_ok=True)
        shutil.copy(src, dst)
' "$ROOT" "$COPY"
# Removed at the end unless --keep, or kept when something went wrong, to look into.
trap '[ "$keep" = 1 ] || rm -rf "$COPY"' EXIT

# build [REGEX]: builds the copy; with a test regex that names only unit tests, just those
# test programs, so a fault in a library does not relink everything.
build() {
    local targets=()
    if [ -n "${1:-}" ] && ! grep -q 'e2e/' <<< "$1"; then
        mapfile -t targets < <(grep -oE 'tst_[a-z_]+' <<< "$1" | sort -u | sed 's/^/--target=/')
    fi
    (cd "$COPY" && cmake --preset default -DCMAKE_CXX_COMPILER_LAUNCHER=ccache > /dev/null &&
        nice cmake --build --preset default "${targets[@]}") < /dev/null > "$COPY/.mutant-build.log" 2>&1
}

run_tests() {
    (cd "$COPY" && timeout -k 10 "$TEST_TIMEOUT" dbus-run-session -- \
        ctest --preset default -LE timing -R "$1" --timeout 300 -j2) < /dev/null > "$COPY/.mutant-test.log" 2>&1
}

echo "building the unchanged copy"
build || { echo "the unchanged copy does not build; see $COPY/.mutant-build.log"; keep=1; exit 1; }

if [ "$baseline" = 1 ]; then
    while read -r regex; do
        if ! run_tests "$regex"; then
            echo "the unchanged copy fails '$regex'; see $COPY/.mutant-test.log"
            keep=1
            exit 1
        fi
        echo "baseline passes: $regex"
    done < <(faults | while IFS=$'\x1f' read -r n _ _ _ regex desc; do
        selected "$n" "$desc" && echo "$regex"
    done | sort -u)
fi

caught=0 missed=0 stale=0 broken=0
missed_list=() stale_list=() broken_list=()
while IFS=$'\x1f' read -r n file snippet replacement regex desc; do
    selected "$n" "$desc" || continue
    target="$COPY/$file"
    c=$(count "$target" "$snippet")
    if [ "$c" != 1 ]; then
        stale=$((stale + 1)); stale_list+=("$n $desc (found $c times)")
        printf '%3s stale    %s\n' "$n" "$desc"
        continue
    fi
    saved="$(mktemp)"
    cp -p "$target" "$saved"
    plant "$target" "$snippet" "$replacement"
    start=$SECONDS
    if ! build "$regex"; then
        result="not compiled"; broken=$((broken + 1)); broken_list+=("$n $desc")
    elif run_tests "$regex"; then
        result="MISSED"; missed=$((missed + 1)); missed_list+=("$n $desc")
    else
        result="caught"; caught=$((caught + 1))
    fi
    # Put the file back with a new time, so the next build compiles the original again.
    cp "$saved" "$target" && touch "$target"
    rm -f "$saved"
    printf '%3s %-12s %4ss  %s\n' "$n" "$result" "$((SECONDS - start))" "$desc"
done < <(faults)

# Leave the copy built as it was, so that a kept copy starts the next run clean.
build || true

echo
echo "caught $caught, missed $missed, not compiled $broken, stale $stale"
for f in "${missed_list[@]}"; do echo "  missed: $f"; done
for f in "${broken_list[@]}"; do echo "  not compiled: $f"; done
for f in "${stale_list[@]}"; do echo "  stale: $f"; done
run=$((caught + missed))
[ "$run" -gt 0 ] && echo "score: $caught of $run caught ($((100 * caught / run)) %)"
exit 0
