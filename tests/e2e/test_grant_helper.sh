#!/usr/bin/env bash
# The input-access helper, run for real as root, but inside a private mount namespace: its two
# target folders are empty tmpfs, and udevadm and modprobe are fakes that log their arguments.
# Nothing outside the namespace changes. Also checks the configured polkit action.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

build="$(cd "$BIN/.." && pwd)"
helper="$build/libexec/marten-onboarding/grant-input-access"
policy="$build/dist/com.marten.onboarding.policy"
RULES=/etc/udev/rules.d/70-marten-input-access.rules
MODULES=/etc/modules-load.d/marten-uinput.conf

# --- The configured polkit action ------------------------------------------------------------
dtd=/usr/share/polkit-1/policyconfig-1.dtd
if ! command -v xmllint > /dev/null; then
    echo "SKIP: polkit action (no xmllint)"
elif [ ! -f "$policy" ]; then
    fail "the configured polkit action exists" "$policy"
else
    if [ -f "$dtd" ]; then check=(--dtdvalid "$dtd"); else check=(); fi
    exec_path="$(xmllint --xpath \
        'string(//action[@id="com.marten.onboarding.grant-input-access"]/annotate[@key="org.freedesktop.policykit.exec.path"])' \
        "$policy")"
    if xmllint --noout "${check[@]}" "$policy" &&
        [[ "$exec_path" == /*/libexec/marten-onboarding/grant-input-access ]] &&
        ! grep -q '@' "$policy"; then
        pass "polkit action: valid${check[*]:+ against the DTD}, exec.path absolute ($exec_path)"
    else
        fail "polkit action" "exec.path '$exec_path'" "$(xmllint --noout "${check[@]}" "$policy" 2>&1)"
    fi
fi

if [ -x "$helper" ]; then
    pass "the build tree has the helper, executable, at libexec/marten-onboarding"
else
    fail "helper in the build tree" "$helper"
    finish
    exit 1
fi

# --- The namespace ---------------------------------------------------------------------------
# ns.sh DIR HOW...: sets up the namespace, then runs the helper once per HOW, in turn:
#   root | args (root, with an argument) | nobody (uid 65534) | fail:TOOL SUBCOMMAND
# Run N leaves DIR/N/{status,stdout,stderr,log}, plus copies of the two files and their
# "mode uid gid", and a listing of both folders.
cat > "$WORK/ns.sh" <<'NS'
set -eu
dir=$1 helper=$2
shift 2
ns="$dir/ns"
mkdir -p "$ns"
mount -t tmpfs -o mode=0755 tmpfs "$ns"
mkdir "$ns/etc-up" "$ns/etc-work" "$ns/sbin-up" "$ns/sbin-work"
# Where a folder does not exist, make it in a throwaway layer over /etc.
if [ ! -d /etc/udev/rules.d ] || [ ! -d /etc/modules-load.d ]; then
    mount -t overlay overlay -o "lowerdir=/etc,upperdir=$ns/etc-up,workdir=$ns/etc-work" /etc
    mkdir -p /etc/udev/rules.d /etc/modules-load.d
fi
# World-writable, so that a helper that forgot the root check would leave files behind.
mount -t tmpfs -o mode=0777 tmpfs /etc/udev/rules.d
mount -t tmpfs -o mode=0777 tmpfs /etc/modules-load.d
# The fakes go in a layer over /usr/sbin, first in the helper's PATH, so they win whether or
# not the real tools are installed, and wherever they are.
: > "$ns/log"
: > "$ns/fail"
chmod 666 "$ns/log"
for tool in udevadm modprobe; do
    cat > "$ns/sbin-up/$tool" <<FAKE
#!/bin/sh
echo "$tool \$*" >> "$ns/log"
if [ "$tool \$1" = "\$(cat "$ns/fail")" ]; then
    echo "$tool: first complaint" >&2
    echo "$tool: last complaint" >&2
    exit 1
fi
exit 0
FAKE
    chmod 755 "$ns/sbin-up/$tool"
done
mount -t overlay overlay -o "lowerdir=/usr/sbin,upperdir=$ns/sbin-up,workdir=$ns/sbin-work" /usr/sbin
cp "$helper" "$ns/grant-input-access"

n=0
for how in "$@"; do
    n=$((n + 1))
    out="$dir/$n"
    mkdir -p "$out"
    : > "$ns/fail"
    run=("$ns/grant-input-access")
    case "$how" in
        args) run+=(--force) ;;
        nobody) run=(setpriv --reuid=65534 --regid=65534 --clear-groups "${run[@]}") ;;
        fail:*) echo "${how#fail:}" > "$ns/fail" ;;
    esac
    status=0
    (cd / && "${run[@]}") > "$out/stdout" 2> "$out/stderr" < /dev/null || status=$?
    echo "$status" > "$out/status"
    for f in RULES MODULES; do
        path=${!f}
        if [ -e "$path" ]; then
            cp "$path" "$out/$f"
            stat -c '%a %u %g' "$path" > "$out/$f.stat"
        fi
    done
    ls -A /etc/udev/rules.d /etc/modules-load.d > "$out/listing"
    cp "$ns/log" "$out/log"
    : > "$ns/log"
done
NS

# in_namespace NAME HOW...: prints the folder that holds the runs' results.
in_namespace() {
    local d="$WORK/$1"
    shift
    mkdir -p "$d"
    chmod 711 "$WORK" "$d" # the uid 65534 run must reach the helper's copy
    RULES="$RULES" MODULES="$MODULES" timeout 20 \
        unshare -m --propagation private bash "$WORK/ns.sh" "$d" "$helper" "$@" > "$d/ns.log" 2>&1 ||
        echo "namespace set-up failed: $(cat "$d/ns.log")" >&2
    echo "$d"
}

if [ "$(id -u)" != 0 ] || ! unshare -m --propagation private true 2> /dev/null; then
    echo "SKIP: the helper's runs (needs root and mount namespaces)"
    finish
    exit
fi
probe="$(in_namespace probe 2> /dev/null)"
if [ -s "$probe/ns.log" ]; then
    echo "SKIP: the helper's runs (cannot set up the namespace: $(head -1 "$probe/ns.log"))"
    finish
    exit
fi

expected_rules='# Installed by Marten onboarding (grant-input-access).
# Lets the user of the active local session read keyboards and create a virtual keyboard
# through /dev/uinput, for push-to-talk dictation. Delete this file to take the access back.
KERNEL=="uinput", SUBSYSTEM=="misc", OPTIONS+="static_node=uinput", TAG+="uaccess"
SUBSYSTEM=="input", KERNEL=="event*", ENV{ID_INPUT_KEYBOARD}=="1", TAG+="uaccess"'
expected_modules='# Installed by Marten onboarding (grant-input-access): load uinput at boot.
uinput'
expected_log='modprobe uinput
udevadm control --reload-rules
udevadm trigger --action=change --subsystem-match=input --subsystem-match=misc
udevadm settle'
expected_listing='/etc/modules-load.d:
marten-uinput.conf

/etc/udev/rules.d:
70-marten-input-access.rules'

# One line of stderr, starting with the helper's name.
one_error_line() { # FILE
    [ "$(wc -l < "$1")" = 1 ] && grep -q '^grant-input-access: ' "$1"
}

# --- A grant, then the same grant again --------------------------------------------------------
d="$(in_namespace twice root root)"
for n in 1 2; do
    if [ "$(cat "$d/$n/status")" = 0 ] && [ ! -s "$d/$n/stderr" ] && [ ! -s "$d/$n/stdout" ] &&
        [ "$(cat "$d/$n/RULES")" = "$expected_rules" ] &&
        [ "$(cat "$d/$n/MODULES")" = "$expected_modules" ] &&
        [ "$(tail -c1 "$d/$n/RULES" | od -An -c | tr -d ' ')" = '\n' ] &&
        [ "$(cat "$d/$n/RULES.stat")" = "644 0 0" ] && [ "$(cat "$d/$n/MODULES.stat")" = "644 0 0" ] &&
        [ "$(cat "$d/$n/log")" = "$expected_log" ] &&
        [ "$(cat "$d/$n/listing")" = "$expected_listing" ]; then
        pass "run $n as root: both files exact, 0644 root-owned, tools run in order, no strays"
    else
        fail "run $n as root" "status $(cat "$d/$n/status")" "$(cat "$d/$n/stderr")" \
            "$(cat "$d/$n/RULES.stat" "$d/$n/MODULES.stat" 2> /dev/null)" "$(cat "$d/$n/log")" \
            "$(cat "$d/$n/listing")"
    fi
done
if cmp -s "$d/1/RULES" "$d/2/RULES" && cmp -s "$d/1/MODULES" "$d/2/MODULES"; then
    pass "a second run leaves both files byte-identical"
else
    fail "second run changed the files"
fi

# --- Failures: each gives a non-zero status and exactly one line --------------------------------
d="$(in_namespace trigger-fails "fail:udevadm trigger")"
if [ "$(cat "$d/1/status")" != 0 ] && one_error_line "$d/1/stderr" &&
    grep -q 'udevadm trigger failed' "$d/1/stderr" &&
    [ "$(tail -1 "$d/1/log")" = "udevadm trigger --action=change --subsystem-match=input --subsystem-match=misc" ]; then
    pass "a failing udevadm trigger: non-zero, one line naming it ($(cat "$d/1/stderr")), stops there"
else
    fail "failing udevadm trigger" "status $(cat "$d/1/status")" "$(cat "$d/1/stderr")" "$(cat "$d/1/log")"
fi

d="$(in_namespace refusals nobody args)"
if [ "$(cat "$d/1/status")" != 0 ] && one_error_line "$d/1/stderr" &&
    [ ! -e "$d/1/RULES" ] && [ ! -e "$d/1/MODULES" ] && [ ! -s "$d/1/log" ] &&
    [ "$(grep -c . "$d/1/listing")" = 2 ]; then
    pass "not root: refused with one line, nothing written, nothing run"
else
    fail "not root" "status $(cat "$d/1/status")" "$(cat "$d/1/stderr")" "$(cat "$d/1/listing")" "$(cat "$d/1/log")"
fi
if [ "$(cat "$d/2/status")" != 0 ] && [ "$(wc -l < "$d/2/stderr")" = 1 ] &&
    grep -q '^usage: ' "$d/2/stderr" && [ ! -e "$d/2/RULES" ] && [ ! -s "$d/2/log" ]; then
    pass "an argument: refused with a usage line, nothing written"
else
    fail "an argument" "status $(cat "$d/2/status")" "$(cat "$d/2/stderr")"
fi

finish
