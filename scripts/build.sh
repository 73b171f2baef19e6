#!/usr/bin/env bash
# Configures and builds into build/ (Release with debug info). "--target NAME" arguments choose what
# is built (everything when none is given); the other arguments go to the CMake configuration.
# CMAKE_BUILD_PARALLEL_LEVEL sets how many compilers run at once (every core when unset). Only what
# changed since the last build is built again.
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
# A configured build folder re-configures itself when a CMake file changes; it is configured here
# only the first time or when configuration arguments are given.
if [ ! -f build/CMakeCache.txt ] || [ ! -f build/build.ninja ] || [ ${#configure[@]} -gt 0 ]; then
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${configure[@]}"
fi
cmake --build build --parallel "${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}" "${targets[@]}"
