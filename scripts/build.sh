#!/usr/bin/env bash
# Configures and builds into build/ (Release with debug info). "--target NAME" arguments choose what
# is built (everything when none is given); the other arguments go to the CMake configuration.
set -euo pipefail
cd "$(dirname "$0")/.."
configure=()
targets=()
while [ $# -gt 0 ]; do
    case "$1" in
        --target) targets+=(--target "$2"); shift 2 ;;
        *) configure+=("$1"); shift ;;
    esac
done
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${configure[@]}"
cmake --build build --parallel "$(nproc)" "${targets[@]}"
