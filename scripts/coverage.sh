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
gcovr --root . --object-directory build/coverage \
  --filter 'model/' --filter 'opt/' --filter 'dxf/' --filter 'editing/' \
  --filter 'interchange/' --filter 'check/' --filter 'viewport/' --filter 'cli/' \
  --print-summary --sort-percentage --txt build/coverage/coverage.txt >/dev/null || exit 1
cat build/coverage/coverage.txt | tail -n 40
