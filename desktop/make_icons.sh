#!/bin/sh
# Draws the PNG icons for the hicolor sizes from the SVGs (needs rsvg-convert, librsvg2-bin).
# Run after changing an SVG and commit the result: a build then needs no SVG renderer.
set -eu
cd "$(dirname "$0")"
for name in pointeditor missioneditor; do
    for size in 16 24 32 48 64 128 256; do
        mkdir -p "icons/${size}x${size}"
        rsvg-convert -w "$size" -h "$size" "$name.svg" -o "icons/${size}x${size}/$name.png"
    done
done
