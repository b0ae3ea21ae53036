#!/usr/bin/env bash
# Installs the Debian packages LirraCal needs to build, run and test, skipping
# those already installed, and builds. Sourced by run.sh and test.sh.
set -euo pipefail

LIRRA_BUILD_PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config clang-14 libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools libqt6sql6-ibase libgl-dev
  libfbclient2 firebird-dev firebird3.0-server-core firebird3.0-utils
  zlib1g-dev libjpeg-dev libpng-dev libfontconfig-dev libfreetype-dev libharfbuzz-dev
  fonts-liberation2 fonts-wine fonts-dejavu-core fontconfig qt6-translations-l10n
  libcups2-dev
  # the report library's help file is compiled with chmcmd
  fp-utils
)
LIRRA_TEST_PACKAGES=(
  libgtest-dev libgmock-dev libbenchmark-dev liblua5.4-dev qt6-declarative-dev libpugixml-dev libxml2-dev
  qpdf poppler-utils python3 python3-openpyxl python3-fonttools libharfbuzz-bin xvfb xauth openbox xdotool
  firebird3.0-server
  # independent checkers of the export files: archives, pictures, ciphers, metafiles
  unzip zip python3-pil imagemagick openssl libreoffice-draw-nogui
  python3-docx libreoffice-writer-nogui
  # a private print scheduler and a PDF queue for the printing tests
  cups cups-client printer-driver-cups-pdf
  # spreadsheets: LibreOffice's CSV conversion for the slow test, the peer of the benchmark
  libreoffice-calc-nogui libxlsxwriter-dev
  # the in-process MD5 peer of the export benchmark
  libssl-dev
)

# Parallel jobs for building and testing; LIRRA_JOBS overrides.
LIRRA_JOBS="${LIRRA_JOBS:-$(nproc 2>/dev/null || echo 2)}"

lirra_die() {
  echo "error: $*" >&2
  exit 1
}

lirra_sudo() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "$@"
  else
    lirra_die "installing packages needs root: run as root or install sudo"
  fi
}

lirra_installed() {
  local st
  st="$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null || true)"
  [ "$st" = "install ok installed" ]
}

lirra_install_packages() {
  command -v dpkg-query >/dev/null 2>&1 && command -v apt-get >/dev/null 2>&1 \
    || lirra_die "this set-up needs a Debian 12 system (dpkg and apt-get)"
  local missing=() p
  for p in "$@"; do
    lirra_installed "$p" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  # The Firebird and CUPS server packages must not start their system services: tests run
  # their own.
  local policy=/usr/sbin/policy-rc.d created_policy=0
  if [ ! -e "$policy" ]; then
    printf '#!/bin/sh\nexit 101\n' | lirra_sudo tee "$policy" >/dev/null
    lirra_sudo chmod +x "$policy"
    created_policy=1
  fi
  local rc=0
  { lirra_sudo apt-get update -qq \
      && lirra_sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"; } \
    || rc=$?
  [ $created_policy = 1 ] && lirra_sudo rm -f "$policy"
  [ $rc -eq 0 ] || lirra_die "could not install: ${missing[*]}"
  return 0
}

# Configure (once) and build into $1 with extra CMake arguments after it. A second
# run only rebuilds what changed.
lirra_build() {
  local dir="$1"; shift
  local root
  root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$root" -B "$dir" -G Ninja "$@"
  fi
  cmake --build "$dir" -j "$LIRRA_JOBS"
}
