#!/usr/bin/env bash
# run.sh BUILD_DIR SECONDS: runs every fuzz target for SECONDS, seeded with
# the shipped files; the corpus grows in BUILD_DIR/fuzz-corpus between runs.
# A crasher is left in BUILD_DIR/fuzz-crashes/TARGET/ and fails the run: keep
# it under tests/fuzz/regressions/TARGET/ once the fault is mended.
set -uo pipefail
build=$1
seconds=$2
src=$(cd "$(dirname "$0")/../.." && pwd)
data=$src/data
declare -A seeds=(
  [ini]="$data/templates $data/language"
  [page]="$data/templates"
  [picture]="$data/temppic $src/app/imgdb/pictures"
  [language]="$data/language"
  [table]="$data/templates"
)
status=0
for t in ini page picture language table; do
  corpus=$build/fuzz-corpus/$t
  crashes=$build/fuzz-crashes/$t
  mkdir -p "$corpus" "$crashes"
  # shellcheck disable=SC2086
  QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
    "$build/tests/fuzz/fuzz-$t" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$crashes/" "$corpus" ${seeds[$t]} $src/tests/fuzz/regressions/$t \
    > "$build/fuzz-$t.log" 2>&1
  rc=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$build/fuzz-$t.log" | grep -o '[0-9]*$')
  if [ $rc -ne 0 ]; then
    status=1
    echo "fuzz-$t: FAILED after ${runs:-?} runs; crasher in $crashes/ (log: $build/fuzz-$t.log)"
    grep -m3 -E 'ERROR|SUMMARY' "$build/fuzz-$t.log"
  else
    echo "fuzz-$t: ${runs:-?} runs in ${seconds}s, no crash"
  fi
done
exit $status
