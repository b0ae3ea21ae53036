#!/usr/bin/env bash
# Sets up a Debian machine and runs LirraCal's whole test suite through CTest.
# Extra arguments go to ctest (for example -R IniFile).
set -euo pipefail
cd "$(dirname "$0")"
. tools/deps.sh

lirra_install_packages "${LIRRA_BUILD_PACKAGES[@]}" "${LIRRA_TEST_PACKAGES[@]}"
# Under CI the compiler cache's figures are of this run alone.
if [ "${CI:-}" = true ] && command -v ccache >/dev/null 2>&1; then ccache -z >/dev/null; fi
lirra_build build-tests -DLIRRA_BUILD_TESTS=ON -DLIRRA_BUILD_BENCH=ON

ctest --test-dir build-tests --output-on-failure -j "$LIRRA_JOBS" "$@"

# Benchmarks are run by hand; CI only checks that they still build.
if [ "${CI:-}" = true ]; then
  cmake --build build-tests -j "$LIRRA_JOBS" --target benchmarks
  if command -v ccache >/dev/null 2>&1; then
    echo "Compiler cache for this run:"
    ccache -s | grep -iE 'hits|misses' || true
  fi
fi
