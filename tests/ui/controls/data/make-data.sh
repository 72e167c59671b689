#!/usr/bin/env bash
# Regenerates the small pictures the control tests play: three 8 x 8 frames
# (red, green, blue) with delays of 0, with delays of 20/30/40 hundredths,
# and a one-frame GIF.
set -euo pipefail
cd "$(dirname "$0")"
convert=/usr/bin/convert
$convert -delay 0 -size 8x8 xc:red xc:lime xc:blue -loop 0 anim_zero.gif
$convert -size 8x8 -delay 20 xc:red -delay 30 xc:lime -delay 40 xc:blue -loop 0 anim_delays.gif
$convert -size 8x8 xc:red still.gif
