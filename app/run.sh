#!/usr/bin/env bash
# make run: starts Nuvela on a private copy of the program folder under the
# build folder, so running never changes the tracked files.
set -euo pipefail
build="${1:-build}"
run="$build/run"
mkdir -p "$run"
# Templates, pictures and databases follow the shipped folder; the text
# store keeps the versions a user saved in earlier runs.
(cd "$build/data" && tar cf - --exclude=./templates/textdata.txt --exclude=./templates/tmpdata.txt .) \
  | (cd "$run" && tar xf -)
cp -n "$build/data/templates/textdata.txt" "$run/templates/textdata.txt"
echo "Program folder: $run"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "There is no display to show Nuvela on. On a server, try: xvfb-run -a $build/app/nuvela --program-dir $run" >&2
  echo "or draw the pages without a window: $build/app/nuvela-render --program-dir $run --template birthday -o page.png" >&2
  exit 1
fi
exec "$build/app/nuvela" --program-dir "$run"
