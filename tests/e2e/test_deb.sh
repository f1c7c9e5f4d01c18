#!/usr/bin/env bash
# `cpack -G DEB` in the build folder gives one .deb whose control fields name what the
# programs need, whose files all live under /usr, whose desktop entries and AppStream data
# validate, and whose programs, unpacked anywhere, find their media and run to the end.
set -uo pipefail
source "$(dirname "$0")/lib.sh"

for tool in cpack dpkg-deb dpkg-shlibdeps; do
    if ! command -v "$tool" > /dev/null; then
        echo "SKIP: $tool is not installed"
        exit 0
    fi
done

build="$(cd "$BIN/.." && pwd)"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
arch="$(dpkg --print-architecture)"
out="$WORK/out"

# --- Making the package -----------------------------------------------------------------
if ! (cd "$build" && timeout 120 cpack -G DEB -B "$out") > "$WORK/cpack.log" 2>&1; then
    fail "cpack -G DEB" "$(tail -5 "$WORK/cpack.log")"
    finish
    exit 1
fi
# The default Debian name is built from the Package, Version and Architecture fields.
debs=("$out"/*.deb)
deb="$out/marten-onboarding_${version}_${arch}.deb"
if [ "${#debs[@]}" -eq 1 ] && [ "${debs[0]}" = "$deb" ]; then
    pass "one package, named ${deb##*/}"
else
    fail "one package named ${deb##*/}" "got: ${debs[*]##*/}"
    finish
    exit 1
fi

# --- Control fields -----------------------------------------------------------------------
# field_names FIELD: the package names a relation field lists, one a line, versions dropped.
field_names() {
    dpkg-deb -f "$deb" "$1" | tr ',|' '\n' | sed 's/(.*)//; s/^ *//; s/ *$//' | grep -v '^$'
}
check_relation() { # FIELD PACKAGE...
    local field="$1" names missing=()
    shift
    names="$(field_names "$field")"
    for p in "$@"; do
        grep -qx -- "$p" <<< "$names" || missing+=("$p")
    done
    if [ "${#missing[@]}" -eq 0 ]; then
        pass "$field names $*"
    else
        fail "$field names ${missing[*]}" "$field: $(dpkg-deb -f "$deb" "$field")"
    fi
}
# The Qt libraries come from dpkg-shlibdeps, so a missing one means shlibdeps did not run.
check_relation Depends libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 libqt6dbus6 \
    fonts-inter fonts-noto-color-emoji
check_relation Recommends qt6-wayland pkexec

# Everything under /usr, whatever prefix the build tree was configured with; the checks
# below look there, so they stop here otherwise.
paths="$(dpkg-deb -c "$deb" | awk '{ print $NF }')"
misplaced="$(grep -v -e '^\./$' -e '^\./usr/' <<< "$paths"; grep '^\./usr/local/' <<< "$paths")"
if [ -z "$misplaced" ]; then
    pass "every file installs under /usr"
else
    mapfile -t misplaced_lines <<< "$misplaced"
    fail "every file installs under /usr" "${misplaced_lines[@]:0:5}"
    finish
    exit 1
fi

# --- Unpacked contents --------------------------------------------------------------------
root="$WORK/root"
dpkg-deb -x "$deb" "$root"
# A path worked out at configure time (a policy naming its helper, say) would point into the
# build's own prefix, not /usr where the package puts everything.
build_prefix="$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")"
if [ -n "$build_prefix" ] && [ "$build_prefix" != /usr ]; then
    mentions="$(grep -rlF -- "${build_prefix%/}/" "$root")"
    if [ -z "$mentions" ]; then
        pass "no packaged file refers to the build's prefix $build_prefix"
    else
        fail "no packaged file refers to the build's prefix $build_prefix" "$mentions"
    fi
fi
apps="$root/usr/share/applications"
if desktop-file-validate "$apps"/*.desktop; then
    pass "desktop entries validate"
else
    fail "desktop entries validate"
fi
# Each entry's program and icon are in the package itself.
for entry in "$apps"/*.desktop; do
    exe="$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")"
    icon="$(sed -n 's/^Icon=//p' "$entry")"
    if [ -x "$root/usr/bin/$exe" ] &&
        compgen -G "$root/usr/share/icons/hicolor/*/apps/$icon.*" > /dev/null; then
        pass "${entry##*/}: program and icon are in the package"
    else
        fail "${entry##*/}: program and icon are in the package" "Exec=$exe Icon=$icon"
    fi
done
if ! command -v appstreamcli > /dev/null; then
    echo "SKIP: AppStream data (appstreamcli is not installed)"
elif ! compgen -G "$root/usr/share/metainfo/*.metainfo.xml" > /dev/null; then
    fail "AppStream data is in the package"
elif appstreamcli validate-tree --no-net "$root" > "$WORK/appstream.log" 2>&1; then
    # validate-tree also checks that the launchable desktop entry is in the same tree.
    pass "AppStream data validates against the unpacked tree"
else
    fail "AppStream data validates against the unpacked tree" "$(cat "$WORK/appstream.log")"
fi

# --- Running the unpacked programs ----------------------------------------------------------
# From an unrelated folder: the build tree is of no help to them.
mkdir -p "$WORK/elsewhere"
media="$root/usr/bin/../share/marten-onboarding"

shows_media() { # PROGRAM
    local h job
    h="$(new_home "media-$1")"
    # The shell writes its pid and becomes the program, so exactly that process is ended.
    (cd "$WORK/elsewhere" &&
        in_home "$h" timeout -s TERM 15 sh -c 'echo $$ > "$0"; exec "$1"' "$h/pid" \
            "$root/usr/bin/$1" > "$h/out" 2> "$h/err") &
    job=$!
    wait_for_line "$h/out" "GIF found at: " 100
    [ -s "$h/pid" ] && kill "$(cat "$h/pid")" 2> /dev/null
    wait "$job" 2> /dev/null
    if grep -qx "GIF found at: $media/glowy.gif" "$h/out"; then
        pass "unpacked $1 shows its animation from the package"
    else
        fail "unpacked $1 shows its animation from the package" "$(cat "$h/out")"
    fi
}
shows_media MartenOnboarding
shows_media MartenOnboarding_Simple

# Signed in and subscribed: the full program finishes by itself and writes both flags.
h="$(new_home subscribed)"
printf '{"token":"abc","has_subscription":true}' > "$h/.marten_auth_local.json"
(cd "$WORK/elsewhere" &&
    PATH=/usr/bin:/bin in_home "$h" timeout 20 "$root/usr/bin/MartenOnboarding" > "$h/out" 2> "$h/err")
status=$?
conf="$h/config/Marten/Marten.conf"
if [ "$status" = 0 ] && grep -qx 'has_launched_before=true' "$conf" 2> /dev/null &&
    grep -qx 'ftue_completed=true' "$conf" &&
    tail -n1 "$h/out" | grep -qx 'MartenOnboarding main() completed'; then
    pass "unpacked MartenOnboarding completes for a subscribed user"
else
    fail "unpacked MartenOnboarding completes for a subscribed user" "status $status" \
        "$(cat "$h/out")" "$(cat "$conf" 2>&1)"
fi

finish
