#!/usr/bin/env bash
# The input-access helper run as root in a private mount namespace: its two target folders
# are empty tmpfs, udevadm and modprobe fakes that log their arguments.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

helper="$(cd "$BIN/.." && pwd)/libexec/marten-onboarding/grant-input-access"
RULES=/etc/udev/rules.d/70-marten-input-access.rules
MODULES=/etc/modules-load.d/marten-uinput.conf
[ "$(id -u)" = 0 ] && unshare -m true 2> /dev/null ||
    { echo "SKIP: the helper's runs need root and mount namespaces"; exit 0; }

# ns.sh DIR HOW...: the helper per HOW on empty folders (but "again"): root, again, args, nobody,
# fail:TOOL SUBCOMMAND, folder (in the rule's place, its content to "inside"), missing:TOOL.
# Run N leaves DIR/N/{status,stderr,out,log,listing}, the two files and "mode uid gid" in stat.
cat > "$WORK/ns.sh" <<'NS'
set -eu
dir=$1 helper=$2
shift 2
ns="$dir/ns"
mkdir -p "$ns" && mount -t tmpfs -o mode=0755 tmpfs "$ns"
mkdir "$ns/etc-up" "$ns/etc-work" "$ns/sbin-up" "$ns/sbin-work"
if [ ! -d /etc/udev/rules.d ] || [ ! -d /etc/modules-load.d ]; then
    mount -t overlay overlay -o "lowerdir=/etc,upperdir=$ns/etc-up,workdir=$ns/etc-work" /etc
    mkdir -p /etc/udev/rules.d /etc/modules-load.d
fi
# World-writable, so that a helper that forgot the root check would leave files behind.
mount -t tmpfs -o mode=0777 tmpfs /etc/udev/rules.d
mount -t tmpfs -o mode=0777 tmpfs /etc/modules-load.d
# The fakes go in a layer over /usr/sbin, first in the helper's PATH.
for tool in udevadm modprobe; do
    printf '#!/bin/sh\necho "%s $*" >> "%s"\n[ "%s $1" != "$(cat "%s")" ] && exit 0\necho "%s: first complaint\n%s: last complaint" >&2\nexit 1\n' \
        "$tool" "$ns/log" "$tool" "$ns/fail" "$tool" "$tool" > "$ns/sbin-up/$tool"
    chmod 755 "$ns/sbin-up/$tool"
done
mount -t overlay overlay -o "lowerdir=/usr/sbin,upperdir=$ns/sbin-up,workdir=$ns/sbin-work" /usr/sbin
cp "$helper" "$ns/grant-input-access"
n=0
for how in "$@"; do
    n=$((n + 1)) out="$dir/$n" && mkdir -p "$dir/$n"
    : > "$ns/fail"
    install -m 666 /dev/null "$ns/log"
    [ "$how" = again ] || rm -f "$RULES" "$MODULES"
    run=("$ns/grant-input-access")
    case "$how" in
        args) run+=(--force) ;;
        nobody) run=(setpriv --reuid=65534 --regid=65534 --clear-groups "${run[@]}") ;;
        fail:*) echo "${how#fail:}" > "$ns/fail" ;;
        folder) mkdir "$RULES" ;;
        missing:*) rm "/usr/sbin/${how#missing:}" ;;
    esac
    (cd / && "${run[@]}") > "$out/out" 2> "$out/stderr" < /dev/null && echo 0 > "$out/status" ||
        echo $? > "$out/status"
    for f in RULES MODULES; do [ -f "${!f}" ] && cp "${!f}" "$out/$f" && stat -c '%a %u %g' "${!f}" >> "$out/stat"; done
    ls -A /etc/udev/rules.d /etc/modules-load.d > "$out/listing"
    if [ -d "$RULES" ]; then ls -A "$RULES" > "$out/inside"; rm -rf "$RULES"; fi
    cp "$ns/log" "$out/log"
done
NS
d="$WORK/runs" && mkdir -p "$d"
chmod 711 "$WORK" "$d" # the uid 65534 run must reach the helper's copy
RULES="$RULES" MODULES="$MODULES" timeout -k 5 30 unshare -m --propagation private bash "$WORK/ns.sh" \
    "$d" "$helper" root again "fail:udevadm trigger" nobody args folder missing:modprobe > "$d/ns.log" 2>&1
check "the namespace was set up" same "$d/ns.log" ""

trigger='udevadm trigger --action=change --subsystem-match=input --subsystem-match=misc'
granted() { # RUN-DIR: the rule tags keyboards and uinput and ends in a newline; 0644 root's
    same "$1/status" 0 && same "$1/stderr" '' && same "$1/out" '' && [ -z "$(tail -c1 "$1/RULES")" ] &&
        same "$1/stat" "644 0 0"$'\n'"644 0 0" &&
        [ "$(grep -v '^#' "$1/MODULES")" = uinput ] && [ "$(grep -v '^#' "$1/RULES")" = \
'KERNEL=="uinput", SUBSYSTEM=="misc", OPTIONS+="static_node=uinput", TAG+="uaccess"
SUBSYSTEM=="input", KERNEL=="event*", ENV{ID_INPUT_KEYBOARD}=="1", TAG+="uaccess"' ] &&
        same "$1/log" "$(printf '%s\n' 'modprobe uinput' 'udevadm control --reload-rules' \
            "$trigger" 'udevadm settle')" &&
        same "$1/listing" "$(printf '%s\n' /etc/modules-load.d: marten-uinput.conf '' \
            /etc/udev/rules.d: 70-marten-input-access.rules)"
}
refused() { # RUN-DIR PATTERN: a non-zero status and one line on stderr, starting with PATTERN
    [ "$(cat "$1/status")" != 0 ] && [ "$(wc -l < "$1/stderr")" = 1 ] && grep -q "$2" "$1/stderr" ||
        { cat "$1/stderr"; return 1; }
}
untouched() { # RUN-DIR: no file written, not even a temporary one, and no tool run
    [ ! -e "$1/RULES" ] && [ ! -e "$1/MODULES" ] && same "$1/log" '' &&
        ! grep -e '^\.' -e marten-uinput "$1/listing"
}

check "as root, and again: both files right, 0644 root-owned, tools run in order, nothing changed" \
    eval 'granted "$d/1" && granted "$d/2" && cmp "$d/1/RULES" "$d/2/RULES" && cmp "$d/1/MODULES" "$d/2/MODULES"'
check "a failing udevadm trigger: one line naming it, nothing after it" \
    eval 'refused "$d/3" "^grant-input-access: .*udevadm trigger failed" &&
        [ "$(tail -1 "$d/3/log")" = "$trigger" ]'
# A folder in the rule's place: a rename would move the rule into it.
check "not root, an argument, a folder in the rule's place: refused with one line, nothing done" \
    eval 'refused "$d/4" "^grant-input-access: " && untouched "$d/4" && refused "$d/5" "^usage: " &&
        untouched "$d/5" && refused "$d/6" "^grant-input-access: $RULES is not a regular file" &&
        untouched "$d/6" && same "$d/6/inside" ""'
check "no modprobe: one line that names it" eval 'same "$d/7/log" "" &&
    same "$d/7/stderr" "grant-input-access: modprobe uinput failed: modprobe is not installed"'

finish
