#!/bin/sh
# Draws the desktop icons from the window icon resources/calculator_icon.xpm (32 x 32):
# hicolor PNGs scaled without smoothing, so the pixel drawing stays sharp, and an SVG
# with one rectangle per run of same-coloured pixels. The results are committed under
# packaging/icons/; run this again after changing the XPM. Needs ImageMagick.
set -eu
cd "$(dirname "$0")/.."
xpm=resources/calculator_icon.xpm
out=packaging/icons
# /usr/bin first: another "convert" earlier in PATH may not be ImageMagick's.
convert=convert
for candidate in /usr/bin/convert-im6.q16 /usr/bin/convert; do
    if [ -x "$candidate" ]; then convert=$candidate; break; fi
done

for size in 16 32 48 64 128 256; do
    mkdir -p "$out/hicolor/${size}x${size}/apps"
    # -strip and a fixed date keep the files identical from one run to the next.
    "$convert" "$xpm" -filter point -resize "${size}x${size}" -strip \
        -define png:exclude-chunks=date,time "PNG32:$out/hicolor/${size}x${size}/apps/devimax.png"
done

mkdir -p "$out/hicolor/scalable/apps"
awk '
    /^"/ { gsub(/^"|",?$|"};?$/, ""); rows[n++] = $0 }
    END {
        split(rows[0], header, " ")
        width = header[1]; height = header[2]; ncolors = header[3]; cpp = header[4]
        for (i = 1; i <= ncolors; i++) {
            key = substr(rows[i], 1, cpp)
            colour = rows[i]; sub(/.*[ \t]c[ \t]+/, "", colour); sub(/[ \t].*/, "", colour)
            fill[key] = colour
        }
        printf "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" viewBox=\"0 0 %d %d\" shape-rendering=\"crispEdges\">\n", width, height, width, height
        for (y = 0; y < height; y++) {
            line = rows[ncolors + 1 + y]
            x = 0
            while (x < width) {
                key = substr(line, x * cpp + 1, cpp)
                run = 1
                while (x + run < width && substr(line, (x + run) * cpp + 1, cpp) == key) run++
                if (tolower(fill[key]) != "none")
                    printf "<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"1\" fill=\"%s\"/>\n", x, y, run, fill[key]
                x += run
            }
        }
        print "</svg>"
    }' "$xpm" > "$out/hicolor/scalable/apps/devimax.svg"
