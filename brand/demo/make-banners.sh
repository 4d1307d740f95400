#!/usr/bin/env bash
# Remakes the demo brand's banner images (needs ImageMagick). The images are committed, so the
# build does not need this script.
set -euo pipefail
cd "$(dirname "$0")"
IM=convert-im6.q16
command -v "$IM" >/dev/null || IM=convert
FONT=DejaVu-Sans-Bold

"$IM" -size 468x60 gradient:'#1f6feb'-'#7c3aed' -font "$FONT" -fill white -pointsize 22 \
  -gravity center -annotate +0+0 'Write it once. Write it well.' banner-write.png
"$IM" -size 468x60 xc:'#0f766e' -font "$FONT" -fill '#f0fdfa' -pointsize 20 \
  -gravity center -annotate +0+0 'Vellora Pro: compare whole books' banner-pro.png

frames=()
for i in 0 1 2 3 4 5; do
  x=$((40 + i * 70))
  "$IM" -size 468x60 xc:'#111827' -fill '#fbbf24' -draw "circle $x,30 $((x + 12)),30" \
    -font "$FONT" -fill white -pointsize 18 -gravity east -annotate +16+0 'Fresh words every day' \
    "frame-$i.gif"
  frames+=("frame-$i.gif")
done
"$IM" -delay 25 -loop 0 "${frames[@]}" banner-fresh.gif
rm -f "${frames[@]}"
