#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the screen scripts need, when missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang-14 libclang-rt-14-dev
    xvfb xauth xdotool x11-apps imagemagick fonts-dejavu-core
    # installing and packaging: icons, validators, file types, the Debian package
    librsvg2-bin desktop-file-utils appstream shared-mime-info libglib2.0-bin xdg-utils
    dpkg-dev lintian
    # SHA-256 for kxt info (libcrypto; the tools only)
    libssl-dev
    # the accessibility walk: a session bus, the accessibility bus and a small client
    dbus at-spi2-core python3-dbus
    # the keyboard-only exam under a window manager
    openbox x11-utils
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
