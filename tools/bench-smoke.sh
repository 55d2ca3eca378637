#!/usr/bin/env bash
# Runs every benchmark of the typical data set once, briefly, to show that the benchmark program
# still builds, generates its data and measures without error. It asserts no timing.
#   tools/bench-smoke.sh [build folder]    (default: build/default)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/default}
bench=$build/bench/sacotin_bench
if [ ! -x "$bench" ]; then
  echo "bench-smoke: $bench is missing (configure with SACOTIN_BUILD_BENCH=ON and build)" >&2
  exit 1
fi

data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
out=$data/results.json
SACOTIN_BENCH_DATA=$data QT_QPA_PLATFORM=offscreen "$bench" \
  --benchmark_filter='Typical|EmptyWindow' --benchmark_min_time=0.01 \
  --benchmark_out="$out" --benchmark_out_format=json

# A benchmark that found wrong results (item counts, search hits) reports an error instead of a
# time; the run still exits 0, so look for it.
if grep -q '"error_occurred": true' "$out"; then
  echo "bench-smoke: a benchmark reported an error" >&2
  exit 1
fi
echo "bench-smoke: ok"
