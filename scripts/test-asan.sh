#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer (the "asan" preset) and runs
# the whole test suite under them. Any sanitizer report fails the run; only the known libfontconfig
# leak is suppressed (scripts/lsan.supp).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset asan -DCEL_BUILD_BENCH=OFF >/dev/null
cmake --build --preset asan -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=0
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
ctest --preset asan -j"$(nproc)"
