#!/usr/bin/env bash
# Builds the libFuzzer targets of the calculation with clang and runs each of
# them for its share of a bounded time, starting from the seed corpus and with
# the dictionary kept in tests/fuzz; fails when one of them finds a crash, a
# wrong value or a sanitizer report.
#   scripts/fuzz.sh [total seconds, default 60]
set -euo pipefail
cd "$(dirname "$0")/.."

total=${1:-60}
build=build-fuzz
targets=(fuzz_read_number fuzz_calculate fuzz_web_json)

CXX=${CXX:-clang++-14} cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DRECIBO_CORE_ONLY=ON -DRECIBO_BUILD_FUZZ=ON -DRECIBO_BUILD_TESTS=OFF -DRECIBO_WERROR=ON >/dev/null
cmake --build "$build" --target "${targets[@]}" -j "$(nproc)"

share=$(( total / ${#targets[@]} ))
(( share > 0 )) || share=1
status=0
for target in "${targets[@]}"; do
  # New inputs go to the build folder; the seeds in the tree are only read.
  corpus="$build/corpus/$target"
  mkdir -p "$corpus" "$build/artifacts"
  echo "== $target for ${share} s"
  if ! "$build/tests/fuzz/$target" -max_total_time="$share" -print_final_stats=1 \
      -dict="tests/fuzz/$target.dict" -artifact_prefix="$build/artifacts/$target-" \
      "$corpus" "tests/fuzz/corpus/$target"; then
    echo "$target found a problem; the input is in $build/artifacts/" >&2
    status=1
  fi
done
exit $status
