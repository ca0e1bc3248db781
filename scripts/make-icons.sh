#!/usr/bin/env bash
# Draws the program's icon at every size of the hicolor theme from its SVG
# (needs rsvg-convert, package librsvg2-bin). The PNGs are kept in the
# repository so that building needs no drawing tools.
set -euo pipefail
cd "$(dirname "$0")/../app/resources/icons"
for size in 16 22 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" Quillbay.Application.svg -o "Quillbay.Application-$size.png"
done
