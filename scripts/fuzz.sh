#!/usr/bin/env bash
# Builds the fuzz harnesses of fuzz/ with clang, AddressSanitizer and UndefinedBehaviorSanitizer in a
# build folder of their own, and runs each for FUZZ_SECONDS (60) seconds from its committed seed
# corpus. Fails on any finding; the input that caused it is left in <build>/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
build=${FUZZ_BUILD_DIR:-build/fuzz}
flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fsanitize=fuzzer-no-link -fno-omit-frame-pointer -O1 -g"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS="$flags" -DCEL_FUZZ=ON -DCEL_BUILD_TESTS=OFF -DCEL_BUILD_BENCH=OFF >/dev/null
fuzzers=(data_file place_file settings batch_line)
cmake --build "$build" -j"$(nproc)" --target "${fuzzers[@]/%/_fuzzer}"

mkdir -p "$build/artifacts"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
for name in "${fuzzers[@]}"; do
    work="$build/corpus/$name" # new inputs go here; the committed seeds stay as they are
    mkdir -p "$work"
    echo "fuzz: $name for ${seconds} s"
    "$build/fuzz/${name}_fuzzer" "$work" "fuzz/corpus/$name" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 -artifact_prefix="$build/artifacts/${name}-" \
        2>"$build/$name.log" || {
        tail -n 60 "$build/$name.log"
        echo "fuzz: $name found a fault; the input is in $build/artifacts/" >&2
        exit 1
    }
    grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$build/$name.log" | tail -n 2 || true
done
echo "fuzz: no findings"
