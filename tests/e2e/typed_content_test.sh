#!/usr/bin/env bash
# Typed content with the symbol options: Chinese text put on the clipboard and
# pasted into the text box, ASCII typed after it, level "高 - 30%" and size
# "768" chosen in their drop-downs; the saved file is a 768 x 768 symbol of
# level H that reads back as exactly that text.
source "$(dirname "$0")/lib.sh"
open_kodaro

text='二维码测试，你好'
printf '%s' "$text" | xclip -selection clipboard >/dev/null 2>&1
click_at "$window" 300 220
xdotool key ctrl+v
xdotool type --delay 30 " ok"

# Level: the fourth row of its drop-down; size: the fourth row of its own.
click_at "$window" 573 364
click_at "$window" 560 452
click_at "$window" 535 449
click_at "$window" 530 538
sleep 1.5
mouse_at "$window" 300 440
screenshot "$shots/typed.png"

save_as "$work/typed.bmp"
[ "$(identify -format '%w x %h' "$work/typed.bmp")" = "768 x 768" ] || fail "the saved symbol is not 768 x 768"
got=$(zbarimg --raw -q "$work/typed.bmp" || true)
[ "$got" = "$text ok" ] || fail "the saved symbol reads '$got'"
level=$(ZXingReader "$work/typed.bmp" 2>/dev/null | sed -n 's/^EC Level: *//p')
[ "$level" = "H" ] || fail "the saved symbol has level '$level', not H"

click_close "$window"
wait_exit 30
[ "$exit_code" = 0 ] || fail "exit code $exit_code"
echo "PASS"
