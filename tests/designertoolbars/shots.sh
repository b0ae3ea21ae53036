#!/usr/bin/env bash
# Screenshots of the designer's tool bars and palette (report, data and dialog pages) and of the
# colour and line-style drop-downs, taken with the demo program on a throw-away X display
# (xvfb-run; or the desktop runner named by LIRRA_DESKTOP, which adds a window manager).
#   tests/designertoolbars/shots.sh BUILD_DIR [OUT_DIR]
set -euo pipefail
build=${1:?build folder}
out=$(realpath -m "${2:-shots}")
mkdir -p "$out"
here=$(cd "$(dirname "$0")/../.." && pwd)
export FONTCONFIG_FILE="$here/fonts/fonts.conf"
demo="$build/tests/designertoolbars/toolbars_demo"
shoot() {
  local name=$1; shift
  local run=(env QT_QPA_PLATFORM=xcb "$demo" "$@" --shot "$out/$name.png")
  if [ -n "${LIRRA_DESKTOP:-}" ]; then
    "$LIRRA_DESKTOP" run "${run[@]}"
  else
    xvfb-run -a -s "-screen 0 1600x1000x24" "${run[@]}"
  fi
}
for page in report data dialog; do shoot "toolbars-$page" --page "$page"; done
shoot picker-colors --colors
shoot picker-lines --lines
ls -l "$out"
