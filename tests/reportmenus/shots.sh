#!/usr/bin/env bash
# Screenshots of the report menu and of both shipped templates in the preview window, taken on a
# throw-away X display (xvfb-run; or the desktop runner named by LIRRA_DESKTOP, which adds a
# window manager): runs the report-menu tests there and keeps the pictures in OUT_DIR.
#   tests/reportmenus/shots.sh BUILD_DIR [OUT_DIR]
set -euo pipefail
build=${1:?build folder}
out=$(realpath -m "${2:-shots}")
mkdir -p "$out"
here=$(cd "$(dirname "$0")/../.." && pwd)
export FONTCONFIG_FILE="$here/fonts/fonts.conf"
run=(env QT_QPA_PLATFORM=xcb LIRRA_SHOTS_DIR="$out" "$build/tests/reportmenus/test_reportmenus"
     --gtest_filter='ReportMenus.Events*')
if [ -n "${LIRRA_DESKTOP:-}" ]; then
  "$LIRRA_DESKTOP" run "${run[@]}"
else
  xvfb-run -a -s "-screen 0 1600x1000x24" "${run[@]}"
fi
ls -l "$out"
