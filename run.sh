#!/usr/bin/env bash
# Sets up a Debian machine (packages, build, embedded database) and starts LirraCal.
set -euo pipefail
cd "$(dirname "$0")"
. tools/deps.sh

lirra_install_packages "${LIRRA_BUILD_PACKAGES[@]}"
lirra_build build -DLIRRA_BUILD_TESTS=OFF -DLIRRA_BUILD_BENCH=OFF

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "LirraCal needs a graphical display: no DISPLAY is set. Built in ./build; run it from a desktop session." >&2
  exit 1
fi

export LIRRACAL_HOME="${LIRRACAL_HOME:-${XDG_DATA_HOME:-$HOME/.local/share}/LirraCal}"
mkdir -p "$LIRRACAL_HOME"
[ -d "$LIRRACAL_HOME/LirraCal_Report" ] || cp -r data/LirraCal_Report "$LIRRACAL_HOME/" 2>/dev/null || mkdir -p "$LIRRACAL_HOME/LirraCal_Report"
export FONTCONFIG_FILE="$PWD/fonts/fonts.conf"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-xcb}"
exec ./build/app/LirraCal "$@"
