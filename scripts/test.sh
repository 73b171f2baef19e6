#!/usr/bin/env bash
# Installs what the tests need, builds with warnings as errors, starts a throwaway PostgreSQL
# cluster and runs the whole test suite on both engines.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh -DBRAMBLECOT_WERROR=ON
# shellcheck source=pg-cluster.sh
source scripts/pg-cluster.sh start
trap 'bash scripts/pg-cluster.sh stop "$BRAMBLECOT_PG_BASE" "$BRAMBLECOT_PG_OWNER"' EXIT
export BRAMBLECOT_REQUIRE_PG=1 QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure --timeout 300 -j "$(nproc)"
