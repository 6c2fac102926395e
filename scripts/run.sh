#!/usr/bin/env bash
# Installs what is missing, builds, and starts the chart program on the sample data; without a display
# it shows the example chart through the command line instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
build=${BUILD_DIR:-build/release}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    cmake --build "$build" -j"$(nproc)" --target celestigrafo
    # A first run copies the sample data file into ~/Documents/Norvelta/ and opens it; later runs open
    # the data file the settings name.
    exec "$build/src/app/celestigrafo" "$@"
fi
echo "No hay pantalla (DISPLAY y WAYLAND_DISPLAY vacíos): se muestra la carta de ejemplo con celestigrafo-cli."
cmake --build "$build" -j"$(nproc)" --target celestigrafo-cli >/dev/null
"$build/src/app/celestigrafo-cli" chart --date 1979-10-17 --time 12:30 --tz -5 --lon 76.5225 --lat 3.43722
