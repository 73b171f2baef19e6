#!/usr/bin/env bash
# Installs the packages the application lacks, builds the two programs and their program folder (not the
# tests or benchmarks), and starts the application through its loader, which installs pending
# updates and then starts Bramblecot_Main on its embedded database. Without a display the programs
# run on a virtual display (Xvfb): nothing is seen, and the run ends when the main program ends.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh --target Bramblecot_Main --target Bramblecot_Start --target program_folder
folder=$(cd build/Bramblecot && pwd -P)
# Qt wants a private runtime folder; a session without one gets one in the build folder (kept, as
# the main program outlives the loader that this script starts).
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    export XDG_RUNTIME_DIR="$PWD/build/runtime"
    mkdir -p "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
fi
# BRAMBLECOT_SAMPLE_DATA=1 fills the embedded database with sample reference rows first.
if [ -n "${BRAMBLECOT_SAMPLE_DATA:-}" ]; then
    "$folder/Bramblecot_Main" --load-sample-data Bramblecot.db
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    # The loader ends as soon as it has started the main program; the virtual display must stay
    # until the main program ends too.
    exec xvfb-run -a bash -c '"$1/Bramblecot_Start" || exit
        while pgrep -x -f "$1/Bramblecot_Main" >/dev/null; do sleep 1; done' run "$folder"
fi
exec "$folder/Bramblecot_Start"
