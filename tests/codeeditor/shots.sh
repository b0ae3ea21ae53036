#!/usr/bin/env bash
# Pictures of the script editor's colouring in each language and in SQL, taken on a throw-away
# X display (xvfb-run; or the desktop runner named by LIRRA_DESKTOP, which adds a window
# manager), kept in OUT_DIR.
#   tests/codeeditor/shots.sh BUILD_DIR [OUT_DIR]
set -euo pipefail
build=${1:?build folder}
out=$(realpath -m "${2:-shots}")
mkdir -p "$out"
here=$(cd "$(dirname "$0")/../.." && pwd)
export FONTCONFIG_FILE="$here/fonts/fonts.conf"
run=(env QT_QPA_PLATFORM=xcb "$build/tests/codeeditor/codeeditor_demo" --shots "$out")
if [ -n "${LIRRA_DESKTOP:-}" ]; then
  "$LIRRA_DESKTOP" run "${run[@]}"
else
  xvfb-run -a -s "-screen 0 1600x1000x24" "${run[@]}"
fi
ls -l "$out"
