#!/usr/bin/env bash
# Renders the committed PNG icons from their SVG sources (needs rsvg-convert from librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
for name in celestigrafo tarjaro; do
    for size in 48 256; do
        rsvg-convert -w "$size" -h "$size" "$name.svg" -o "$name-$size.png"
    done
done
