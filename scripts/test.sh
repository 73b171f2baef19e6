#!/usr/bin/env bash
# Installs what the tests need, builds with warnings as errors, starts a throwaway PostgreSQL
# cluster and runs the whole test suite on both engines: each test program whole and shuffled, the
# fuzz corpus and every bench at its tiny size. `ctest --test-dir build -L case -R NAME` runs one case
# alone.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh -DBRAMBLECOT_WERROR=ON
# shellcheck source=pg-cluster.sh
source scripts/pg-cluster.sh start
trap 'bash scripts/pg-cluster.sh stop "$BRAMBLECOT_PG_BASE" "$BRAMBLECOT_PG_OWNER"' EXIT
export BRAMBLECOT_REQUIRE_PG=1 QT_QPA_PLATFORM=offscreen
# Each test program runs whole, its tests shuffled: the seed is printed so that a failing order can
# be run again (GTEST_RANDOM_SEED=N bash scripts/test.sh). Only failures are printed in full.
export GTEST_SHUFFLE=1 GTEST_BRIEF=1 GTEST_RANDOM_SEED="${GTEST_RANDOM_SEED:-$(( RANDOM % 99999 + 1 ))}"
echo "Test programs run whole, shuffled with seed $GTEST_RANDOM_SEED"
ctest --test-dir build --output-on-failure --timeout 300 -j "$(nproc)" --label-exclude case
