#!/usr/bin/env bash
# The main window: 680 x 475, centred on the work area (the whole screen on a
# display without panels); the caption's close button ends the program with
# exit code 0.
source "$(dirname "$0")/lib.sh"
open_kodaro
[ "$WW" = 680 ] && [ "$WH" = 475 ] || fail "window is ${WW}x${WH}"
eval "$(xdotool getdisplaygeometry --shell)"
[ "$WX" = $(((WIDTH - 680) / 2)) ] && [ "$WY" = $(((HEIGHT - 475) / 2)) ] ||
  fail "window at $WX,$WY on a ${WIDTH}x${HEIGHT} screen"

click_close "$window"
wait_exit 30
[ "$exit_code" = 0 ] || fail "exit code $exit_code after the close button"
echo "PASS"
