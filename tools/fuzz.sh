#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/) with clang and runs each one for the given number of
# seconds (default 60), starting from its seed corpus in fuzz/corpus/ (the two user.reg targets
# share one). Fails as soon as a target crashes, hangs or leaks; the input that did it is kept in
# build/fuzz/artifacts/.
#
#   bash tools/fuzz.sh [seconds]
#   FUZZ_MERGE=1 bash tools/fuzz.sh 300   # also merges new, smaller inputs into the seed corpus
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
build=build/fuzz
# Each target and the seed corpus it starts from.
targets=(catalogue user_reg_parse user_reg_differential launcher_files)
corpus_of() { case $1 in user_reg_*) echo user_reg ;; *) echo "$1" ;; esac; }

bash tools/install-deps.sh clang libclang-rt-14-dev

CC=clang CXX=clang++ cmake -S fuzz -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build"

mkdir -p "$build/artifacts"
for target in "${targets[@]}"; do
  seeds="fuzz/corpus/$(corpus_of "$target")"
  found="$(mktemp -d)"
  echo "== fuzz_$target for ${seconds}s"
  # Inputs up to 64 KiB; a slow input (10 s) or a 2 GB footprint counts as a failure too.
  if ! ASAN_OPTIONS=detect_leaks=1 "$build/fuzz_$target" -max_total_time="$seconds" \
      -max_len=65536 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$build/artifacts/$target-" "$found" "$seeds" 2>"$build/$target.log"; then
    tail -n 60 "$build/$target.log"
    echo "fuzz_$target FAILED; the input is in $build/artifacts/"
    rm -rf "$found"
    exit 1
  fi
  grep -E '^stat::number_of_executed_units|^Done' "$build/$target.log" || true
  if [ "${FUZZ_MERGE:-0}" = 1 ]; then
    "$build/fuzz_$target" -merge=1 -max_len=65536 "$seeds" "$found" 2>/dev/null
  fi
  rm -rf "$found"
done
echo "fuzzing: no crash"
