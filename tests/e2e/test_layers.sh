#!/usr/bin/env bash
# The layers: the compiler refuses a file that includes a higher layer's header, ui and
# screens reach nothing of platform/linux, and the shipped programs carry none of the fakes.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
SRC="$(cd "$(dirname "$0")/../../src" && pwd)"
BUILD="$(cd "$BIN/.." && pwd)"

# The compiler's own word: a ui file that includes a screen does not compile, one that
# includes core does.
if command -v python3 >/dev/null && [ -f "$BUILD/compile_commands.json" ]; then
    probe_dir="$(mktemp -d "$WORK/probe.XXXX")"
    compile() { # HEADER: compiles a one-line file with a ui source's flags
        printf '#include "%s"\n' "$1" > "$probe_dir/probe.cpp"
        python3 - "$BUILD/compile_commands.json" "$SRC/ui/Card.cpp" "$probe_dir/probe.cpp" <<'PY'
import json, shlex, subprocess, sys
db, source, probe = sys.argv[1:4]
entry = next(e for e in json.load(open(db)) if e["file"] == source)
args = shlex.split(entry["command"])
out = args.index("-o")
del args[out:out + 2]
args = [probe if a == source else a for a in args if a != "-c"] + ["-fsyntax-only"]
sys.exit(subprocess.run(args, cwd=entry["directory"], capture_output=True).returncode)
PY
    }
    check "the build refuses an upward include" eval \
        'compile core/Variant.h && ! compile screens/WelcomeView.h && ! compile app/FTUEView.h'
fi

# The linker's own word: the ui and screens libraries refer to nothing platform/linux defines.
library() { find "$BUILD" -name "libmarten_$1.a" -print -quit; }
linux_symbols="$WORK/linux-symbols"
nm -C --defined-only "$(library platform_linux)" 2>/dev/null |
    sed -nE 's/^[0-9a-f]+ [TtWVDdBR] (marten::.*)$/\1/p' | sort -u > "$linux_symbols"
for layer in ui screens; do
    check "marten_$layer refers to nothing of platform/linux" eval \
        '[ -s "$linux_symbols" ] && ! nm -C --undefined-only "$(library $layer)" |
             sed -E "s/^ *U //" | sort -u | grep -Fxf "$linux_symbols"'
done

# The programs link no fake.
for program in MartenOnboarding MartenOnboarding_Simple; do
    check "$program carries no test fake" eval '! nm -C "$BIN/$program" | grep "marten::fake::"'
done
finish
