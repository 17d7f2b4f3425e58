#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for the given seconds (default 20) over
# the seed corpus in fuzz/corpus/. New inputs go to a scratch folder, not into the repo.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-${TAMSEL_FUZZ_SECONDS:-20}}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0
for pair in opt_reader:opt opz_reader:opz bitmap_reader:bmp dxf_reader:dxf; do
  target="${pair%%:*}"
  corpus="${pair##*:}"
  mkdir -p "$scratch/$corpus"
  echo "fuzzing $target for ${seconds}s"
  if ! "build/fuzz/fuzz/${target}_fuzz" "$scratch/$corpus" "fuzz/corpus/$corpus" \
      -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$scratch/" >"$scratch/$target.log" 2>&1; then
    echo "FAILED: $target found a fault; its log:"
    tail -n 60 "$scratch/$target.log"
    mkdir -p build/fuzz-artifacts && cp "$scratch"/crash-* "$scratch"/leak-* "$scratch"/timeout-* build/fuzz-artifacts/ 2>/dev/null || true
    status=1
  else
    grep -E "stat::number_of_executed_units" "$scratch/$target.log" || true
  fi
done
# The model import runs over its seed corpus only (see fuzz/model_import_fuzz.cpp), with the
# leaks of the packaged import library suppressed and nothing else.
echo "model_import over its seed corpus"
if ! LSAN_OPTIONS="suppressions=$PWD/fuzz/assimp_leaks.supp:print_suppressions=0" \
    build/fuzz/fuzz/model_import_fuzz -runs=0 fuzz/corpus/model >"$scratch/model_import.log" 2>&1; then
  echo "FAILED: model_import; its log:"
  tail -n 60 "$scratch/model_import.log"
  status=1
fi
exit $status
