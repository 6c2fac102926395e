#!/usr/bin/env bash
# Retakes the help pages' screenshots from the real windows (offscreen, at 1366x768).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build/release}
cmake --build "$build" --target test_workspace
CEL_SCREENSHOT_DIR="$PWD/docs/ayuda" QT_QPA_PLATFORM=offscreen "$build/tests/test_workspace" \
    --gtest_filter='*TheWindowWithAChartAtBothScreenSizes*:*TheManagerWithTheSamplePersons*:*ThePrintPreviewOfTheAspectTable*'
rm -f docs/ayuda/ventana-principal-1920.png
