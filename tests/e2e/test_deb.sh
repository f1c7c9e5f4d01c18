#!/usr/bin/env bash
# `cpack -G DEB` gives one .deb: fields naming what the programs need, accepted by lintian,
# valid entries, polkit action and AppStream data, programs that find their media anywhere.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
need cpack dpkg-deb dpkg-shlibdeps

build="$(cd "$BIN/.." && pwd)"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
out="$WORK/out"
deb="$out/marten-onboarding_${version}_$(dpkg --print-architecture).deb"
(cd "$build" && timeout -k 10 120 cpack -G DEB -B "$out") > "$WORK/cpack.log" 2>&1
[ "$(ls "$out"/*.deb 2> /dev/null)" = "$deb" ] ||
    { fail "one package named ${deb##*/}" "$(ls "$out")" "$(tail -5 "$WORK/cpack.log")"; finish; exit 1; }

# relation FIELD PACKAGE...: the field names every PACKAGE (versions and alternatives aside).
relation() {
    local names p && names="$(dpkg-deb -f "$deb" "$1" | tr ',|' '\n' | sed 's/(.*)//; s/ //g')"
    for p in "${@:2}"; do grep -qx -- "$p" <<< "$names" || { echo "no $p in: $names"; return 1; }; done
}
# Qt's libraries come from dpkg-shlibdeps.
check "Depends names the libraries and fonts" relation Depends libqt6core6 libqt6gui6 \
    libqt6widgets6 libqt6svg6 libqt6dbus6 fonts-inter fonts-noto-color-emoji
check "Recommends names qt6-wayland and pkexec" relation Recommends qt6-wayland pkexec

root="$WORK/root"
dpkg-deb -x "$deb" "$root"
entry_sound() { # ENTRY: valid, no arguments, its program and icon in the package
    local exe icon
    exe="$(sed -n 's/^Exec=//p' "$1")" icon="$(sed -n 's/^Icon=//p' "$1")"
    echo "Exec=$exe Icon=$icon"
    desktop-file-validate "$1" && [[ "$exe" != *" "* ]] && [ -x "$root/usr/bin/$exe" ] &&
        compgen -G "$root/usr/share/icons/hicolor/*/apps/$icon.*"
}
for entry in com.marten.Onboarding com.marten.OnboardingSimple; do
    check "$entry.desktop: valid, no arguments, program and icon packaged" \
        entry_sound "$root/usr/share/applications/$entry.desktop"
done
# pkexec runs only the polkit action's absolute exec.path: the packaged helper.
policy_sound() {
    local p="$root/usr/share/polkit-1/actions/com.marten.onboarding.policy" exe
    local dtd=/usr/share/polkit-1/policyconfig-1.dtd
    exe="$(xmllint --xpath 'string(//annotate[@key="org.freedesktop.policykit.exec.path"])' "$p")"
    echo "exec.path '$exe'"
    xmllint --noout $([ -f "$dtd" ] && echo --dtdvalid "$dtd") "$p" && [[ "$exe" == /usr/* ]] && [ -x "$root$exe" ]
}
command -v xmllint > /dev/null && check "polkit action: valid, runs the packaged helper" policy_sound
command -v appstreamcli > /dev/null && check "AppStream data validates against the unpacked tree" \
    eval 'compgen -G "$root/usr/share/metainfo/*.metainfo.xml" && appstreamcli validate-tree --no-net "$root"'

# An override would ship as usr/share/lintian/overrides/marten-onboarding, with its reason.
command -v lintian > /dev/null &&
    check "lintian finds no error or warning" timeout -k 5 300 lintian --fail-on error,warning "$deb"

# Installed and purged over throw-away /usr, /etc and /var: nothing of it or the helper's is left.
if [ "$(id -u)" = 0 ] && unshare -m --propagation private true 2> /dev/null; then
    check "dpkg -i then dpkg --purge leaves no file of the package or its helper" \
        unshare -m --propagation private bash -c '
        mkdir -p "$1" && mount -t tmpfs layers "$1" || exit 1
        for d in usr etc var; do
            mkdir -p "$1/$d/upper" "$1/$d/work"
            mount -t overlay "$d" -o "lowerdir=/$d,upperdir=$1/$d/upper,workdir=$1/$d/work" "/$d" || exit 1
        done
        dpkg --force-depends -i "$2" > "$1/install.log" 2>&1 || { cat "$1/install.log"; exit 1; }
        granted="/etc/udev/rules.d/70-marten-input-access.rules /etc/modules-load.d/marten-uinput.conf"
        for f in $granted; do install -D /dev/null "$f"; done # what "Grant Access" leaves in /etc
        dpkg --purge marten-onboarding > "$1/purge.log" 2>&1 || { cat "$1/purge.log"; exit 1; }
        ! dpkg -s marten-onboarding > /dev/null 2>&1 || { echo "still known to dpkg"; exit 1; }
        ! ls -d $(dpkg-deb -c "$2" | awk "{ print \$NF }" | sed "s|^\./|/|" | grep -v "/$") $granted 2> /dev/null | grep .
    ' ns "$WORK/layers" "$deb"
else
    echo "SKIP: installing for real needs root and a private mount namespace"
fi

mkdir -p "$WORK/elsewhere" && cd "$WORK/elsewhere" || exit 1
for program in MartenOnboarding MartenOnboarding_Simple; do
    h="$(new_home "media-$program")"
    run_until "$h" "GIF found at: " in_home "$h" "$root/usr/bin/$program"
    check "unpacked $program shows its animation from the package" \
        grep -x "GIF found at: $root/usr/bin/../share/marten-onboarding/glowy.gif" "$h/out"
done

finish
