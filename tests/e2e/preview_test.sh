#!/usr/bin/env bash
# The preview worker: a change that affects the symbol (here a click on a
# background-type option) brings a real symbol into the preview, which an
# outside decoder reads back; closing the window right after such a change,
# with a regeneration pending or running, still ends the program with code 0.
source "$(dirname "$0")/lib.sh"
open_kodaro

# The text kind with nothing typed: the encoder's default text.
click_at "$window" 217 70
click_at "$window" 200 269
mouse_at "$window" 300 440
decoded=""
for _ in $(seq 20); do
  screenshot "$work/shots/screen.png"
  crop "$work/shots/screen.png" 452 120 206 207 "$work/shots/preview.png"
  decoded=$(zbarimg --raw -q "$work/shots/preview.png" 2>/dev/null || true)
  if [ -n "$decoded" ]; then break; fi
  sleep 0.5
done
[ "$decoded" = "Kodaro" ] || fail "the preview reads '$decoded'"

for round in 1 2 3; do
  if [ "$round" != 1 ]; then
    start_kodaro "$program"
    window=$(wait_window 60)
    click_at "$window" 217 70
  fi
  # Both background options in turn, then the close button without a pause.
  xdotool mousemove --window "$window" 200 269 click 1 mousemove --window "$window" 260 269 \
    click 1 sleep "0.$((round * 2))" mousemove --window "$window" 655 17 click 1
  wait_exit 30
  [ "$exit_code" = 0 ] || fail "exit code $exit_code after closing during a regeneration (round $round)"
done
echo "PASS"
