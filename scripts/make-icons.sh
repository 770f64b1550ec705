#!/usr/bin/env bash
# make-icons.sh SVG OUT_DIR: the program's icon in every size it is shown at, made from the
# one SVG source: OUT_DIR/plandown-SIZE.png (rsvg-convert) for the Linux icon theme and
# OUT_DIR/plandown.ico (icotool) for Windows, with 16, 24, 32, 48 and 256 pixels.
set -euo pipefail
svg=$1
out=$2
mkdir -p "$out"
for size in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" -o "$out/plandown-$size.png" "$svg"
done
# The 256-pixel image stored as PNG (-r), as Windows expects it at that size.
icotool -c -o "$out/plandown.ico.tmp" "$out/plandown-16.png" "$out/plandown-24.png" \
  "$out/plandown-32.png" "$out/plandown-48.png" -r "$out/plandown-256.png"
mv "$out/plandown.ico.tmp" "$out/plandown.ico"
