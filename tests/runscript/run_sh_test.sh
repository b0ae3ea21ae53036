#!/usr/bin/env bash
# ./run.sh tells a newcomer, once and before building, that the first build takes several
# minutes, and says when the build is done and the program starts. Package installation
# and the build are stood in for: run.sh runs from a copy whose tools/deps.sh fakes them.
set -euo pipefail
src="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$src/run.sh" "$work/"
mkdir -p "$work/tools" "$work/home"
cat > "$work/tools/deps.sh" <<'DEPS'
LIRRA_BUILD_PACKAGES=()
lirra_install_packages() { :; }
# The build prints a progress line and leaves a program that says it started.
lirra_build() {
  echo "[1/1] building"
  mkdir -p "$1/app"
  printf '#!/bin/sh\necho "program started"\n' > "$1/app/LirraCal"
  chmod +x "$1/app/LirraCal"
}
DEPS

fail() { echo "FAIL: $*"; echo "--- output:"; echo "$out"; exit 1; }
run() { DISPLAY=:99 LIRRACAL_HOME="$work/home" bash "$work/run.sh" 2>&1; }

out="$(run)"
lines="$(printf '%s\n' "$out" | grep -n . )"
first="$(printf '%s\n' "$lines" | grep -m1 'First build' | cut -d: -f1 || true)"
build="$(printf '%s\n' "$lines" | grep -m1 'building' | cut -d: -f1)"
done_="$(printf '%s\n' "$lines" | grep -m1 'Build done' | cut -d: -f1 || true)"
start="$(printf '%s\n' "$lines" | grep -m1 'Starting LirraCal' | cut -d: -f1 || true)"
prog="$(printf '%s\n' "$lines" | grep -m1 'program started' | cut -d: -f1)"
[ -n "$first" ] || fail "no word that the first build takes several minutes"
[ "$(printf '%s\n' "$out" | grep -c 'several minutes')" = 1 ] || fail "the first-build note is not said once"
[ "$first" -lt "$build" ] || fail "the first-build note comes after the build started"
[ -n "$done_" ] && [ "$done_" -gt "$build" ] || fail "no word that the build is done, after it"
[ -n "$start" ] && [ "$start" -gt "$done_" ] && [ "$start" -lt "$prog" ] || fail "no word that the program starts, before it does"

# Once built, a start says nothing about a long first build.
out="$(run)"
printf '%s\n' "$out" | grep -q 'several minutes' && fail "the first-build note is said again once built"
printf '%s\n' "$out" | grep -q 'Starting LirraCal' || fail "no word that the program starts on a later run"
echo "ok"
