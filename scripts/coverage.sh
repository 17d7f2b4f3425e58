#!/usr/bin/env bash
# Prints how much of the code the core's tests run: builds the coverage preset (gcc's
# --coverage), runs the core's tests and sums up with gcovr. Not part of ./test.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
TAMSEL_PACKAGES+=(gcovr)
tamsel_ensure_packages || exit 1
cmake --preset coverage >/dev/null || exit 1
cmake --build --preset coverage || exit 1
find build/coverage -name '*.gcda' -delete
ctest --test-dir build/coverage -L core -E '^(cli|gltf_validator)$' -j2 --output-on-failure || true
# Counts of threads that raced may come out negative; gcovr is told to let them pass. The
# files least covered come first in build/coverage/coverage.txt.
echo "The files least covered:"
gcovr --root . --object-directory build/coverage --gcov-ignore-parse-errors \
  --filter 'model/' --filter 'opt/' --filter 'dxf/' --filter 'editing/' \
  --filter 'interchange/' --filter 'check/' --filter 'viewport/' --filter 'cli/' \
  --sort-percentage --txt build/coverage/coverage.txt --print-summary 2>/dev/null |
  tail -n 3 || exit 1
grep -E '^[a-z]+/[^ ]+ +[0-9]+ +[0-9]+ +[0-9]+%' build/coverage/coverage.txt |
  sort -k4,4n | head -n 10
