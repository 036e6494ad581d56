#!/usr/bin/env bash
# Runs the fuzzing harnesses of a built fuzz tree, one after the other, and
# prints one line per harness: executions, seconds, findings.
#   fuzz.sh TREE --seconds N   each harness N seconds; what it learns is kept
#                              in TREE/corpus/<harness>, what it finds in
#                              TREE/findings/<harness>/
#   fuzz.sh TREE --runs N      each harness over its seed corpus and N fresh
#                              inputs from a fixed seed, learning nothing (tests)
# Exits 1 when any harness found something.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
tree=$(cd "$1" && pwd); shift
mode=${1:---seconds}; amount=${2:-40}
[ "$mode" = --seconds ] || [ "$mode" = --runs ] || { echo "fuzz.sh: --seconds N or --runs N" >&2; exit 2; }

rc=0
for seeds in "$top"/fuzz/corpus/*/; do
  name=$(basename "$seeds")
  exe="$tree/$name"
  [ -x "$exe" ] || { echo "$name: not built"; rc=1; continue; }
  findings="$tree/findings/$name"
  mkdir -p "$findings"
  if [ "$mode" = --seconds ]; then
    work="$tree/corpus/$name"
    limits=(-max_total_time="$amount")
  else
    work=$(mktemp -d)
    limits=(-runs="$amount" -seed=1)
  fi
  mkdir -p "$work"
  log="$tree/$name.log"
  before=$(find "$findings" -type f | wc -l)
  status=0
  # A single input that runs 10 s is a finding too: an endless loop.
  "$exe" "${limits[@]}" -timeout=10 -print_final_stats=1 -artifact_prefix="$findings/" \
    "$work" "$seeds" >"$log" 2>&1 || status=$?
  [ "$mode" = --runs ] && rm -rf "$work"
  runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | grep -o '[0-9]*$' || true)
  [ -n "$runs" ] || runs=$(grep -o '^#[0-9]*' "$log" | tail -1 | tr -d '#')
  seconds=$(grep -o 'Done [0-9]* runs in [0-9]* second' "$log" | grep -o 'in [0-9]*' | grep -o '[0-9]*' || echo "?")
  found=$(( $(find "$findings" -type f | wc -l) - before ))
  if [ "$status" != 0 ] || [ "$found" -gt 0 ]; then
    rc=1
    echo "$name: ${runs:-?} executions, FINDING (exit $status): $(grep -m1 -E 'ERROR:|runtime error|SUMMARY' "$log" | cut -c1-200)"
    find "$findings" -type f -newer "$exe" | sed 's/^/    input: /'
    echo "    log: $log"
  else
    echo "$name: ${runs:-?} executions in ${seconds} s, no findings"
  fi
done
exit $rc
