#!/usr/bin/env bash
# Installs what the application needs, builds it, assembles the program folder and starts the
# application on its embedded database (under Xvfb when there is no display).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
folder=build/Bramblecot
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    exec xvfb-run -a "$folder/Bramblecot_Main" "$@"
fi
exec "$folder/Bramblecot_Main" "$@"
