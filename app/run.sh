#!/usr/bin/env bash
# make run: draws every template of a private copy of the program folder to a
# PNG file and prints where they are.
set -euo pipefail
build="${1:-build}"
run="$build/run"
mkdir -p "$run/pages"
# Templates, pictures and databases follow the shipped folder; the text
# store keeps the versions a user saved in earlier runs.
(cd "$build/data" && tar cf - --exclude=./templates/textdata.txt --exclude=./templates/tmpdata.txt .) \
  | (cd "$run" && tar xf -)
cp -n "$build/data/templates/textdata.txt" "$run/templates/textdata.txt"
echo "Program folder: $run"
for ini in "$run"/templates/*.ini; do
  name="$(basename "$ini" .ini)"
  out="$run/pages/$name.png"
  "$build/app/nuvela-render" --program-dir "$run" --template "$name" -o "$out"
  echo "$out"
done
