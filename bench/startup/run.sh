#!/bin/sh
# Whole processes, CPU time, side by side (see measure.py):
#   a page at 96 dpi to JPEG against a bare Qt start on the same platform,
#   and against the least any page with text costs (one line, then JPEG),
#   a page at 300 dpi to JPEG against cjpeg encoding that page, read from a
#   PPM (cjpeg's fastest input, read a strip at a time) and from the BMP that
#   nuvela-render writes (which cjpeg must hold whole, being bottom-up).
# Usage: bench/startup/run.sh [BUILD] [ROUNDS]
set -eu
build=$(cd "${1:-build}" && pwd) # absolute: the table names pictures by it
rounds=${2:-9}
here=$(dirname "$0")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
render="$build/app/nuvela-render --template family-times"
$render --scale 3.125 -o "$tmp/page.png"
pngtopnm "$tmp/page.png" >"$tmp/page.ppm"
$render --scale 3.125 -o "$tmp/page.bmp"
"$here/measure.py" --rounds "$rounds" \
  "bare Qt start=$build/bench/nuvela-bare-start" \
  "one line of text=$build/bench/nuvela-one-line $tmp/one.jpg" \
  "page 96 dpi JPEG=$render -o $tmp/p96.jpg"
"$here/measure.py" --rounds "$rounds" --runs 3 \
  "cjpeg 300 dpi=cjpeg -quality 75 -outfile $tmp/c.jpg $tmp/page.ppm" \
  "cjpeg 300 dpi from BMP=cjpeg -quality 75 -outfile $tmp/c.jpg $tmp/page.bmp" \
  "page 300 dpi JPEG=$render --scale 3.125 -o $tmp/p300.jpg"
# A class of 200 cards in one process: one worker against two (wall time;
# on a machine shared with other work the second core is not always free).
{
  echo "#name,txt5,pic7"
  i=0
  while [ $i -lt 200 ]; do
    echo "Guest $i,Happy Birthday $i!~From all of us,$build/data/temppic/sample_cat.jpg"
    i=$((i + 1))
  done
} >"$tmp/class.csv"
merge="$build/app/nuvela-render --template family-times --merge $tmp/class.csv --quiet"
"$here/measure.py" --rounds "$rounds" --runs 1 --wall \
  "merge 1 worker=$merge --jobs 1 -o $tmp/cards/{row}.jpg" \
  "merge 2 workers=$merge --jobs 2 -o $tmp/cards/{row}.jpg"
