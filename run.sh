#!/usr/bin/env bash
# Sets up a Debian machine (packages, build) and starts LirraCal.
set -euo pipefail
cd "$(dirname "$0")"
. tools/deps.sh

lirra_install_packages "${LIRRA_BUILD_PACKAGES[@]}"
# The build tool shows only its progress lines: a newcomer is told what the wait is for.
if [ ! -x build/app/LirraCal ]; then
  echo "First build: the whole program is compiled once, which takes several minutes." \
       "Later starts rebuild only what changed."
fi
lirra_build build -DLIRRA_BUILD_TESTS=OFF -DLIRRA_BUILD_BENCH=OFF
echo "Build done."

# LirraCal runs on X11; a Wayland session normally offers it through Xwayland.
if [ -z "${DISPLAY:-}" ]; then
  echo "LirraCal needs an X11 display, and DISPLAY is not set. It is built in ./build;" \
       "start ./run.sh from a desktop session (or under xvfb-run)." >&2
  exit 1
fi

export LIRRACAL_HOME="${LIRRACAL_HOME:-${XDG_DATA_HOME:-$HOME/.local/share}/LirraCal}"
mkdir -p "$LIRRACAL_HOME" 2>/dev/null || true
if [ ! -d "$LIRRACAL_HOME" ] || [ ! -w "$LIRRACAL_HOME" ]; then
  echo "warning: LIRRACAL_HOME ($LIRRACAL_HOME) is not a writable folder: nothing LirraCal keeps there" \
       "(window positions, the local database) can be saved." >&2
else
  # The shipped templates that the report folder lacks; a copy there (perhaps edited) is kept.
  mkdir -p "$LIRRACAL_HOME/LirraCal_Report"
  if [ -d data/LirraCal_Report ]; then
    cp -n data/LirraCal_Report/* "$LIRRACAL_HOME/LirraCal_Report/" 2>/dev/null || true
  fi
  # The report library's help file belongs to the program: it is always brought up to date.
  if [ -f build/app/KVUser.chm ]; then
    cp -f build/app/KVUser.chm "$LIRRACAL_HOME/" 2>/dev/null || true
  fi
fi
export FONTCONFIG_FILE="$PWD/fonts/fonts.conf"
export QT_QPA_PLATFORM=xcb
echo "Starting LirraCal."
exec ./build/app/LirraCal "$@"
