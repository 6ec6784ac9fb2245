#!/usr/bin/env bash
# Builds everything and runs every test:
#   1. the whole build and its tests (build/);
#   2. the fuzz targets over their seed corpora plus a few seconds of new
#      inputs, built with clang, libFuzzer, ASan and UBSan (build-fuzz/);
#   3. the core library's tests built with ASan and UBSan (build-asan/).
# --sanitize-all runs every test under ASan and UBSan in step 3.
# SOLV_QUICK=1 runs step 1 only.
set -euo pipefail
cd "$(dirname "$0")"
all_sanitized=0
for arg in "$@"; do
  case "$arg" in
    --sanitize-all) all_sanitized=1 ;;
    *) echo "usage: $0 [--sanitize-all]" >&2; exit 2 ;;
  esac
done

scripts/install-deps.sh
cmake -S . -B build -G Ninja
cmake --build build
ctest --test-dir build --output-on-failure
[ "${SOLV_QUICK:-0}" = 1 ] && exit 0

echo "== fuzz targets over their corpora"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DSOLV_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build-fuzz
ctest --test-dir build-fuzz --output-on-failure

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DSOLV_SANITIZE=ON -DSOLV_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
if [ "$all_sanitized" = 1 ]; then
  cmake --build build-asan
  ctest --test-dir build-asan --output-on-failure
else
  cmake --build build-asan --target core_tests solvcalc
  # The kill soak only repeats process kills; it gains nothing from the sanitizers.
  build-asan/tests/core_tests --gtest_brief=1 --gtest_filter=-CrashSoak.*
fi
