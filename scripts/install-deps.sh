#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Bramblecot need. Only the packages
# that are not installed yet are fetched: when every one is there, neither root nor the network is
# needed.
set -euo pipefail
packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-psql libgl-dev
    libsqlite3-dev libpq-dev libsodium-dev libcurl4-openssl-dev python3 procps libgtest-dev libgmock-dev googletest
    postgresql-15 postgresql-client-15
    libzint-dev zbar-tools
    libxlsxwriter-dev poppler-utils unzip
    xvfb xauth fonts-dejavu-core
    qt6-webengine-dev
    clang libclang-rt-14-dev
)
missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    [ "$status" = installed ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends "${missing[@]}"
