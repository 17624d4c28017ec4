#!/usr/bin/env bash
# make run: renders every template of a private copy of the program folder.
set -euo pipefail
build="${1:-build}"
run="$build/run"
mkdir -p "$run"
# Copy what is new, keep what a user changed in earlier runs.
cp -rn "$build/data/." "$run/"
echo "Program folder: $run"
