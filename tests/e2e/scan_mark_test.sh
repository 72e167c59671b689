#!/usr/bin/env bash
# The scan mark beside the preview: a default symbol shows the green mark;
# white modules on a black background picked through the real colour dialog
# show the red mark with its one-line reason; the mark goes with the preview
# on the about page and gives way to a picture the decode page shows.
source "$(dirname "$0")/lib.sh"
open_kodaro

# The mark's dot is 14 pixels across at (452, 399); (459, 401) lies inside it
# and clear of the tick and the cross. The reason runs to its right.
dot_x=459
dot_y=401
# The colour of a window pixel of a screenshot as "r g b".
pixel() { # shot x y
  convert "$1" -crop "1x1+$((WX + $2))+$((WY + $3))" -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:
}
# Whether the pixel is near a colour, channel by channel.
near() { # "r g b" r g b
  local r g b
  read -r r g b <<<"$1"
  [ $((r > $2 ? r - $2 : $2 - r)) -le 40 ] && [ $((g > $3 ? g - $3 : $3 - g)) -le 40 ] &&
    [ $((b > $4 ? b - $4 : $4 - b)) -le 40 ]
}
green() { near "$1" 46 158 68; }
red() { near "$1" 217 48 37; }
# Waits for the dot to take a colour (green or red); the shot is kept.
wait_dot() { # colour name
  local got=""
  for _ in $(seq 20); do
    screenshot "$shots/$2.png"
    got=$(pixel "$shots/$2.png" $dot_x $dot_y)
    if "$1" "$got"; then return 0; fi
    sleep 0.5
  done
  fail "$2: the mark's dot is '$got', not $1"
}
# Rightmost column of the reason's text (pixels near the red) within the row.
reason_end() { # shot
  crop "$1" 471 399 190 16 "$work/reason.png"
  convert "$work/reason.png" -fill black -fuzz 25% +opaque 'rgb(217,48,37)' -fill white -opaque 'rgb(217,48,37)' \
    -trim -format '%[fx:page.x+w]' info: 2>/dev/null || echo 0
}
# The colour dialog of a swatch: the three colour boxes typed, then OK.
pick_colour() { # x y red green blue
  click_at "$window" "$1" "$2"
  local dialog=""
  for _ in $(seq 50); do
    dialog=$(xdotool search --onlyvisible --name '^颜色$' 2>/dev/null | head -n1 || true)
    [ -n "$dialog" ] && break
    sleep 0.1
  done
  [ -n "$dialog" ] || fail "no colour dialog"
  sleep 0.5
  # The red box has the focus with its text selected; Tab goes to green and blue.
  xdotool type --delay 30 "$3"
  xdotool key Tab
  xdotool type --delay 30 "$4"
  xdotool key Tab
  xdotool type --delay 30 "$5"
  xdotool key Return
  for _ in $(seq 30); do
    [ -z "$(xdotool search --onlyvisible --name '^颜色$' 2>/dev/null)" ] && return 0
    sleep 0.1
  done
  fail "the colour dialog stayed open"
}

echo "== a default symbol scans"
click_at "$window" 217 70
# A background-type option regenerates the preview with the default style.
click_at "$window" 200 269
mouse_at "$window" 300 440
wait_dot green default
echo "green mark: $(pixel "$shots/default.png" $dot_x $dot_y)"

echo "== white on black does not"
pick_colour 217 295 0 0 0
pick_colour 217 241 255 255 255
mouse_at "$window" 300 440
wait_dot red reversed
echo "red mark: $(pixel "$shots/reversed.png" $dot_x $dot_y)"
# "手机难以扫描：前景比背景浅" is 13 characters of the 12-pixel font.
end=$(reason_end "$shots/reversed.png")
[ "$end" -ge 140 ] && [ "$end" -le 170 ] || fail "the reason's text ends at $end, not after 13 characters"
crop "$shots/reversed.png" 448 108 214 320 "$shots/reversed-area.png"

echo "== hidden with the preview, and beside a decoded picture"
click_at "$window" 297 70
mouse_at "$window" 300 440
screenshot "$shots/about.png"
red "$(pixel "$shots/about.png" $dot_x $dot_y)" && fail "the mark stayed on the about page"
click_at "$window" 137 70
qrencode -s 4 -o "$work/picture.png" "a decoded picture"
click_at "$window" 424 186
for _ in $(seq 50); do
  [ -n "$(xdotool search --onlyvisible --name '^请选择图片文件$' 2>/dev/null)" ] && break
  sleep 0.1
done
sleep 0.5
xdotool type --delay 20 "Z:${work//\//\\}\\picture.png"
xdotool key Return
mouse_at "$window" 300 440
screenshot "$shots/decoded.png"
crop "$shots/decoded.png" 452 120 206 207 "$shots/decoded-preview.png"
[ "$(zbarimg --raw -q "$shots/decoded-preview.png" 2>/dev/null)" = "a decoded picture" ] ||
  fail "the chosen picture is not in the preview"
red "$(pixel "$shots/decoded.png" $dot_x $dot_y)" && fail "the mark stayed beside a decoded picture"
echo "PASS"
