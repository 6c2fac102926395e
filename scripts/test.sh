#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# The guards of the build: layer order of the includes and the code format; warnings fail the build.
python3 scripts/check-layers.py
bash scripts/check-format.sh
build=${BUILD_DIR:-build/release}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCEL_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"

# In CI (CI=true) also: the whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer
# (a second build, in build/asan), and each fuzzer for 60 s. Developers' runs stay short.
if [ "${CI:-}" = "true" ]; then
    bash scripts/test-asan.sh
    bash scripts/fuzz.sh
fi
