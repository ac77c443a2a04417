#!/usr/bin/env bash
# Installs the Debian 12 packages the player, its server, the tests and the benchmarks need.
# Does nothing when all are present; otherwise runs apt-get (as root, or through sudo).
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config clang clang-format
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-base-dev-tools qt6-webengine-dev libqt6webenginecore6-bin libgl-dev
    libcurl4-openssl-dev libcpp-httplib-dev libpugixml-dev libsqlite3-dev libxapian-dev
    libmicrohttpd-dev
    ffmpeg wrk curl slowhttptest xvfb xauth fonts-nanum dbus
    dpkg-dev file desktop-file-utils
    lintian help2man libsystemd-dev systemd at-spi2-core python3-pyatspi
    mpv vlc-bin vlc-plugin-base libmpv-dev
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
