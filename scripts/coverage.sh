#!/usr/bin/env bash
# Builds the program and its tests with coverage (g++ --coverage) in
# build-coverage/, runs the test suite, prints line and branch coverage for
# each folder of src/ and writes an HTML report to
# build-coverage/coverage/index.html. A tool for developers, not a gate.
#
#   scripts/coverage.sh                      the whole suite
#   scripts/coverage.sh -L 'calc|entry'      only these labels (any ctest arguments)
#
# Branches are counted as gcovr counts them, less the ones the compiler adds
# for exceptions and those it proves unreachable (--exclude-throw-branches,
# --exclude-unreachable-branches): what is left are the branches of the code
# as written.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh coverage

build=build-coverage
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=g++ \
  -DCMAKE_CXX_FLAGS="--coverage" -DCMAKE_EXE_LINKER_FLAGS="--coverage" -DRECIBO_BUILD_TESTS=ON >/dev/null
cmake --build "$build" -j "$jobs"

# Counts of an earlier run would add up with this one.
find "$build" -name '*.gcda' -delete
status=0
(cd "$build" && ctest --output-on-failure -j "$jobs" "$@") || status=$?

mkdir -p "$build/coverage"
gcovr --root . --object-directory "$build" --exclude-directories "$PWD/$build/CMakeFiles" --filter "$PWD/src/" \
  --exclude-throw-branches --exclude-unreachable-branches \
  --html-details "$build/coverage/index.html" --json-summary "$build/coverage/summary.json"

python3 - "$build/coverage/summary.json" <<'EOF'
import collections, json, sys

folders = collections.defaultdict(lambda: [0, 0, 0, 0])
for f in json.load(open(sys.argv[1]))["files"]:
    parts = f["filename"].split("/")
    counts = folders["/".join(parts[:2])]
    for i, key in enumerate(("line_covered", "line_total", "branch_covered", "branch_total")):
        counts[i] += f[key]

def share(covered, total):
    return "%5.1f %% (%d/%d)" % (100 * covered / total, covered, total) if total else "–"

print("%-15s %-22s %s" % ("folder", "lines", "branches"))
total = [0, 0, 0, 0]
for folder in sorted(folders):
    c = folders[folder]
    total = [a + b for a, b in zip(total, c)]
    print("%-15s %-22s %s" % (folder, share(c[0], c[1]), share(c[2], c[3])))
print("%-15s %-22s %s" % ("src", share(total[0], total[1]), share(total[2], total[3])))
EOF
echo "HTML report: $build/coverage/index.html"
exit "$status"
