#!/usr/bin/env bash
# An upward include fails to compile, ui and screens reach nothing of platform/linux, and the
# programs carry no fakes.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
SRC="$(cd "$(dirname "$0")/../../src" && pwd)"
BUILD="$(cd "$BIN/.." && pwd)"

# compile HEADER: compiles a file that includes HEADER with the flags of a ui source.
compile() {
    printf '#include "%s"\n' "$1" > "$WORK/probe.cpp"
    python3 - "$BUILD/compile_commands.json" "$SRC/ui/Card.cpp" "$WORK/probe.cpp" <<'PY'
import json, shlex, subprocess, sys
db, source, probe = sys.argv[1:4]
entry = next(e for e in json.load(open(db)) if e["file"] == source)
args = shlex.split(entry["command"])
del args[args.index("-o"):args.index("-o") + 2]
args = [probe if a == source else a for a in args if a != "-c"] + ["-fsyntax-only"]
sys.exit(subprocess.run(args, cwd=entry["directory"], capture_output=True).returncode)
PY
}
if command -v python3 > /dev/null && [ -f "$BUILD/compile_commands.json" ]; then
    check "the build refuses an upward include" eval \
        'compile core/Variant.h && ! compile screens/WelcomeView.h && ! compile app/FTUEView.h'
fi

library() { find "$BUILD" -name "libmarten_$1.a" -print -quit; }
nm -C --defined-only "$(library platform_linux)" 2> /dev/null |
    sed -nE 's/^[0-9a-f]+ [TtWVDdBR] (marten::.*)$/\1/p' | sort -u > "$WORK/linux-symbols"
for layer in ui screens; do
    check "marten_$layer refers to nothing of platform/linux" eval \
        '[ -s "$WORK/linux-symbols" ] && ! nm -C --undefined-only "$(library $layer)" |
             sed -E "s/^ *U //" | sort -u | grep -Fxf "$WORK/linux-symbols"'
done
for program in MartenOnboarding MartenOnboarding_Simple; do
    check "$program carries no test fake" eval '! nm -C "$BIN/$program" | grep "marten::fake::"'
done
finish
