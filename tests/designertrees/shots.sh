#!/usr/bin/env bash
# Screenshots of the trees, a band pasted into a second report, the File menu with its recent
# files and a replace confirmation, taken by the trees demo on a throw-away desktop (the runner
# named by LIRRA_DESKTOP, which adds a window manager; else xvfb-run). Keeps them in OUT_DIR.
#   tests/designertrees/shots.sh BUILD_DIR [OUT_DIR]
set -euo pipefail
build=${1:?build folder}
out=$(realpath -m "${2:-shots}")
mkdir -p "$out"
here=$(cd "$(dirname "$0")/../.." && pwd)
export FONTCONFIG_FILE="$here/fonts/fonts.conf"
run=(env QT_QPA_PLATFORM=xcb "$build/tests/designertrees/trees_demo" "$here/data/LirraCal_Report/Elenco eventi.kv3" "$out")
if [ -n "${LIRRA_DESKTOP:-}" ]; then
  "$LIRRA_DESKTOP" run "${run[@]}"
else
  xvfb-run -a -s "-screen 0 1600x1000x24" "${run[@]}"
fi
ls -l "$out"
