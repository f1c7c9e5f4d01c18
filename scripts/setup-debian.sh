#!/usr/bin/env bash
# Installs what building, running and testing the onboarding needs on Debian 12.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 qt6-tools-dev qt6-tools-dev-tools
    qt6-l10n-tools qt6-qpa-plugins qt6-image-formats-plugins libgl-dev
    bootstrap-icons fonts-inter fonts-noto-color-emoji
    dbus dbus-bin libdbus-1-dev libxcb1-dev desktop-file-utils libglib2.0-bin xvfb xauth xdotool xclip bc util-linux faketime
    python3 clang libclang-rt-14-dev
    qt6-wayland weston appstream libxml2-utils dpkg-dev fakeroot file lintian x11-utils
    valgrind xdg-desktop-portal python3-dbus orca at-spi2-core python3-gi
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
