#!/bin/sh
# Whole processes, CPU time, side by side (see measure.py):
#   a page at 96 dpi to JPEG against a bare Qt start on the same platform,
#   a page at 300 dpi to JPEG against cjpeg encoding that page.
# Usage: bench/startup/run.sh [BUILD] [ROUNDS]
set -eu
build=${1:-build}
rounds=${2:-9}
here=$(dirname "$0")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
render="$build/app/nuvela-render --template family-times"
$render --scale 3.125 -o "$tmp/page.png"
pngtopnm "$tmp/page.png" >"$tmp/page.ppm"
"$here/measure.py" --rounds "$rounds" \
  "bare Qt start=$build/bench/nuvela-bare-start" \
  "page 96 dpi JPEG=$render -o $tmp/p96.jpg"
"$here/measure.py" --rounds "$rounds" --runs 3 \
  "cjpeg 300 dpi=cjpeg -quality 75 -outfile $tmp/c.jpg $tmp/page.ppm" \
  "page 300 dpi JPEG=$render --scale 3.125 -o $tmp/p300.jpg"
