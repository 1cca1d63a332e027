#!/usr/bin/env bash
# Renders the PNG icons from orvanta.svg. Run after changing the drawing and commit the PNGs, so
# building and installing never need the renderer (rsvg-convert, Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 32 48 64 128 256; do
  rsvg-convert --width "$size" --height "$size" --output "orvanta-$size.png" orvanta.svg
done
