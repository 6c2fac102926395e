#!/usr/bin/env bash
# Installs what is missing, builds, and shows the program at work on an example chart.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build=${BUILD_DIR:-build/release}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)"
if [ -x "$build/src/app/celestigrafo-cli" ] && "$build/src/app/celestigrafo-cli" chart --help >/dev/null 2>&1; then
    "$build/src/app/celestigrafo-cli" chart --date 1979-10-17 --time 12:30 --tz -5 --lon 76.5225 --lat 3.43722
else
    "$build/bench/bench_astronomy"
fi
