#!/usr/bin/env bash
# Screenshots of the main window, the output window and the picture editor,
# in Hebrew and in English, on a virtual display of SCREEN (default 1280x1024).
#   app/screenshots.sh [BUILD-DIR] [OUTPUT-DIR] [TEMPLATE]
set -euo pipefail
build="${1:-build}"
out="${2:-$build/screenshots}"
# Absolute, since the program makes its own folder the current one.
mkdir -p "$out" && out="$(cd "$out" && pwd)"
template="${3:-birthday}"
screen="${SCREEN:-1280x1024}"
xvfb-run -a -s "-screen 0 ${screen}x24" \
  "$build/app/nuvela-screenshots" "$(cd "$build" && pwd)/data" "$out" "$template"
ls "$out"/*.png
