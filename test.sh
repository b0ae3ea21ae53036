#!/usr/bin/env bash
# Sets up a Debian machine and runs LirraCal's whole test suite through CTest.
set -euo pipefail
cd "$(dirname "$0")"
. tools/deps.sh

lirra_install_packages "${LIRRA_BUILD_PACKAGES[@]}" "${LIRRA_TEST_PACKAGES[@]}"
lirra_build build-tests -DLIRRA_BUILD_TESTS=ON -DLIRRA_BUILD_BENCH=ON

cd build-tests
ctest --output-on-failure -j "$(nproc)" "$@"
