#!/bin/bash
# Renders the program icon vesko.svg into the hicolor PNG sizes.
# Needs rsvg-convert (librsvg2-bin). Run from any directory.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 32 48 64 96 128; do
    mkdir -p "hicolor/${size}x${size}/apps"
    rsvg-convert --width="$size" --height="$size" --keep-aspect-ratio \
        --format=png --output="hicolor/${size}x${size}/apps/vesko.png" vesko.svg
done
