#!/usr/bin/env bash
# The beautify page through the real dialogs: a logo and a background picture
# chosen in the open dialog and a foreground colour in the colour dialog each
# change the preview, reach the saved symbol, and the styled symbol still
# reads back with zbarimg.
source "$(dirname "$0")/lib.sh"
open_kodaro

# pixel FILE X Y: "r g b" of one pixel.
pixel() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:
}

# Lets the preview follow, keeps a shot of it, and checks that it changed
# since the one before.
preview_shot() {
  sleep 1.5
  mouse_at "$window" 300 440
  screenshot "$shots/$1.png"
  crop "$shots/$1.png" 452 120 206 207 "$shots/$1-preview.png"
  if [ -n "${last_preview:-}" ]; then
    local n
    n=$(differing_pixels "$last_preview" "$shots/$1-preview.png")
    [ "$n" -ge 200 ] 2>/dev/null || fail "$1 did not change the preview ($n pixels)"
  fi
  last_preview=$shots/$1-preview.png
}

# A red logo, a pale background picture (yellow at the top, cyan at the bottom).
mkdir -p "$work/pics"
convert -size 80x80 xc:'#d02020' "$work/pics/logo.png"
convert -size 256x256 gradient:'#fff4c0'-'#d0f8f8' "$work/pics/paper.png"

click_at "$window" 217 70
preview_shot start

echo "== a logo through the open dialog"
pick_file 424 157 "$work/pics/logo.png"
preview_shot logo
read -r r g b <<<"$(pixel "$shots/logo-preview.png" 103 103)"
[ "$r" -ge 150 ] && [ "$g" -le 100 ] || fail "the middle of the preview is $r $g $b, not the red logo"

echo "== a foreground colour through the colour dialog"
click_at "$window" 217 241
dialog=$(dialog_id '^颜色$')
sleep 0.5
# Navy among the dialog's basic colours, then its default button.
xdotool mousemove --window "$dialog" 142 156 click 1
sleep 0.3
xdotool key Return
sleep 0.5
[ -z "$(xdotool search --onlyvisible --name '^颜色$' 2>/dev/null)" ] || fail "the colour dialog stayed open"
preview_shot colour

echo "== a background picture through the open dialog"
click_at "$window" 260 269
pick_file 424 295 "$work/pics/paper.png"
preview_shot paper

echo "== the styled symbol saved and read back"
save_as "$work/styled.bmp"
[ "$(zbarimg --raw -q "$work/styled.bmp")" = "Kodaro" ] || fail "the styled symbol does not read back"
# The quiet zone's corner comes from the picture, the first module of the
# finder pattern (4 modules in, a module being at least 5 pixels) is navy.
read -r r g b <<<"$(pixel "$work/styled.bmp" 2 2)"
[ "$r" -ge 240 ] && [ "$b" -le 215 ] || fail "the background corner is $r $g $b, not the picture"
read -r r g b <<<"$(pixel "$work/styled.bmp" 27 27)"
[ "$r" -le 20 ] && [ "$g" -le 20 ] && [ "$b" -ge 100 ] && [ "$b" -le 150 ] ||
  fail "the finder pattern is $r $g $b, not navy"
read -r r g b <<<"$(pixel "$work/styled.bmp" 128 128)"
[ "$r" -ge 180 ] && [ "$g" -le 60 ] || fail "the saved symbol's middle is $r $g $b, not the logo"

click_close "$window"
wait_exit 30
[ "$exit_code" = 0 ] || fail "exit code $exit_code"
echo "PASS"
