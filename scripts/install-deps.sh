#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Bramblecot needs.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends \
    build-essential cmake ninja-build pkg-config \
    qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-psql libgl-dev \
    libsqlite3-dev libpq-dev libsodium-dev libcurl4-openssl-dev python3 procps libgtest-dev libgmock-dev googletest \
    postgresql-15 postgresql-client-15 \
    libzint-dev zbar-tools \
    libxlsxwriter-dev poppler-utils unzip \
    xvfb xauth fonts-dejavu-core \
    qt6-webengine-dev \
    clang libclang-rt-14-dev
