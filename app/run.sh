#!/usr/bin/env bash
# make run: draws every template of a private copy of the program folder to a
# PNG file and prints where they are.
set -euo pipefail
build="${1:-build}"
run="$build/run"
mkdir -p "$run/pages"
# Copy what is new; keep what a user changed in earlier runs.
cp -rn "$build/data/." "$run/"
echo "Program folder: $run"
for ini in "$run"/templates/*.ini; do
  name="$(basename "$ini" .ini)"
  out="$run/pages/$name.png"
  "$build/app/nuvela-render" --program-dir "$run" --template "$name" -o "$out"
  echo "$out"
done
