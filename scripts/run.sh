#!/usr/bin/env bash
# Installs what the application needs, builds it, assembles the program folder and starts the
# application through its loader, which installs pending updates and then starts Bramblecot_Main
# on its embedded database (under Xvfb when there is no display).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
folder=$(cd build/Bramblecot && pwd -P)
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
